// The process-wide shared state.
#include "image/state.h"

#include "image/image_store.h"

namespace kestrin {

SharedState& state() {
  static SharedState s;
  return s;
}

void reset_state() {
  state() = SharedState();
  current_image() = ImageStore();
  bg_image() = ImageStore();
}

}  // namespace kestrin
