// All process-wide state of the program at once: the shared state of model/ (the merged
// picture and the cake picture among it) and the two image stores.
#pragma once

namespace kestrin {

// Replaces the shared state (the merge and cake windows' pictures with it), the current image
// and the background image with fresh ones (tests, and the headless program's start).
void reset_state();

}  // namespace kestrin
