// Lanes over worker threads: every lane runs once on any thread count, and an exception
// thrown inside a lane (bad_alloc included) comes out of run_lanes on the calling thread.
#include "analysis/lanes.h"

#include <gtest/gtest.h>

#include <atomic>
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

}  // namespace
}  // namespace kestrin::test
