// The curved-plate and sub-pixel 2theta histograms: the box routines' own frame (range and
// step checks, its report and the graph window's edits) and the region variants.
#include "analysis/fine_curved_histograms.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/angle_histogram.h"
#include "analysis/histogram_frame.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr double kMinStep = 0.0001, kMaxStep = 10.0;

// Refuses, with its line, a 2theta begin or typed end outside 0..180 and a step outside
// 0.0001..10 degrees.
bool angle_range_usable(Report& report) {
  const IntegrationParams& p = state().integration_params;
  if (p.two_theta_begin < 0 || p.two_theta_begin > 180 || p.two_theta_end < 0 || p.two_theta_end > 180) {
    report.say(" calc_fine_angle_histogram() : 2theta region error.");
    return false;
  }
  if (p.two_theta_step < kMinStep || p.two_theta_step > kMaxStep) {
    report.say(" calc_fine_angle_histogram() : 2theta step error.");
    return false;
  }
  return integration_parameters_usable("calc_fine_angle_histogram", report);
}

void log_fine_report(int32_t x1, int32_t x2, int32_t y1, int32_t y2, bool fine, Report& report) {
  const IntegrationParams& p = state().integration_params;
  const NaxPattern& nax = state().nax_pattern;
  report.say(" Region           = ");
  report.say(" Area          x  = " + Format("%4d", {x1}) + " to" + Format("%4d", {x2}));
  report.say("               y  = " + Format("%4d", {y1}) + " to" + Format("%4d", {y2}));
  report.say(" 2theta start     = " + Format("%7.4f", {p.two_theta_begin}));
  report.say(" 2theta end       = " + Format("%7.4f", {p.two_theta_end}));
  report.say(" 2theta step      = " + Format("%7.4f", {p.two_theta_step}));
  report.say(" Number of points = " + Format("%6d", {nax.N}));
  report.say(" Max intensity    = " + Format("%6d", {nax.maximum}));
  report.say(" Intensity was multiplied by " + Format("%d", {10}));
  if (fine) report.say(" cos3 correction was made !");
  report.say(" Use normal lorentz factor 1/sin(2th)sin(th).");
}

// The frame of the two box routines: sub-pixel (Fine) or curved-plate (Curved) sampling.
PatternShow run_fine_frame(Sampling sampling, Report& report) {
  const bool fine = sampling == Sampling::Fine;
  report.say(kFineAngleBanner);
  if (!image_ready(" calc_fine_angle_histogram() : Image data does not exist.", report) || !angle_range_usable(report))
    return {};
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) return {};
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;

  clear_pattern(true);
  log_centre_and_tilt(report);
  SharedState& st = state();
  NaxPattern& nax = st.nax_pattern;

  IntegrationParams& p = st.integration_params;
  const AngleScan scan = make_scan(x1, x2, y1, y2, sampling);
  AngleSums sums(reachable_bins(scan));
  accumulate_angles(scan, sums);
  // The sub-pixel pattern keeps 1 in its empty bins.
  if (fine) std::fill(nax.values.begin(), nax.values.end(), 1);
  int32_t maximum = 0, last = 0;
  finish_angle_pattern(sums, p.two_theta_begin, p.two_theta_step, fine, nax.values.data(), maximum, last);
  nax.N = last + 1;
  nax.maximum = maximum;
  p.two_theta_end = p.two_theta_begin + last * p.two_theta_step;

  log_fine_report(x1, x2, y1, y2, fine, report);
  set_pattern_title();
  nax.set_kind(kAngleHistogram);
  st.peak_table.count = 0;
  return publish_angle_ranges(saturate_int32(std::trunc(maximum / 0.9)), false, true);
}

}  // namespace

PatternShow calc_curved_angle_histogram(Report& report) { return run_fine_frame(Sampling::Curved, report); }
PatternShow calc_curved_angle_histogram_band(Report& report) {
  return run_region_histogram({RegionTest::Band, Sampling::Curved, true, false, true}, report);
}
PatternShow calc_curved_angle_histogram_sector(Report& report) {
  return run_region_histogram({RegionTest::Sector, Sampling::Curved, false, false, false}, report);
}

PatternShow calc_fine_angle_histogram(Report& report) { return run_fine_frame(Sampling::Fine, report); }
PatternShow calc_fine_angle_histogram_band(Report& report) {
  return run_region_histogram({RegionTest::Band, Sampling::Fine, true}, report);
}
PatternShow calc_fine_angle_histogram_sector(Report& report) {
  return run_region_histogram({RegionTest::Sector, Sampling::Fine, false}, report);
}

}  // namespace kestrin
