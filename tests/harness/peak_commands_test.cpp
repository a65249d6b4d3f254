// The harness's peak commands: search, count and entries, with the script object's limits.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "harness/harness.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/ring_image.h"

namespace kestrin::harness {
namespace {

std::string run_merged(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  run_commands(in, out, err);
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
  EXPECT_EQ(run_merged("PeakSearch\nGetMaxPeakNumber\nGetPeakData 0 0\nGetPeakData 0 3\nGetPeakData 0 4\n"
                "GetPeakData 501 0\nGetPeakData 0\nFindCenter\n"),
            "= 1\n= 4\n= 40\n<<<<<<<<<< FIND CENTER >>>>>>>>>>\nfind_center() : Image data does not exist.\n");
}

// The lines of the output that carry a result.
std::vector<std::string> results_of(const std::string& out) {
  std::vector<std::string> r;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("= ", 0) == 0) r.push_back(line);
  return r;
}

TEST(PeakCommands, AScriptFromCentreToPeaks) {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  test::RingImageSpec spec;
  spec.geometry = {200, 180, 97.3, 88.6, 100, 0.1, 0.1, 0, 0};
  spec.rings = {{0.0, 0.1, 20000}, {5.0, 0.06, 3000}, {7.5, 0.06, 2000}};
  test::load_into_current_image(test::make_ring_image(spec), 200, 180);
  const std::pair<ControlName, const char*> edits[] = {{frmMain::edtCenterX0, "0"}, {frmMain::edtCenterY0, "0"},    {frmMain::edtCameraLength, "100"},
                            {frmMain::edtPhi, "0"},      {frmMain::edtLambda, "1.5406"}, {frmMain::edt2ThetaBegin, "2"}};
  for (auto& [name, text] : edits) controls().set_text(name, text);
  std::istringstream in(
      "SetIntegrationMode 0\nSetRectDirection 6\nKestrin.FindCenter();\nKestrin.AngleIntensity();\n"
      "Kestrin.FindSpot();\nKestrin.PeakSearch();\nGetMaxPeakNumber\nGetPeakData 0 1\nGetPeakData 1 1\n"
      "GetPeakData 1 2\n");
  std::ostringstream out, err;
  run_commands(in, out, err);
  EXPECT_EQ(err.str(), "");
  EXPECT_NEAR(state().integration_params.X0, 97.3, 0.05);
  EXPECT_NEAR(state().integration_params.Y0, 88.6, 0.05);
  const auto res = results_of(out.str());
  ASSERT_EQ(res.size(), 4u) << out.str();
  EXPECT_EQ(res[0], "= 2");
  EXPECT_NEAR(StrToFloat(res[1].substr(2)), 5.0, 0.002);
  EXPECT_NEAR(StrToFloat(res[2].substr(2)), 7.5, 0.002);
  const double found = StrToFloat(res[2].substr(2));
  EXPECT_NEAR(StrToFloat(res[3].substr(2)), 1.5406 / (2 * std::sin(found / 2 * M_PI / 180)), 1e-12);
}

}  // namespace
}  // namespace kestrin::harness
