// Resetting every process-wide state.
#include "image/program_state.h"

#include "image/cake_picture.h"
#include "image/image_store.h"
#include "image/merge_images.h"
#include "model/state.h"

namespace kestrin {

void reset_state() {
  reset_shared_state();
  current_image() = ImageStore();
  bg_image() = ImageStore();
  reset_merge_state();
  reset_cake_state();
}

}  // namespace kestrin
