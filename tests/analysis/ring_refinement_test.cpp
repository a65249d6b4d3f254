// Geometry refinement on synthetic ring images: the tilt recovered from the 16 sectors, the
// camera length from the pixel pattern, and the automatic analysis from a direct-beam spot to
// the final pixel pattern.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/auto_analysis.h"
#include "analysis/camera_length.h"
#include "analysis/peak_search.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis/tilt.h"
#include "base/convert.h"
#include "peak_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

constexpr double kRings[] = {8, 10, 12.5, 15, 18, 21.3};  // 211 to 585 pixels at 150 mm

class RingRefinementTest : public PeakTest {
protected:
  // A 1260 x 1240 image of the six rings at Lo 150 mm with 0.1 mm pixels, the beam at
  // (630.4, 618.7) tilted by (Phi, Beta); with `spot`, the direct beam as a bright spot.
  static RingImageSpec ring_spec(double Phi, double Beta, bool spot) {
    RingImageSpec spec;
    RingGeometry& g = spec.geometry;
    g.width = 1260, g.height = 1240, g.X0 = 630.4, g.Y0 = 618.7;
    g.Lo = 150, g.pixel_x = g.pixel_y = 0.1, g.Phi = Phi, g.Beta = Beta;
    if (spot) spec.rings.push_back({0.0, 0.08, 30000.0});
    for (double t : kRings) spec.rings.push_back({t, 0.05, 5000.0});
    spec.background = 20;
    return spec;
  }
  // Loads the image and types its geometry into the window with the tilt still unknown.
  // A fresh program with the ring image tilted by (Phi, Beta) and the typed tilt none: the
  // sectored pattern, its peaks and the tilt from them.
  void run_calc_tilt(double Phi, double Beta) {
    SetUp();
    load(ring_spec(Phi, Beta, false));
    calc_sectored_histogram();
    ASSERT_EQ(peak_search(), 0);
    ASSERT_EQ(calc_tilt(), 0);
  }

  static void load(const RingImageSpec& spec) {
    load_into_current_image(make_ring_image(spec), spec.geometry.width, spec.geometry.height);
    RingGeometry untilted = spec.geometry;
    untilted.Phi = untilted.Beta = 0;
    set_geometry(untilted);
    edit(frmMain::edtLambda, "1.0");
  }
  // Ring k's distance from the centre on an untilted detector, pixels.
  static double radius(double two_theta) { return 150 * std::tan(two_theta * std::numbers::pi / 180) / 0.1; }
  // Rectangle mode, the full image.
  static void full_image() {
    check(frmMain::rbtnRectangle);
    check(frmMain::rbtnRect_Direction);
    controls().set_item_index(frmMain::cmbDirection, 6);
  }
};

// Opposite sectors see a tilted ring at different radii; only pairs within SamePeakTolerance
// count, so a large tilt is seen through the sectors near the tilt axis.
TEST_F(RingRefinementTest, TiltIsRecoveredFromTheSectors) {
  struct Case {
    double Phi, Beta;
  };
  for (const Case c : {Case{0.3, 250}, Case{0.6, 120}, Case{0.8, 35}, Case{1.5, 60}}) {
    SCOPED_TRACE(testing::Message() << "Phi " << c.Phi << " Beta " << c.Beta);
    ASSERT_NO_FATAL_FAILURE(run_calc_tilt(c.Phi, c.Beta));
    const IntegrationParams& p = state().integration_params;
    const double beta_error = std::remainder(p.Beta - c.Beta, 360.0);
    EXPECT_LE(std::fabs(beta_error), 3.0) << p.Beta;
    EXPECT_NEAR(p.Phi, c.Phi, 0.1 * c.Phi);
    EXPECT_EQ(controls().text(frmMain::edtBeta), Format("%8.3f", {p.Beta}));
    EXPECT_EQ(controls().text(frmMain::edtPhi), Format("%10.6f", {p.Phi}));
  }
}

