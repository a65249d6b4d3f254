// The 2theta histograms: region, accumulation, the final pass into the pattern, the log
// report and the window updates.
#include "analysis/angle_histogram.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/angle_accumulator.h"
#include "analysis/histogram_frame.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

int32_t saturated_product(int64_t a, int64_t b) { return saturate_int32(double(a * b)); }

void log_report_head(Report& report) {
  const IntegrationParams& p = state().integration_params;
  report.say("Center position =" + Format("%10.5f", {p.X0}) + ", " + Format("%10.5f", {reported_y0()}));
  report.say("Tilt =" + Format("%10.7f", {p.Phi}) + ", Azimuth =" + Format("%10.5f", {p.Beta}));
}

// Report lines 6 to 13; the point count (line 9), the cos3 line (12) and the Lorentz
// line (13) only where the routine reports them.
void log_report_tail(Report& report, bool with_count, bool cos3_line = true, bool lorentz_line = true) {
  const IntegrationParams& p = state().integration_params;
  const NaxPattern& nax = state().nax_pattern;
  report.say("2Theta Start  =" + Format("%7.4f", {p.two_theta_begin}));
  report.say("2Theta End    =" + Format("%7.4f", {p.two_theta_end}));
  report.say("2Theta Step   =" + Format("%7.4f", {p.two_theta_step}));
  if (with_count) report.say("Number of points=" + Format("%6d", {nax.N}));
  report.say("Max intensity   =" + Format("%6d", {nax.maximum}));
  report.say("Intensity was multiplied by " + Format("%d", {10}));
  if (cos3_line) report.say("cos3 correction was made");
  if (lorentz_line) report.say("Use normal lorentz factor 1/sin(2th)sin(th).");
}

}  // namespace

PatternShow run_region_histogram(const RegionRun& run, Report& report) {
  if (!image_ready(" calc_angle_histogram():Image data does not exist", report)) return {};
  if (!integration_parameters_usable("calc_angle_histogram", report)) return {};
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) return {};
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;
  report.say(Format("%d,%d,%d,%d", {x1, x2, y1, y2}));

  clear_pattern(run.clear_fit);
  log_report_head(report);
  SharedState& st = state();
  NaxPattern& nax = st.nax_pattern;

  IntegrationParams& p = st.integration_params;
  const AngleScan scan = make_region_scan(*area, run.region, run.sampling);
  AngleSums sums(reachable_bins(scan));
  accumulate_angles(scan, sums);
  int32_t maximum = 0, last = 0;
  const bool cos3 = run.sampling != Sampling::Curved;
  finish_angle_pattern(sums, p.two_theta_begin, p.two_theta_step, cos3, nax.values.data(), maximum, last);
  nax.N = last + 1;
  nax.maximum = maximum;
  p.two_theta_end = p.two_theta_begin + last * p.two_theta_step;

  report.say("");
  report.say("Area   x=" + Format("%4d", {x1}) + "to " + Format("%4d", {x2}));
  report.say("       y=" + Format("%4d", {y1}) + "to " + Format("%4d", {y2}));
  log_report_tail(report, true, run.cos3_line, run.lorentz_line);
  set_pattern_title();
  nax.set_kind(kAngleHistogram);
  st.peak_table.count = 0;
  return publish_angle_ranges(saturate_int32(std::trunc(maximum / 0.9)), true, false);
}

bool integration_parameters_usable(std::string_view routine, Report& report) {
  const IntegrationParams& p = state().integration_params;
  const std::string head = " " + std::string(routine) + "():";
  if (!(p.Lo > 0) || !(p.two_theta_step > 0)) {
    report.say(head + "Camera length and 2Theta step must be greater than 0");
    return false;
  }
  for (double v : {p.Lo, p.two_theta_step, p.two_theta_begin, p.X0, p.Y0, p.pixel_x, p.pixel_y, p.Beta, p.Phi}) {
    if (!std::isfinite(v)) {
      report.say(head + "Parameters must be finite numbers");
      return false;
    }
  }
  return true;
}

PatternShow calc_angle_histogram(Report& report) {
  return run_region_histogram({RegionTest::None, Sampling::Flat, true}, report);
}
PatternShow calc_angle_histogram_band(Report& report) {
  return run_region_histogram({RegionTest::Band, Sampling::Flat, true}, report);
}
PatternShow calc_angle_histogram_sector(Report& report) {
  return run_region_histogram({RegionTest::Sector, Sampling::Flat, false}, report);
}

PatternShow calc_free_angle_sectored_angle_histogram(Report& report) {
  if (!image_ready(" calc_free_angle_sectored_angle_histogram():Image data does not exist", report)) return {};
  if (!integration_parameters_usable("calc_free_angle_sectored_angle_histogram", report)) return {};
  const int32_t M = free_sector_count(report);
  if (M == 0) return {};
  const ImageStore& img = current_image();
  SharedState& st = state();
  IntegrationParams& p = st.integration_params;

  clear_sector_patterns(M);
  st.peak_table.count = 0;
  log_report_head(report);

  const AngleScan scan = make_scan(0, img.ImageWidth - 1, 0, img.ImageHeight - 1, Sampling::Flat);
  const double begin = p.two_theta_begin, step = p.two_theta_step;
  const SectoredResult r =
      store_sectored_patterns(scan, SectorDivision{false, p.division_angle, M}, 0, BinValues{true, begin, step});
  const int32_t maximum = r.maximum, last = r.last;
  NaxPattern& nax = st.nax_pattern;
  nax.N = last + 1;
  nax.maximum = maximum;
  p.two_theta_end = p.two_theta_begin + last * p.two_theta_step;

  log_report_tail(report, false);
  nax.set_kind(kFreeSectorAngle);
  set_pattern_title();
  return publish_angle_ranges(saturated_product(maximum, 5), true, true);
}

}  // namespace kestrin
