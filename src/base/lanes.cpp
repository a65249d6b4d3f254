// Worker threads for lane-split pixel loops: one pool for the whole process, sized by the
// processors the process may run on.
#include "base/lanes.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kestrin {

namespace {

std::atomic<int> configured_threads{0};

// The processors in the calling thread's affinity mask (what `taskset` allows), else the
// machine's count.
int allowed_processors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int n = CPU_COUNT(&set);
    if (n > 0) return n;
  }
  return std::max(1, int(std::thread::hardware_concurrency()));
}

// One run of lanes: every participant takes the next lane until none is left or one failed.
// An exception must not leave a worker thread (that ends the process): each lane keeps its
// own and the remaining lanes are skipped.
struct Job {
  Job(int32_t lanes, const std::function<void(int32_t)>& fn) : lanes(lanes), fn(fn), failures(size_t(lanes)) {}

  void work() {
    for (int32_t i = next++; i < lanes && !failed; i = next++) {
      try {
        fn(i);
      } catch (...) {
        failures[size_t(i)] = std::current_exception();
        failed = true;
      }
    }
  }

  // The exception of the lowest lane that failed, thrown on the calling thread.
  void rethrow() const {
    for (const std::exception_ptr& e : failures)
      if (e) std::rethrow_exception(e);
  }

  const int32_t lanes;
  const std::function<void(int32_t)>& fn;
  std::vector<std::exception_ptr> failures;
  std::atomic<bool> failed{false};
  std::atomic<int32_t> next{0};
};

// Threads that live as long as the process and wait for jobs, so a routine that runs many
// small blocks of lanes does not start threads for each. The caller works on its own job
// too; a job with `helpers` is joined by the first `helpers` workers, and the caller waits
// only for those that joined while it was open.
class WorkerPool {
public:
  ~WorkerPool() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // False when another run holds the pool (a lane that runs lanes, or a second thread):
  // that run then goes on its caller alone.
  bool run(Job& job, int helpers) {
    bool expected = false;
    if (!busy_.compare_exchange_strong(expected, true)) return false;
    grow(helpers);
    {
      std::lock_guard lock(mutex_);
      job_ = &job;
      wanted_ = std::min<int>(helpers, int(threads_.size()));
      ++generation_;
    }
    wake_.notify_all();
    job.work();
    {
      std::unique_lock lock(mutex_);
      job_ = nullptr;
      done_.wait(lock, [&] { return active_ == 0; });
    }
    busy_ = false;
    return true;
  }

private:
  // Starts workers up to `count`; with fewer (threads cannot be started) the caller's job
  // simply has fewer helpers.
  void grow(int count) {
    while (int(threads_.size()) < count) {
      try {
        threads_.emplace_back([this, index = int(threads_.size())] { serve(index); });
      } catch (const std::system_error&) {
        return;
      }
    }
  }

  void serve(int index) {
    uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || (job_ && generation_ != seen && index < wanted_); });
      if (stopping_) return;
      seen = generation_;
      ++active_;
      Job* job = job_;
      lock.unlock();
      job->work();
      lock.lock();
      if (--active_ == 0) done_.notify_one();
    }
  }

  std::atomic<bool> busy_{false};
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::vector<std::thread> threads_;  // changed only by the run that holds busy_
  Job* job_ = nullptr;                // the open job, null between jobs
  uint64_t generation_ = 0;           // counts jobs, so a worker joins each at most once
  int wanted_ = 0;  // workers 0..wanted_-1 join the open job
  int active_ = 0;  // workers inside a job
  bool stopping_ = false;
};

WorkerPool& pool() {
  static WorkerPool workers;
  return workers;
}

}  // namespace

void set_worker_threads(int n) { configured_threads = std::max(0, n); }

int worker_threads() {
  const int n = configured_threads;
  return n > 0 ? n : allowed_processors();
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
  Job job(lanes, fn);
  if (!pool().run(job, threads - 1)) job.work();
  job.rethrow();
}

}  // namespace kestrin
