// What the histogram routines share.
#include "analysis/histogram_frame.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/center.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"

namespace kestrin {

namespace {
void (*missing_centre_search)() = nullptr;
}  // namespace

void set_missing_centre_search(void (*search)()) { missing_centre_search = search; }

void find_center_when_missing() {
  const IntegrationParams& p = state().integration_params;
  if (p.X0 == 0.0 && p.Y0 == 0.0 && missing_centre_search) missing_centre_search();
}

bool image_ready(std::string_view no_image_line, Report& report) {
  if (current_image().NoImageFlag == 1) {
    report.say(no_image_line);
    return false;
  }
  find_center_when_missing();
  return true;
}

void clear_pattern(bool clear_fit) {
  SharedState& st = state();
  std::fill(st.nax_pattern.values.begin(), st.nax_pattern.values.end(), 0);
  st.peak_table.count = 0;
  if (clear_fit) st.fit_tables.count = 0;
}

int32_t free_sector_count(Report& report) {
  const IntegrationParams& p = state().integration_params;
  if (!(p.division_angle > 0) || p.sector_count < 1 || p.sector_count > kMaxSectorCount) {
    report.say("Input division angle error!");
    if (p.division_angle > 0 && p.sector_count > kMaxSectorCount) report.say(smallest_division_angle_line());
    return 0;
  }
  report.say(Format("Sector Angle = %f", {p.division_angle}));
  report.say(Format("Sector Number = %d", {p.sector_count}));
  return p.sector_count;
}

bool distance_parameters_usable(std::string_view routine, Report& report, bool tilted) {
  const IntegrationParams& p = state().integration_params;
  const std::string head = " " + std::string(routine) + "():";
  for (double v : {p.X0, p.Y0, p.pixel_x, p.pixel_y, p.pixel_ratio(), tilted ? p.Beta : 0.0, tilted ? p.Phi : 0.0}) {
    if (!std::isfinite(v)) {
      report.say(head + "Parameters must be finite numbers");
      return false;
    }
  }
  if (tilted && p.Phi != 0.0 && !(p.Lo > 0 && std::isfinite(distance_geometry(p).k))) {
    report.say(head + "Camera length must be greater than 0 for a tilted detector");
    return false;
  }
  return true;
}

DetectorGeometry distance_geometry(const IntegrationParams& p) {
  DetectorGeometry g = DetectorGeometry::from(p);
  if (p.Phi == 0.0) g.k = 0.0;
  return g;
}

AngleScan make_scan(int32_t x1, int32_t x2, int32_t y1, int32_t y2, Sampling sampling) {
  const SharedState& st = state();
  const IntegrationParams& p = st.integration_params;
  const ImageStore& img = current_image();
  AngleScan s;
  s.image = &img;
  s.sampling = sampling;
  const bool distance = sampling == Sampling::Distance || sampling == Sampling::RoundedDistance;
  s.geometry = distance ? distance_geometry(p) : DetectorGeometry::from(p);
  s.curved = CurvedPlate::from(p);
  s.begin = distance ? 0.0 : p.two_theta_begin;
  s.step = distance ? 1.0 : p.two_theta_step;
  s.x1 = std::max(x1, 0);
  s.x2 = std::min(x2, img.ImageWidth - 1);
  s.y1 = std::max(y1, 0);
  s.y2 = std::min(y2, img.ImageHeight - 1);
  const size_t pixels = size_t(img.ImageWidth) * size_t(img.ImageHeight);
  if (st.OmitGreen && st.image_mask.bytes.size() == pixels) s.mask = st.image_mask.bytes.data();
  if (st.OmitBlue && st.display_levels.level.size() == pixels) s.levels = st.display_levels.level.data();
  return s;
}

AngleScan make_region_scan(const IntegrationRegion& area, RegionTest region, Sampling sampling) {
  AngleScan s = make_scan(area.x1, area.x2, area.y1, area.y2, sampling);
  s.region = region;
  s.band = area.band;
  s.sector = area.sector;
  return s;
}

void finish_angle_pattern(const AngleSums& sums, double begin, double step, bool cos3, int32_t* pattern,
                          int32_t& maximum, int32_t& last) {
  for (int32_t i = 0; i < sums.bins(); ++i) {
    const double w = sums.weight[size_t(i)];
    if (!(w >= kEmptyWeight)) continue;
    const double s = sums.sum[size_t(i)];
    const int32_t v = cos3 ? angle_bin_value(w, s, begin + i * step) : bin_value(w, s);
    pattern[i] = v;
    maximum = std::max(maximum, v);
    last = std::max(last, i);
  }
}

void clear_sector_patterns(int32_t n) {
  SectorPatterns& store = state().sector_patterns;
  store.allocate(n);
  for (int32_t k = 0; k < n; ++k) store.sectors[size_t(k)].clear();
}

SectoredResult store_sectored_patterns(const AngleScan& scan, const SectorDivision& division, int32_t first,
                                       const BinValues& values) {
  std::vector<SectorPattern>& sectors = state().sector_patterns.sectors;
  std::vector<int32_t> maxima(size_t(division.count), 0), lasts(size_t(division.count), -1);
  for (int32_t k = 0; k < division.count; ++k) sectors[size_t(k)].last_point = 1;
  const int32_t bins = reachable_bins(scan);
  // The cos^3 of each bin's angle once for all sectors.
  std::vector<double> cube(values.angle ? size_t(bins) : 0);
  for (int32_t i = 0; i < int32_t(cube.size()); ++i) cube[size_t(i)] = cube_cos(values.begin + i * values.step);
  // Runs once per sector, on worker threads: writes only that sector's entries. Bin i's
  // weight is ws[2 i], its sum ws[2 i + 1].
  auto finish = [&](int32_t k, const double* ws) {
    int32_t last = bins - 1;
    while (last >= first && !(ws[2 * last] >= kEmptyWeight)) --last;
    if (last < first) last = -1;
    SectorPattern& sector = sectors[size_t(k)];
    sector.pattern.assign(size_t(std::max(last + 1, 0)), 0);
    for (int32_t i = first; i <= last; ++i) {
      const double w = ws[2 * i], s = ws[2 * i + 1];
      if (!(w >= kEmptyWeight)) continue;
      const int32_t v = values.angle ? cubed_bin_value(w, s, cube[size_t(i)]) : bin_value(w, s);
      sector.pattern[size_t(i)] = v;
      maxima[size_t(k)] = std::max(maxima[size_t(k)], v);
    }
    lasts[size_t(k)] = last;
    sector.last_point = std::max(last, 0) + 1;
  };
  accumulate_sectors(scan, division, bins, finish);
  SectoredResult r;
  for (int32_t k = 0; k < division.count; ++k) {
    r.maximum = std::max(r.maximum, maxima[size_t(k)]);
    r.last = std::max(r.last, lasts[size_t(k)]);
  }
  return r;
}

double reported_y0() {
  const double Y0 = state().integration_params.Y0;
  return state().options.VerticalReverse ? current_image().ImageHeight - Y0 - 1.0 : Y0;
}

void log_centre_and_tilt(Report& report) {
  const IntegrationParams& p = state().integration_params;
  report.say("Center position =" + Format("%10.5f", {p.X0}) + ", " + Format("%10.5f", {reported_y0()}));
  report.say(" Tilt = " + Format("%10.7f", {p.Phi}) + " Azimuth =" + Format("%5.1f", {p.Beta}));
}

void log_distance_report(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t last, int32_t maximum,
                         bool multiplied, Report& report) {
  report.say(" Region          = ");
  report.say(" Area         x  = " + Format("%4d", {x1}) + "to " + Format("%4d", {x2}));
  report.say("              y  = " + Format("%4d", {y1}) + "to " + Format("%4d", {y2}));
  report.say(" Max distance    = " + Format("%6d", {last}));
  report.say(" Max intensity   = " + Format("%6d", {maximum}));
  if (multiplied) report.say(" Intensity was multiplied by " + Format("%d", {10}));
}

void set_pattern_title() {
  NaxPattern& nax = state().nax_pattern;
  nax.PatternTitle = nax.PatternName + current_image().InfoText1 + current_image().InfoText2;
}

PatternShow publish_angle_ranges(int32_t y_end, bool main_window, bool graph_window) {
  IntegrationParams& p = state().integration_params;
  p.graph_2theta_begin = p.two_theta_begin;
  p.graph_2theta_end = p.two_theta_end;
  p.graph_y_begin = 0;
  p.graph_y_end = y_end;
  PatternShow shown;
  shown.ranges = PatternShow::Ranges::Angle;
  shown.main_window = main_window;
  shown.graph_window = graph_window;
  shown.draw = true;
  return shown;
}

PatternShow publish_pixel_ranges(int32_t x_end, int32_t y_end, const char* format) {
  IntegrationParams& p = state().integration_params;
  p.graph_x_begin = 100;
  p.graph_x_end = x_end;
  p.graph_y_begin = 0;
  p.graph_y_end = y_end;
  PatternShow shown;
  shown.ranges = PatternShow::Ranges::Pixel;
  shown.format = format;
  shown.draw = true;
  return shown;
}

}  // namespace kestrin
