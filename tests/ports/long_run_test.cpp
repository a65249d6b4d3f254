// The long-run guard: a run started from inside another's event pump is refused and says
// so, the guard lets go after a run (also one that throws), and pumping reaches the
// installed pump.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ports/ports.h"

namespace kestrin {
namespace {

// A pump that tries to start a second long run, as a user's second click would.
class ReenteringPump : public EventPump {
public:
  void process_messages() override {
    ++pumped;
    nested = run_long("inner", [this] { ++inner_runs; });
  }
  int pumped = 0, inner_runs = 0;
  bool nested = true;
};

TEST(LongRun, ASecondRunInsideThePumpIsRefusedAndSaysSo) {
  reset_ports();
  ReenteringPump pump;
  Ports p;
  p.events = &pump;
  install_ports(p);
  the_log().clear_history();
  EXPECT_TRUE(run_long("outer", [] {
    EXPECT_TRUE(long_run_active());
    pump_events();
  }));
  EXPECT_EQ(pump.pumped, 1);
  EXPECT_FALSE(pump.nested);
  EXPECT_EQ(pump.inner_runs, 0);
  EXPECT_EQ(the_log().history(), std::vector<std::string>{" inner() : another run is in progress."});
  EXPECT_FALSE(long_run_active());
  EXPECT_TRUE(run_long("after", [] {}));
  reset_ports();
}

TEST(LongRun, AThrowingRunReleasesTheGuard) {
  EXPECT_THROW(run_long("failing", [] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(long_run_active());
}

}  // namespace
}  // namespace kestrin
