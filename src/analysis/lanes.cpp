// Worker threads for lane-split pixel loops.
#include "analysis/lanes.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace kestrin {

namespace {
std::atomic<int> configured_threads{0};
}

void set_worker_threads(int n) { configured_threads = std::max(0, n); }

int worker_threads() {
  const int n = configured_threads;
  if (n > 0) return n;
  return std::max(1, int(std::thread::hardware_concurrency()));
}

int32_t lane_count(int64_t rows, int32_t max_lanes) {
  return int32_t(std::clamp<int64_t>(rows, 1, max_lanes));
}

int64_t lane_begin(int64_t first, int64_t rows, int32_t lanes, int32_t lane) {
  return first + rows * lane / lanes;
}

void run_lanes(int32_t lanes, const std::function<void(int32_t)>& fn) {
  const int threads = std::min<int>(worker_threads(), lanes);
  if (threads <= 1) {
    for (int32_t i = 0; i < lanes; ++i) fn(i);
    return;
  }
  // An exception must not leave a worker thread (that ends the process): each lane keeps
  // its own, the remaining lanes are skipped, and after the join the exception of the
  // lowest lane that failed is thrown here on the calling thread.
  std::vector<std::exception_ptr> failures(static_cast<size_t>(lanes));
  std::atomic<bool> failed{false};
  std::atomic<int32_t> next{0};
  auto work = [&] {
    for (int32_t i = next++; i < lanes && !failed; i = next++) {
      try {
        fn(i);
      } catch (...) {
        failures[size_t(i)] = std::current_exception();
        failed = true;
      }
    }
  };
  std::vector<std::thread> pool;
  pool.reserve(size_t(threads - 1));
  // Lanes not taken by workers (also when a thread cannot be started) run here.
  for (int t = 1; t < threads; ++t) {
    try {
      pool.emplace_back(work);
    } catch (const std::system_error&) {
      break;
    }
  }
  work();
  for (auto& t : pool) t.join();
  for (const std::exception_ptr& e : failures)
    if (e) std::rethrow_exception(e);
}

}  // namespace kestrin
