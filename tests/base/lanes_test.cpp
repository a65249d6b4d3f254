// Lanes over worker threads: every lane runs once on any thread count, an exception
// thrown inside a lane (bad_alloc included) comes out of run_lanes on the calling thread,
// the thread count follows the affinity mask, and the same threads serve every call.
#include "base/lanes.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <set>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kestrin::test {
namespace {

class LanesTest : public ::testing::Test {
protected:
  void TearDown() override { set_worker_threads(0); }
};

TEST_F(LanesTest, EveryLaneRunsOnceOnAnyThreadCount) {
  for (int threads : {1, 2, 8}) {
    set_worker_threads(threads);
    std::vector<std::atomic<int>> runs(32);
    run_lanes(32, [&](int32_t lane) { ++runs[size_t(lane)]; });
    for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i], 1) << "lane " << i << " on " << threads << " threads";
  }
}

// Which lane fails and how, on one and on several threads: the caller catches the lane's own
// exception, of its own type, on its own thread.
TEST_F(LanesTest, ALaneExceptionIsThrownOnTheCallingThread) {
  struct Case {
    int32_t failing_lane;
    bool out_of_memory;
  };
  const Case cases[] = {{0, true}, {17, true}, {31, true}, {0, false}, {31, false}};
  const std::thread::id caller = std::this_thread::get_id();
  for (const Case& c : cases) {
    for (int threads : {1, 2, 8}) {
      set_worker_threads(threads);
      const auto run = [&] {
        run_lanes(32, [&](int32_t lane) {
          if (lane != c.failing_lane) return;
          if (c.out_of_memory) throw std::bad_alloc();
          throw std::runtime_error("lane " + std::to_string(lane));
        });
      };
      const std::string where = "lane " + std::to_string(c.failing_lane) + " on " + std::to_string(threads) + " threads";
      try {
        run();
        ADD_FAILURE() << "nothing thrown from " << where;
      } catch (const std::bad_alloc&) {
        EXPECT_TRUE(c.out_of_memory) << where;
        EXPECT_EQ(std::this_thread::get_id(), caller);
      } catch (const std::runtime_error& e) {
        EXPECT_FALSE(c.out_of_memory) << where;
        EXPECT_EQ(e.what(), "lane " + std::to_string(c.failing_lane)) << where;
      }
    }
  }
}

// Several failing lanes: one exception comes out, that of the lowest lane that failed, and
// the pool is usable again afterwards.
TEST_F(LanesTest, OfSeveralFailingLanesOneExceptionComesOut) {
  set_worker_threads(4);
  for (int round = 0; round < 3; ++round) {
    try {
      run_lanes(32, [](int32_t lane) { throw std::runtime_error(std::to_string(lane)); });
      ADD_FAILURE() << "nothing thrown";
    } catch (const std::runtime_error& e) {
      EXPECT_LT(std::stoi(e.what()), 32);
    }
    std::atomic<int> runs{0};
    run_lanes(8, [&](int32_t) { ++runs; });
    EXPECT_EQ(runs, 8);
  }
}

// The default count is the number of processors the affinity mask allows (as `taskset -c
// 0,1` sets it), and an explicit count wins over the mask.
TEST_F(LanesTest, TheThreadCountFollowsTheAffinityMask) {
  cpu_set_t all;
  CPU_ZERO(&all);
  ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
  std::vector<int> allowed;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &all)) allowed.push_back(cpu);
  EXPECT_EQ(worker_threads(), int(allowed.size()));
  for (size_t count = 1; count <= std::min<size_t>(2, allowed.size()); ++count) {
    cpu_set_t some;
    CPU_ZERO(&some);
    for (size_t i = 0; i < count; ++i) CPU_SET(allowed[i], &some);
    ASSERT_EQ(sched_setaffinity(0, sizeof some, &some), 0);
    EXPECT_EQ(worker_threads(), int(count));
    set_worker_threads(3);
    EXPECT_EQ(worker_threads(), 3);
    set_worker_threads(0);
    std::atomic<int> runs{0};
    run_lanes(16, [&](int32_t) { ++runs; });
    EXPECT_EQ(runs, 16);
  }
  ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
  EXPECT_EQ(worker_threads(), int(allowed.size()));
}

// Many small runs, as the background filter makes one per block of rows, are served by one
// set of threads: the kernel's thread ids (never reused soon, unlike pthread handles) seen
// over all runs are no more than the thread count, failures in between included.
TEST_F(LanesTest, ManyRunsShareOneSetOfThreads) {
  set_worker_threads(4);
  std::mutex guard;
  std::set<pid_t> seen;
  for (int round = 0; round < 300; ++round) {
    run_lanes(8, [&](int32_t) {
      std::lock_guard lock(guard);
      seen.insert(gettid());
    });
    if (round % 50 == 0) {
      EXPECT_THROW(run_lanes(8, [](int32_t) { throw std::runtime_error("x"); }), std::runtime_error);
    }
  }
  EXPECT_GE(seen.size(), 1u);
  EXPECT_LE(seen.size(), 4u);
}

// A lane that runs lanes itself gets every inner lane run once (on its own thread).
TEST_F(LanesTest, LanesInsideALaneRunEveryLane) {
  set_worker_threads(4);
  std::vector<std::atomic<int>> runs(8 * 8);
  run_lanes(8, [&](int32_t outer) { run_lanes(8, [&](int32_t inner) { ++runs[size_t(outer * 8 + inner)]; }); });
  for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i], 1) << "lane " << i;
}

}  // namespace
}  // namespace kestrin::test
