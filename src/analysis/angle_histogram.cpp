// The 2theta histograms: region, accumulation, the final pass into the pattern, the log
// report and the window updates.
#include "analysis/angle_histogram.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/angle_accumulator.h"
#include "analysis/center.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr double kEmptyWeight = 1e-6;

void find_center_when_missing() {
  const IntegrationParams& p = state().integration_params;
  if (p.X0 == 0.0 && p.Y0 == 0.0) find_center();
}

AngleScan make_scan(int32_t x1, int32_t x2, int32_t y1, int32_t y2) {
  const SharedState& st = state();
  const IntegrationParams& p = st.integration_params;
  const ImageStore& img = current_image();
  AngleScan s;
  s.image = &img;
  s.geometry = DetectorGeometry::from(p);
  s.begin = p.two_theta_begin;
  s.step = p.two_theta_step;
  s.x1 = std::max(x1, 0);
  s.x2 = std::min(x2, img.ImageWidth - 1);
  s.y1 = std::max(y1, 0);
  s.y2 = std::min(y2, img.ImageHeight - 1);
  const size_t pixels = size_t(img.ImageWidth) * size_t(img.ImageHeight);
  if (st.OmitGreen && st.image_mask.bytes.size() == pixels) s.mask = st.image_mask.bytes.data();
  if (st.OmitBlue && st.display_levels.level.size() == pixels) s.levels = st.display_levels.level.data();
  return s;
}

// The final pass: filled bins into `pattern`; raises `maximum` and `last` (last filled bin).
void finish_pattern(const AngleSums& sums, double begin, double step, int32_t* pattern, int32_t& maximum, int32_t& last) {
  for (int32_t i = 0; i < sums.bins(); ++i) {
    const double w = sums.weight[size_t(i)];
    if (!(w >= kEmptyWeight)) continue;
    const int32_t v = angle_bin_value(w, sums.sum[size_t(i)], begin + i * step);
    pattern[i] = v;
    maximum = std::max(maximum, v);
    last = std::max(last, i);
  }
}

int32_t saturated_product(int64_t a, int64_t b) { return saturate_int32(double(a * b)); }

void log_report_head() {
  const IntegrationParams& p = state().integration_params;
  const double y = state().options.VerticalReverse ? current_image().ImageHeight - p.Y0 - 1.0 : p.Y0;
  log_line("Center position =" + Format("%10.5f", {p.X0}) + ", " + Format("%10.5f", {y}));
  log_line("Tilt =" + Format("%10.7f", {p.Phi}) + ", Azimuth =" + Format("%10.5f", {p.Beta}));
}

void log_report_tail(bool with_count) {
  const IntegrationParams& p = state().integration_params;
  const NaxPattern& nax = state().nax_pattern;
  log_line("2Theta Start  =" + Format("%7.4f", {p.two_theta_begin}));
  log_line("2Theta End    =" + Format("%7.4f", {p.two_theta_end}));
  log_line("2Theta Step   =" + Format("%7.4f", {p.two_theta_step}));
  if (with_count) log_line("Number of points=" + Format("%6d", {nax.N}));
  log_line("Max intensity   =" + Format("%6d", {nax.maximum}));
  log_line("Intensity was multiplied by " + Format("%d", {10}));
  log_line("cos3 correction was made");
  log_line("Use normal lorentz factor 1/sin(2th)sin(th).");
}

// The edits and records every 2theta run updates at its end.
void publish_ranges(int32_t y_end) {
  IntegrationParams& p = state().integration_params;
  p.graph_2theta_begin = p.two_theta_begin;
  p.graph_2theta_end = p.two_theta_end;
  p.graph_y_begin = 0;
  p.graph_y_end = y_end;
  Controls& c = controls();
  c.set_text(frmMain::edt2ThetaBegin, Format("%8.4f", {p.two_theta_begin}));
  c.set_text(frmMain::edt2ThetaEnd, Format("%8.4f", {p.two_theta_end}));
  c.set_text(frmNaxGraph::edtYBegin, Format("%6d", {0}));
  c.set_text(frmNaxGraph::edtYEnd, Format("%6d", {y_end}));
}

void set_title() {
  NaxPattern& nax = state().nax_pattern;
  nax.PatternTitle = nax.PatternName + current_image().InfoText1 + current_image().InfoText2;
}

