// Resetting every process-wide state.
#include "image/program_state.h"

#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

void reset_state() {
  reset_shared_state();
  current_image() = ImageStore();
  bg_image() = ImageStore();
}

}  // namespace kestrin
