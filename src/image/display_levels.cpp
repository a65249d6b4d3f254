// Rebuilding the current image's display levels.
#include "image/display_levels.h"

#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

bool update_display_levels() {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return false;
  SharedState& s = state();
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, s.display_scale, s.display_levels.level);
  s.display_levels.width = img.ImageWidth;
  s.display_levels.height = img.ImageHeight;
  return true;
}

}  // namespace kestrin
