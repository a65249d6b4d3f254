// All process-wide state of the program at once: the shared state of model/ and the two
// image stores.
#pragma once

namespace kestrin {

// Replaces the shared state, the current image and the background image with fresh ones
// (tests, and the headless program's start).
void reset_state();

}  // namespace kestrin
