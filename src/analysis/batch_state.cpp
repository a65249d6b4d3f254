// Polling the batch state.
#include "analysis/batch_state.h"

#include "model/state.h"
#include "ports/long_run.h"

namespace kestrin {

int32_t poll_batch_state() {
  pump_events();
  if (state().BatchState == kBatchStop) return 1;
  if (state().BatchState == kBatchPause) wait_for_events([] { return state().BatchState != kBatchPause; });
  return 0;
}

}  // namespace kestrin
