// Clearing the mask.
#include "image/image_mask.h"

#include <algorithm>

#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

void clear_mask() {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return;
  state().macro.record("Kestrin.ClearMask();");
  ImageMask& mask = state().image_mask;
  mask.fit(img.ImageWidth, img.ImageHeight);
  std::fill(mask.bytes.begin(), mask.bytes.end(), uint8_t(0));
}

}  // namespace kestrin
