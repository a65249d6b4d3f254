// The pixel histograms: one frame for the box, band, sector and cake routines.
#include "analysis/pixel_histogram.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "analysis/histogram_frame.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

struct PixelRun {
  const char* banner;
  const char* routine;  // names the routine in its log lines
  RegionTest region;
  bool clear_fit;
  bool draw;
};

PatternShow run_pixel_histogram(const PixelRun& run, Report& report) {
  report.say(run.banner);
  if (!image_ready(" " + std::string(run.routine) + "() : Image data does not exist.", report)) return {};
  if (!distance_parameters_usable(run.routine, report)) return {};
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) return {};
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;

  clear_pattern(run.clear_fit);
  log_centre_and_tilt(report);
  SharedState& st = state();
  NaxPattern& nax = st.nax_pattern;

  const AngleScan scan = make_region_scan(*area, run.region, Sampling::Distance);
  AngleSums sums(reachable_bins(scan));
  accumulate_angles(scan, sums);
  int32_t maximum = 0, last = 0;
  for (int32_t i = kFirstDistanceBin; i < sums.bins(); ++i) {
    const double w = sums.weight[size_t(i)];
    if (!(w >= kEmptyWeight)) continue;
    nax.values[size_t(i)] = bin_value(w, sums.sum[size_t(i)]);
    maximum = std::max(maximum, nax.values[size_t(i)]);
    last = i;
  }
  log_distance_report(x1, x2, y1, y2, last, maximum, true, report);
  nax.N = last + 1;
  nax.maximum = maximum;
  set_pattern_title();
  nax.set_kind(kPixelHistogram);
  st.peak_table.count = 0;
  PatternShow shown = publish_pixel_ranges(last, saturate_int32(std::trunc(maximum / 0.9)), "%6d");
  shown.draw = run.draw;
  return shown;
}

}  // namespace

PatternShow calc_pixel_histogram(Report& report) {
  return run_pixel_histogram({kPixelBanner, "calc_pixel_histogram", RegionTest::None, true, true}, report);
}

PatternShow calc_slant_pixel_histogram(Report& report) {
  return run_pixel_histogram({kSlantBanner, "calc_slant_pixel_histogram", RegionTest::Band, true, true}, report);
}

PatternShow calc_slant_pixel_histogram_sector(Report& report) {
  return run_pixel_histogram({kSlantBanner, "calc_slant_pixel_histogram", RegionTest::Sector, false, true}, report);
}

PatternShow calc_cake_slant_pixel_histogram(Report& report) {
  return run_pixel_histogram({kSlantBanner, "calc_slant_pixel_histogram", RegionTest::Sector, false, false}, report);
}

}  // namespace kestrin
