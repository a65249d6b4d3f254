// Painting the mask: discs of set or cleared bytes.
#include "image/display/mask_paint.h"

#include <algorithm>
#include <cmath>

#include "model/state.h"

namespace kestrin {

void paint_mask_disc(int32_t cx, int32_t cy, int32_t mode, int32_t size) {
  ImageMask& mask = state().image_mask;
  if (mask.bytes.size() != size_t(mask.width) * size_t(mask.height)) return;
  const int64_t r = size / 2;
  const int64_t y_from = std::max<int64_t>(0, int64_t(cy) - r), y_to = std::min<int64_t>(mask.height - 1, int64_t(cy) + r);
  const int64_t x_from = std::max<int64_t>(0, int64_t(cx) - r), x_to = std::min<int64_t>(mask.width - 1, int64_t(cx) + r);
  const uint8_t value = mode == 0 ? 1 : 0;
  for (int64_t y = y_from; y <= y_to; ++y)
    for (int64_t x = x_from; x <= x_to; ++x) {
      const double dx = double(x - cx), dy = double(y - cy);
      if (std::sqrt(dx * dx + dy * dy) <= double(r)) mask.bytes[size_t(x) + size_t(mask.width) * size_t(y)] = value;
    }
}

}  // namespace kestrin
