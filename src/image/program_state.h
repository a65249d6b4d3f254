// All process-wide state of the program at once: the shared state of model/, the two
// image stores, the merged picture and the cake picture.
#pragma once

namespace kestrin {

// Replaces the shared state, the current image, the background image and the merge and
// cake windows' states with fresh ones
// (tests, and the headless program's start).
void reset_state();

}  // namespace kestrin
