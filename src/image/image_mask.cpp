// Clearing the mask and setting single mask bytes.
#include "image/image_mask.h"

#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

bool clear_mask() {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return false;
  // Fresh zeroed storage rather than a fill: no pass over the bytes, and painted pages go back.
  state().image_mask.resize(img.ImageWidth, img.ImageHeight);
  return true;
}

void set_mask_pixel(int32_t x, int32_t y, uint8_t value) {
  ImageMask& mask = state().image_mask;
  if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) return;
  if (mask.bytes.size() != size_t(mask.width) * size_t(mask.height)) return;
  mask.bytes[size_t(x) + size_t(mask.width) * size_t(y)] = value;
}

}  // namespace kestrin
