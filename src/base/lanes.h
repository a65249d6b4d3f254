// Splitting a pixel loop into a fixed number of lanes of rows that worker threads take in
// any order. Each lane accumulates into its own arrays and the caller merges them in lane
// order, so results never depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>

namespace kestrin {

// The number of threads lanes run on (the caller and the pool's workers); 0 (the default)
// means one per processor the process may run on (its affinity mask).
void set_worker_threads(int n);
int worker_threads();

// Lanes for a loop over `rows` rows: a fixed number, fewer only for fewer rows.
int32_t lane_count(int64_t rows, int32_t max_lanes = 32);
// First row of lane `lane` of `lanes` over rows first..first+rows-1 (lane == lanes gives the end).
int64_t lane_begin(int64_t first, int64_t rows, int32_t lanes, int32_t lane);

// Runs fn(lane) for every lane 0..lanes-1 over the worker threads and waits for all; the
// exception of the lowest lane that failed is thrown here. The threads live in one pool for
// the whole process; a call from inside a lane runs its lanes on its own thread.
void run_lanes(int32_t lanes, const std::function<void(int32_t)>& fn);

}  // namespace kestrin