// The box, band and sector routines.
void run_region_histogram(RegionTest region, bool clear_fit) {
  if (current_image().NoImageFlag == 1) {
    log_line(" calc_angle_histogram():Image data does not exist");
    return;
  }
  read_parameters(current_image().ImageHeight);
  find_center_when_missing();
  if (!integration_parameters_usable("calc_angle_histogram")) return;
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) return;
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;
  log_line(Format("%d,%d,%d,%d", {x1, x2, y1, y2}));

  SharedState& st = state();
  NaxPattern& nax = st.nax_pattern;
  std::fill(nax.values.begin(), nax.values.end(), 0);
  st.peak_table.count = 0;
  if (clear_fit) st.fit_tables.count = 0;
  log_report_head();

  IntegrationParams& p = st.integration_params;
  AngleScan scan = make_scan(x1, x2, y1, y2);
  scan.region = region;
  scan.band = area->band;
  scan.sector = area->sector;
  AngleSums sums(reachable_bins(scan));
  accumulate_angles(scan, sums);
  int32_t maximum = 0, last = 0;
  finish_pattern(sums, p.two_theta_begin, p.two_theta_step, nax.values.data(), maximum, last);
  nax.N = last + 1;
  nax.maximum = maximum;
  p.two_theta_end = p.two_theta_begin + last * p.two_theta_step;

  log_line("");
  log_line("Area   x=" + Format("%4d", {x1}) + "to " + Format("%4d", {x2}));
  log_line("       y=" + Format("%4d", {y1}) + "to " + Format("%4d", {y2}));
  log_report_tail(true);
  set_title();
  nax.set_kind(kAngleHistogram);
  st.peak_table.count = 0;
  publish_ranges(saturate_int32(std::trunc(maximum / 0.9)));
  graph_window().draw_nax_graph();
}

}  // namespace

bool integration_parameters_usable(std::string_view routine) {
  const IntegrationParams& p = state().integration_params;
  const std::string head = " " + std::string(routine) + "():";
  if (!(p.Lo > 0) || !(p.two_theta_step > 0)) {
    log_line(head + "Camera length and 2Theta step must be greater than 0");
    return false;
  }
  for (double v : {p.Lo, p.two_theta_step, p.two_theta_begin, p.X0, p.Y0, p.pixel_x, p.pixel_y, p.Beta, p.Phi}) {
    if (!std::isfinite(v)) {
      log_line(head + "Parameters must be finite numbers");
      return false;
    }
  }
  return true;
}

void allocate_sector_patterns(int32_t n) { state().sector_patterns.allocate(n); }

void calc_angle_histogram() { run_region_histogram(RegionTest::None, true); }
void calc_angle_histogram_band() { run_region_histogram(RegionTest::Band, true); }
void calc_angle_histogram_sector() { run_region_histogram(RegionTest::Sector, false); }

void calc_free_angle_sectored_angle_histogram() {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) {
    log_line(" calc_free_angle_sectored_angle_histogram():Image data does not exist");
    return;
  }
  read_parameters(current_image().ImageHeight);
  find_center_when_missing();
  if (!integration_parameters_usable("calc_free_angle_sectored_angle_histogram")) return;
  SharedState& st = state();
  IntegrationParams& p = st.integration_params;
  const int32_t M = p.sector_count;
  if (!(p.division_angle > 0) || M < 1 || M > kMaxSectorCount) {
    log_line("Input division angle error!");
    if (p.division_angle > 0 && M > kMaxSectorCount) log_line(smallest_division_angle_line());
    return;
  }
  log_line(Format("Sector Angle = %f", {p.division_angle}));
  log_line(Format("Sector Number = %d", {M}));

  allocate_sector_patterns(M);
  for (SectorPattern& sp : st.sector_patterns.sectors) {
    std::fill(sp.pattern.begin(), sp.pattern.end(), 0);
    sp.last_point = 0;
    sp.peaks.count = 0;
  }
  st.peak_table.count = 0;
  log_report_head();

  const AngleScan scan = make_scan(0, img.ImageWidth - 1, 0, img.ImageHeight - 1);
  std::vector<AngleSums> sums(size_t(M), AngleSums(reachable_bins(scan)));
  accumulate_sectored_angles(scan, p.division_angle, sums);
  int32_t maximum = 0, last = 0;
  for (int32_t k = 0; k < M; ++k) {
    SectorPattern& sp = st.sector_patterns.sectors[size_t(k)];
    int32_t sector_last = 0;
    finish_pattern(sums[size_t(k)], p.two_theta_begin, p.two_theta_step, sp.pattern.data(), maximum, sector_last);
    sp.last_point = sector_last + 1;
    last = std::max(last, sector_last);
  }
  sums.clear();
  NaxPattern& nax = st.nax_pattern;
  nax.N = last + 1;
  nax.maximum = maximum;
  p.two_theta_end = p.two_theta_begin + last * p.two_theta_step;

  log_report_tail(false);
  nax.set_kind(kFreeSectorAngle);
  set_title();
  publish_ranges(saturated_product(maximum, 5));
  controls().set_text(frmNaxGraph::edt2ThetaBegin, Format("%8.4f", {p.two_theta_begin}));
  controls().set_text(frmNaxGraph::edt2ThetaEnd, Format("%8.4f", {p.two_theta_end}));
  graph_window().draw_nax_graph();
}

}  // namespace kestrin
