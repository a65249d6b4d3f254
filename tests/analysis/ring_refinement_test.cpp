// Geometry refinement on synthetic ring images: the tilt recovered from the 16 sectors and
// the camera length from the pixel pattern.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/camera_length.h"
#include "analysis/pixel_histogram.h"
#include "base/convert.h"
#include "base/report.h"
#include "histogram_runs.h"
#include "ring_refinement_fixture.h"

namespace kestrin::test {
namespace {

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
    EXPECT_TRUE(tilt.determined);
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
    EXPECT_FALSE(tilt.determined);  // the edits stay as typed, not the tilt's "   0.000"
  }
}

// Centred on a pixel, opposite sectors cover mirror images of each other: equal radii.
TEST_F(RingRefinementTest, AnUntiltedImageIsSmallEnough) {
  RingImageSpec spec = ring_spec(0, 0, false);
  spec.geometry.X0 = 630, spec.geometry.Y0 = 620;
  load(spec);
  set_parameter(&IntegrationParams::Beta, 40);
  sectoring_command();
  Report report = log_report();
  ASSERT_EQ(peak_search(report), 0);
  ASSERT_EQ(calc_tilt(report).status, 0);
  EXPECT_NE(std::find(log().begin(), log().end(), "Tilt is small enough."), log().end());
  EXPECT_EQ(state().integration_params.Beta, 0);
  EXPECT_EQ(state().integration_params.Phi, 0);
}

// The pixel pattern of the image, the rings' 2theta as references, a start 5 mm short.
TEST_F(RingRefinementTest, CameraLengthFromThePixelPattern) {
  load(ring_spec(0, 0, false));
  full_image();
  shown(calc_pixel_histogram);
  ASSERT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  PeakTable& t = state().peak_table;
  t.count = int32_t(std::size(kRings));
  for (size_t j = 0; j < std::size(kRings); ++j) t.two_theta[j] = kRings[j];
  state().integration_params.Lo = 145;
  Report report = log_report();
  ASSERT_EQ(camera_length_search(report), CameraLengthSearch::kSearched);
  EXPECT_NEAR(state().integration_params.Lo, 150, 0.05);
  ASSERT_EQ(t.count, int32_t(std::size(kRings)));
  for (size_t j = 0; j < std::size(kRings); ++j) EXPECT_NEAR(t.x[j], radius(kRings[j]), 0.5) << j;
}

}  // namespace
}  // namespace kestrin::test
