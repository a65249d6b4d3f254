// The harness's peak commands: search, count and entries, with the script object's limits.
#include <gtest/gtest.h>

#include <sstream>

#include "harness/harness.h"
#include "image/state.h"
#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin::harness {
namespace {

std::string run(const std::string& script) {
  Registry r;
  register_peak_commands(r);
  std::istringstream in(script);
  std::ostringstream out, err;
  run_commands(in, out, err, r);
  return out.str() + err.str();
}

TEST(PeakCommands, SearchCountAndEntries) {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  NaxPattern& p = state().nax_pattern;
  const int32_t y[] = {0, 0, 20, 30, 40, 30, 20, 0, 0, 0};
  std::copy(std::begin(y), std::end(y), p.values.begin());
  p.N = 10, p.maximum = 40;
  p.set_kind(kPixelHistogram);
  state().integration_params.wavelength = 1.0;
  EXPECT_EQ(run("PeakSearch\nGetMaxPeakNumber\nGetPeakData 0 0\nGetPeakData 0 3\nGetPeakData 0 4\n"
                "GetPeakData 501 0\nGetPeakData 0\nFindCenter\n"),
            "= 1\n= 4\n= 40\n<<<<<<<<<< FIND CENTER >>>>>>>>>>\nfind_center() : Image data does not exist.\n");
}

}  // namespace
}  // namespace kestrin::harness
