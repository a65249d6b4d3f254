// From a synthetic ring image to a peak table: the centre from the direct-beam spot, the
// 2theta histogram of the full image, the peak search; rings and d-spacings agree.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/angle_histogram.h"
#include "analysis/center.h"
#include "analysis/peak_search.h"
#include "base/report.h"
#include "histogram_runs.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class RingPipelineTest : public PeakTest {
protected:
  static constexpr double kRings[] = {5.0, 8.2, 11.0, 14.1};  // radii 87 to 251 pixels
  // A 600 x 560 image with a direct-beam spot at (296.4, 283.7) and four rings; the main
  // parameters set for it (camera length 100 mm, 0.1 mm pixels, 2theta from 2 in steps of
  // 0.02).
  void ring_image_and_parameters() {
    RingImageSpec spec;
    spec.geometry.width = 600, spec.geometry.height = 560;
    spec.geometry.X0 = 296.4, spec.geometry.Y0 = 283.7;
    spec.geometry.Lo = 100.0, spec.geometry.pixel_x = spec.geometry.pixel_y = 0.1;
    spec.rings.push_back({0.0, 0.12, 30000.0});  // the direct beam: a spot at the centre
    for (double t : kRings) spec.rings.push_back({t, 0.06, 4000.0});
    spec.background = 20;
    load_into_current_image(make_ring_image(spec), spec.geometry.width, spec.geometry.height);
    set_centre(0, 0);
    set_parameter(&IntegrationParams::Lo, 100);
    set_parameter(&IntegrationParams::pixel_x, 0.1);
    set_parameter(&IntegrationParams::pixel_y, 0.1);
    set_parameter(&IntegrationParams::Phi, 0);
    set_parameter(&IntegrationParams::wavelength, 1.5406);
    set_parameter(&IntegrationParams::two_theta_begin, 2.0);
    set_parameter(&IntegrationParams::two_theta_step, 0.02);
  }
};

TEST_F(RingPipelineTest, EveryRingIsFoundWithinATenthOfAStep) {
  ring_image_and_parameters();
  whole_image_region();
  Report report = log_report();
  ASSERT_EQ(find_center(report), 0);
  const IntegrationParams& p = state().integration_params;
  EXPECT_NEAR(p.X0, 296.4, 0.05);
  EXPECT_NEAR(p.Y0, 283.7, 0.05);
  set_centre(p.X0, p.Y0);  // shown as the command shows it, for a histogram that reads the edits

  shown(calc_angle_histogram);
  ASSERT_TRUE(state().nax_pattern.has_kind(kAngleHistogram));
  ASSERT_EQ(peak_search(report), 0);
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 4);
  for (int k = 0; k < 4; ++k) {
    const size_t u = size_t(k);
    EXPECT_NEAR(t.two_theta[u], kRings[k], 0.1 * 0.02) << k;
    const double theta = t.two_theta[u] / 2.0 * M_PI / 180.0;
    EXPECT_NEAR(t.d[u], 1.5406 / (2.0 * std::sin(theta)), 1e-12) << k;
    EXPECT_EQ(t.x[u], 0.0);
  }
}

TEST_F(RingPipelineTest, EverySectorAgreesOnEveryRing) {
  ring_image_and_parameters();
  set_centre(296.4, 283.7);
  set_parameter(&IntegrationParams::division_angle, 22.5);
  shown(calc_free_angle_sectored_angle_histogram);
  ASSERT_TRUE(state().nax_pattern.has_kind(kFreeSectorAngle));
  Report report;
  ASSERT_EQ(peak_search(report), 0);
  ASSERT_EQ(state().sector_patterns.count, 16);
  for (int s = 0; s < 16; ++s) {
    const PeakList& l = state().sector_patterns.sectors[size_t(s)].peaks();
    ASSERT_EQ(l.count, 4) << s;
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(l.two_theta[size_t(k)], kRings[k], 0.1 * 0.02) << s << " " << k;
  }
  EXPECT_EQ(state().peak_table.count, 0);  // the main table is not touched
}

}  // namespace
}  // namespace kestrin::test
