// The process-wide shared state.
#include "model/state.h"

namespace kestrin {

SharedState& state() {
  static SharedState s;
  return s;
}

void reset_shared_state() { state() = SharedState(); }

}  // namespace kestrin
