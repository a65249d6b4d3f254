// Bad parameters for every new histogram: each run ends with a log line and a bounded
// pattern or a refusal, never a crash, a hang or undefined behaviour (the sanitizers watch).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/line_integration.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "model/parameters.h"

namespace kestrin::test {
namespace {

using HistogramRobustnessTest = AnalysisTest;

void run_everything() {
  for (bool curved : {false, true}) {
    current_image().image_type = curved ? kTypeRaxisCS : kTypeTiff;
    angle_intensity_command();
    fine_angle_intensity_command();
    pixel_intensity_command();
  }
  sectoring_command();
  shown(calc_free_angle_sectored_pixel_histogram);
  shown(calc_cake_slant_pixel_histogram);
  for (int32_t d : {0, 1, 3, 4, 7}) shown([d](Report& r) { return calc_line_integration(d, r); });
}

TEST_F(HistogramRobustnessTest, BadParametersGiveALineEach) {
  load_flat_image(45, 33, 200);
  struct Case {
    double x0, y0, lo, phi, division;
  } cases[] = {
      {20, 15, 0, 0, 22.5},        // no camera length, no tilt
      {20, 15, 0, 5, 22.5},        // no camera length, tilted
      {20, 15, -50, 0, 22.5},      // a negative camera length
      {50000, -3000, 100, 0, 22.5},
      {20, 15, 100, 89, 22.5},     // most of the detector behind the sample
      {20, 15, 100, 0, 0.001},     // far too many sectors
      {1e-300, -1e-300, 1e-300, 60, 360},
  };
  const int32_t regions[] = {kRegionRectangle, kRegionSector, kRegionSectoredDivision};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x0 << " " << c.y0 << " " << c.lo << " " << c.phi << " " << c.division);
    set_centre(c.x0, c.y0);
    set_parameter(&P::Lo, c.lo);
    set_parameter(&P::Phi, c.phi);
    set_parameter(&P::division_angle, c.division);
    for (int32_t region : regions) {
      set_region(region);
      the_log().clear_history();
      run_everything();
      EXPECT_GE(log().size(), 20u);
      EXPECT_GE(state().nax_pattern.N, 0);
      EXPECT_LE(state().nax_pattern.N, kPatternSize);
      EXPECT_LE(state().sector_patterns.count, kMaxSectorCount);
    }
  }
}

TEST_F(HistogramRobustnessTest, RandomParametersStayInBounds) {
  load_flat_image(29, 23, 700);
  std::mt19937 rng(11);
  for (int run = 0; run < 120; ++run) {
    type_random_parameters(rng, run, {.centre_scale = 1e3, .begin_max = 200, .end_max = 200, .step_max = 12,
                                      .division_min = 0.05});
    run_everything();
    EXPECT_GE(state().nax_pattern.N, 0);
    EXPECT_LE(state().nax_pattern.N, kPatternSize);
  }
}

}  // namespace
}  // namespace kestrin::test
