// Painting the mask: discs of set or cleared bytes.
#include "image/display/mask_paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/state.h"

namespace kestrin {

namespace {

// The largest s with s * s <= q (q >= 0).
int64_t integer_sqrt(int64_t q) {
  int64_t s = int64_t(std::sqrt(double(q)));
  while (s > 0 && s * s > q) --s;
  while ((s + 1) * (s + 1) <= q) ++s;
  return s;
}

}  // namespace

// A pixel at integer offsets (dx, dy) lies within r exactly when dx^2 + dy^2 <= r^2, so
// each row of the disc is one span of half width isqrt(r^2 - dy^2).
void paint_mask_disc(int32_t cx, int32_t cy, int32_t mode, int32_t size) {
  ImageMask& mask = state().image_mask;
  if (mask.bytes.size() != size_t(mask.width) * size_t(mask.height)) return;
  const int64_t r = size / 2;
  if (r < 0) return;
  const int64_t y_from = std::max<int64_t>(0, int64_t(cy) - r), y_to = std::min<int64_t>(mask.height - 1, int64_t(cy) + r);
  const uint8_t value = mode == 0 ? 1 : 0;
  for (int64_t y = y_from; y <= y_to; ++y) {
    const int64_t dy = y - cy;
    const int64_t half = integer_sqrt(r * r - dy * dy);
    const int64_t x_from = std::max<int64_t>(0, cx - half), x_to = std::min<int64_t>(mask.width - 1, cx + half);
    if (x_from > x_to) continue;
    std::memset(mask.bytes.data() + size_t(mask.width) * size_t(y) + size_t(x_from), value, size_t(x_to - x_from + 1));
  }
}

}  // namespace kestrin