// From about 2 degrees, at the default SamePeakTolerance, only the sectors near the tilt
// axis keep a ring in both halves; they see the smallest tilt, so a fit to them came out
// far too small. The tilt is not determined and the typed one (none) stays as typed.
TEST_F(RingRefinementTest, ATiltMostSectorsMissIsNotDetermined) {
  struct Case {
    double Phi, Beta;
  };
  for (const Case c : {Case{2.5, 60}, Case{3.2, 10}}) {
    SCOPED_TRACE(testing::Message() << "Phi " << c.Phi << " Beta " << c.Beta);
    ASSERT_NO_FATAL_FAILURE(run_calc_tilt(c.Phi, c.Beta));
    EXPECT_EQ(log().back(), " calc_tilt() : only 4 of 16 sectors hold a common peak, the tilt was not determined.");
    EXPECT_EQ(state().integration_params.Beta, 0);
    EXPECT_EQ(state().integration_params.Phi, 0);
    EXPECT_EQ(controls().text(frmMain::edtBeta), "0");  // as typed, not the tilt's "   0.000"
    EXPECT_EQ(controls().text(frmMain::edtPhi), "0");
  }
}

// Centred on a pixel, opposite sectors cover mirror images of each other: equal radii.
TEST_F(RingRefinementTest, AnUntiltedImageIsSmallEnough) {
  RingImageSpec spec = ring_spec(0, 0, false);
  spec.geometry.X0 = 630, spec.geometry.Y0 = 620;
  load(spec);
  edit(frmMain::edtBeta, "40");
  calc_sectored_histogram();
  ASSERT_EQ(peak_search(), 0);
  ASSERT_EQ(calc_tilt(), 0);
  EXPECT_NE(std::find(log().begin(), log().end(), "Tilt is small enough."), log().end());
  EXPECT_EQ(state().integration_params.Beta, 0);
  EXPECT_EQ(state().integration_params.Phi, 0);
}

// The pixel pattern of the image, the rings' 2theta as references, a start 5 mm short.
TEST_F(RingRefinementTest, CameraLengthFromThePixelPattern) {
  load(ring_spec(0, 0, false));
  full_image();
  calc_pixel_histogram();
  ASSERT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  PeakTable& t = state().peak_table;
  t.count = int32_t(std::size(kRings));
  for (size_t j = 0; j < std::size(kRings); ++j) t.two_theta[j] = kRings[j];
  edit(frmMain::edtCameraLength, "145");
  ASSERT_EQ(camera_length_search(), 0);
  EXPECT_NEAR(state().integration_params.Lo, 150, 0.05);
  ASSERT_EQ(t.count, int32_t(std::size(kRings)));
  for (size_t j = 0; j < std::size(kRings); ++j) EXPECT_NEAR(t.x[j], radius(kRings[j]), 0.5) << j;
}

// From a direct-beam spot on a tilted image: the centre on the spot, the tilt from the
// sectors, then the tilt-corrected pixel pattern with every ring where Lo tan(2theta) / pX
// puts it.
TEST_F(RingRefinementTest, AutomaticAnalysisFromTheSpotToThePixelPattern) {
  const RingImageSpec spec = ring_spec(0.6, 120, true);
  load(spec);
  set_centre(0, 0);
  full_image();
  state().macro.MacroRecording = true;
  auto_analysis();
  const IntegrationParams& p = state().integration_params;
  EXPECT_NEAR(p.X0, spec.geometry.X0, 0.05);
  EXPECT_NEAR(p.Y0, spec.geometry.Y0, 0.05);
  EXPECT_LE(std::fabs(std::remainder(p.Beta - 120, 360.0)), 3.0) << p.Beta;
  EXPECT_NEAR(p.Phi, 0.6, 0.06);
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
TEST_F(RingRefinementTest, AFailingStepDoesNotStopTheLaterOnes) {
  RingImageSpec spec = ring_spec(0, 0, true);
  spec.rings.resize(1);  // the spot alone
  load(spec);
  full_image();
  auto_analysis();
  EXPECT_NE(std::find(log().begin(), log().end(), " calc_tilt() : no sector pair has common peaks."), log().end());
  EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  EXPECT_EQ(log().front(), "<<<<<<<<<< FIND CENTER >>>>>>>>>>");
}

TEST_F(RingRefinementTest, AutomaticAnalysisNeedsAnImage) {
  state().macro.MacroRecording = true;
  auto_analysis();
  EXPECT_EQ(log(), std::vector<std::string>{" auto_analysis() : Image data does not exist."});
  EXPECT_TRUE(state().macro.MacroList.empty());
}

}  // namespace
}  // namespace kestrin::test
