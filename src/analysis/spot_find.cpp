// Finding spots: per-ring statistics over the integration area and mask discs on outliers.
#include "analysis/spot_find.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/geometry.h"
#include "analysis/integration_area.h"
#include "base/convert.h"
#include "image/display/mask_paint.h"
#include "base/report.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kInnerBins = 20;          // bins 0..19 near the centre
constexpr double kInnerThreshold = 99999.9;

struct RingStats {
  std::vector<int32_t> count = std::vector<int32_t>(kPatternSize, 0);
  std::vector<double> sum = std::vector<double>(kPatternSize, 0.0);
  std::vector<double> squares = std::vector<double>(kPatternSize, 0.0);
  std::vector<double> mean = std::vector<double>(kPatternSize, 0.0);
  std::vector<double> threshold = std::vector<double>(kPatternSize, 0.0);
};

// Calls fn(x, y, bin, intensity) for every pixel of the box with a display level other than
// 0 whose distance bin Trunc(r + 0.5) lies in 0..36000 (others are skipped).
template <typename Fn>
void for_each_shown_pixel(int32_t x1, int32_t x2, int32_t y1, int32_t y2, Fn fn) {
  const ImageStore& img = current_image();
  const DisplayLevels& levels = state().display_levels;
  const bool levels_fit = levels.width == img.ImageWidth && levels.height == img.ImageHeight &&
                          levels.level.size() == img.image_codes.size();
  if (!levels_fit) return;  // nothing is shown at a level other than 0
  const DetectorGeometry g = DetectorGeometry::from(state().integration_params);
  const size_t W = size_t(img.ImageWidth);
  for (int32_t y = std::max(y1, 0); y <= std::min(y2, img.ImageHeight - 1); ++y) {
    const DetectorGeometry::Row row = g.row(y);
    for (int32_t x = std::max(x1, 0); x <= std::min(x2, img.ImageWidth - 1); ++x) {
      const size_t at = size_t(x) + W * size_t(y);
      if (levels.level[at] == 0) continue;
      const double r = g.rho(row, x) + 0.5;
      if (!(r >= 0.0 && r < double(kPatternSize))) continue;
      fn(x, y, size_t(r), img.intensity_table[img.image_codes[at]]);
    }
  }
}

void finish_stats(RingStats& s) {
  for (size_t k = 0; k < size_t(kInnerBins); ++k) {
    s.count[k] = 0, s.sum[k] = 0.0, s.squares[k] = 0.0;
    s.mean[k] = 0.0;
    s.threshold[k] = kInnerThreshold;
  }
  for (size_t k = size_t(kInnerBins); k < size_t(kPatternSize); ++k) {
    if (s.count[k] == 0) continue;
    s.mean[k] = s.sum[k] / s.count[k];
    const double m2 = s.squares[k] / s.count[k];
    const double m = s.mean[k];
    s.threshold[k] = m2 > m * m ? 4.0 * std::sqrt(m2 - m * m) : 0.0;
  }
}

}  // namespace

bool announce_find_spot(Report& report) {
  report.say("<<<<<    Find Spots    >>>>>");
  if (current_image().NoImageFlag != 1) return true;
  report.say("find_spot() : Image data does not exist.");
  return false;
}

int32_t find_spot(Report& report) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return 1;
  const std::optional<IntegrationRegion> area = calc_integration_area();
  if (!area) return 2;
  const int32_t x1 = area->x1, x2 = area->x2, y1 = area->y1, y2 = area->y2;

  const IntegrationParams& p = state().integration_params;
  const double shown_y0 = state().options.VerticalReverse ? img.ImageHeight - p.Y0 - 1.0 : p.Y0;
  report.say("Center position =" + Format("%10.5f", {p.X0}) + ", " + Format("%10.5f", {shown_y0}));
  report.say("Tilt =" + Format("%10.7f", {p.Phi}) + ", Azimuth=" + Format("%5.1f", {p.Beta}));

  RingStats s;
  for_each_shown_pixel(x1, x2, y1, y2, [&](int32_t, int32_t, size_t k, double I) {
    s.count[k] += 1;
    s.sum[k] += I;
    s.squares[k] += I * I;
  });
  finish_stats(s);
  state().image_mask.fit(img.ImageWidth, img.ImageHeight);  // discs go into a mask of the image's size
  for_each_shown_pixel(x1, x2, y1, y2, [&](int32_t x, int32_t y, size_t k, double I) {
    if (std::fabs(I - s.mean[k]) >= s.threshold[k]) paint_mask_disc(x, y, 0, 2);
  });

  report.say("Region        = ");
  report.say("Area    x=" + Format("%4d", {x1}) + " to " + Format("%4d", {x2}));
  report.say("        y=" + Format("%4d", {y1}) + " to " + Format("%4d", {y2}));
  return 0;
}

}  // namespace kestrin
