// Straight-line integration over the strip of the current direction.
#include "analysis/line_integration.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "analysis/histogram_frame.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kLastPoint = kPatternSize - 1;

// Point of pixel (x, y) for a direction, so that point 0 is the row or column on the centre
// side of the strip; -1 for a direction that adds nothing.
int32_t point_of(int32_t direction, int32_t x, int32_t y, int32_t x1, int32_t x2, int32_t y1, int32_t y2) {
  switch (direction) {
    case 0: return y2 - y;
    case 1: return y - y1;
    case 3: return x2 - x;
    case 4: return x - x1;
    default: return -1;
  }
}

// The plain sum of the strip's unexcluded pixels at each point.
std::vector<double> strip_sums(const AngleScan& scan, int32_t direction, int32_t x1, int32_t x2, int32_t y1,
                               int32_t y2) {
  std::vector<double> sums(kPatternSize, 0.0);
  const ImageStore& img = *scan.image;
  const size_t W = size_t(img.ImageWidth);
  for (int32_t y = scan.y1; y <= scan.y2; ++y) {
    for (int32_t x = scan.x1; x <= scan.x2; ++x) {
      const size_t at = W * size_t(y) + size_t(x);
      if (scan.mask && scan.mask[at] != 0) continue;
      if (scan.levels && scan.levels[at] == 0) continue;
      const int32_t i = point_of(direction, x, y, x1, x2, y1, y2);
      if (i < 0 || i > kLastPoint) continue;
      sums[size_t(i)] += img.intensity_table[img.image_codes[at]];
    }
  }
  return sums;
}

}  // namespace

PatternShow calc_line_integration(int32_t direction, Report& report) {
  report.say(kLineIntegrationBanner);
  if (!image_ready(" calc_line_integration() : Image data does not exist.", report)) return {};
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) {
    report.say(" calc_line_integration() : set_area() error");
    return {};
  }
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;
  clear_pattern(false);
  log_centre_and_tilt(report);
  SharedState& st = state();
  NaxPattern& nax = st.nax_pattern;

  const std::vector<double> sums =
      strip_sums(make_scan(x1, x2, y1, y2, Sampling::Distance), direction, x1, x2, y1, y2);
  int32_t maximum = 0;
  for (int32_t i = 0; i <= kLastPoint; ++i) {
    nax.values[size_t(i)] = saturate_int32(std::trunc(sums[size_t(i)]));
    maximum = std::max(maximum, nax.values[size_t(i)]);
  }
  log_distance_report(x1, x2, y1, y2, kLastPoint, maximum, false, report);
  nax.N = kPatternSize;
  nax.maximum = maximum;
  set_pattern_title();
  nax.set_kind(kPixelHistogram);
  st.peak_table.count = 0;
  return publish_pixel_ranges(kLastPoint, saturate_int32(std::trunc(maximum / 0.9)), "%6d");
}

}  // namespace kestrin
