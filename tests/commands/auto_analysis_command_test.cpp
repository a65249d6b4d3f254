// The automatic analysis on synthetic ring images: from a direct-beam spot to the final
// pixel pattern, each step logged, recorded and shown as on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/ring_refinement_fixture.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

using AutoAnalysisTest = RingRefinementTest;

// From a direct-beam spot on a tilted image: the centre on the spot, the tilt from the
// sectors, then the tilt-corrected pixel pattern with every ring where Lo tan(2theta) / pX
// puts it.
TEST_F(AutoAnalysisTest, AutomaticAnalysisFromTheSpotToThePixelPattern) {
  const RingImageSpec spec = ring_spec(0.6, 120, true);
  load(spec);
  set_centre(0, 0);
  full_image();
  state().macro.MacroRecording = true;
  auto_analysis_command();
  const IntegrationParams& p = state().integration_params;
  EXPECT_NEAR(p.X0, spec.geometry.X0, 0.05);
  EXPECT_NEAR(p.Y0, spec.geometry.Y0, 0.05);
  EXPECT_LE(std::fabs(std::remainder(p.Beta - 120, 360.0)), 3.0) << p.Beta;
  EXPECT_NEAR(p.Phi, 0.6, 0.06);
  EXPECT_EQ(controls().text(frmMain::edtBeta), Format("%8.3f", {p.Beta}));
  EXPECT_EQ(controls().text(frmMain::edtPhi), Format("%10.6f", {p.Phi}));
  ASSERT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, int32_t(std::size(kRings)));
  for (size_t j = 0; j < std::size(kRings); ++j) EXPECT_NEAR(t.x[j], radius(kRings[j]), 0.1) << j;
  EXPECT_EQ(state().macro.MacroList,
            (std::vector<std::string>{"Kestrin.FindCenter();", "Kestrin.Sectoring();", "Kestrin.PeakSearch();",
                                      "Kestrin.CalcTilt();", "Kestrin.PixelIntensity();", "Kestrin.PeakSearch();"}));
}

// A tilt the sectors cannot see (no ring in the sector patterns' reach) is refused and the
// later steps still run.
TEST_F(AutoAnalysisTest, AFailingStepDoesNotStopTheLaterOnes) {
  RingImageSpec spec = ring_spec(0, 0, true);
  spec.rings.resize(1);  // the spot alone
  load(spec);
  full_image();
  auto_analysis_command();
  EXPECT_NE(std::find(log().begin(), log().end(), " calc_tilt() : no sector pair has common peaks."), log().end());
  EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  EXPECT_EQ(log().front(), "<<<<<<<<<< FIND CENTER >>>>>>>>>>");
}

TEST_F(AutoAnalysisTest, AutomaticAnalysisNeedsAnImage) {
  state().macro.MacroRecording = true;
  auto_analysis_command();
  EXPECT_EQ(log(), std::vector<std::string>{" auto_analysis() : Image data does not exist."});
  EXPECT_TRUE(state().macro.MacroList.empty());
}

}  // namespace
}  // namespace kestrin::test
