// Ring painting over the row spans of two circles.
#include "analysis/ring_mask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "analysis/geometry.h"
#include "analysis/ring_geometry.h"
#include "image/image_mask.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

void set_span(int32_t y, int32_t from, int32_t to, uint8_t value, int32_t width) {
  for (int32_t x = std::max(from, 0), last = std::min(to, width - 1); x <= last; ++x) set_mask_pixel(x, y, value);
}

}  // namespace

std::optional<double> reflection_ring_radius(const HklParam& crystal, int32_t reflection) {
  if (crystal.kind != 0 || reflection < 0 || reflection >= std::min(crystal.count, kMaxReflections)) return std::nullopt;
  const auto& [h, k, l] = crystal.hkl[size_t(reflection)];
  const double d = crystal.lattice[0] / std::sqrt(double(h) * h + double(k) * k + double(l) * l);
  const IntegrationParams& p = state().integration_params;
  const double theta = std::asin(p.wavelength / (2 * d));
  const double radius = std::tan(2 * theta) * p.Lo / p.pixel_x;
  if (!std::isfinite(radius) || 2 * theta * kRadToDeg >= 90) return std::nullopt;
  return radius;
}

void paint_ring_mask(const HklParam& crystal, int32_t reflection, int32_t width, uint8_t value) {
  const ImageStore& img = current_image();
  const std::optional<double> radius = reflection_ring_radius(crystal, reflection);
  if (img.NoImageFlag == 1 || !radius) return;
  const double inner = *radius - width / 2.0, outer = *radius + width / 2.0;
  for (int32_t y = 0; y < img.ImageHeight; ++y) {
    // Unused places hold the largest value, so sorting all four leaves the n found in front.
    std::array<int32_t, 4> xs;
    xs.fill(std::numeric_limits<int32_t>::max());
    size_t n = 0;
    for (const double r : {inner, outer}) {
      int32_t count = 0, xa = 0, xb = 0;
      ring_row_span(y, count, xa, xb, r);
      if (count >= 1) xs[n++] = xa;
      if (count == 2) xs[n++] = xb;
    }
    std::sort(xs.begin(), xs.end());
    if (n == 1) set_span(y, xs[0], xs[0], value, img.ImageWidth);
    if (n == 2 || n == 4) set_span(y, xs[0], xs[1], value, img.ImageWidth);
    if (n == 3) set_span(y, xs[0], xs[2], value, img.ImageWidth);
    if (n == 4) set_span(y, xs[2], xs[3], value, img.ImageWidth);
  }
}

}  // namespace kestrin
