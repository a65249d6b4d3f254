// The pause and cancel of long runs: the windows set BatchState (run, pause, stop) from
// their buttons, and the runs poll it between their steps.
#pragma once

#include <cstdint>

namespace kestrin {

// Lets the windows handle their events once; 1 when BatchState is then "stop". While it is
// "pause" the windows keep handling events (the thread sleeps while there are none) until
// it changes; then 0, so that a stop pressed during a pause is seen at the next poll.
int32_t poll_batch_state();

}  // namespace kestrin
