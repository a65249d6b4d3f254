// The single-peak fit: the chosen peak's record, its window from the ring's bounds, the
// start values, the tables cleared, the macro line and the windows.
#include "analysis/single_peak_fit.h"

#include <gtest/gtest.h>

#include "commands/peak_fitting_commands.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class SinglePeakFitTest : public PeakTest {
protected:
  // A 2theta pattern from 10 degrees in steps of 0.02 with Gaussian peaks on a sloped base,
  // and the peak table holding their positions.
  static void two_peaks() {
    IntegrationParams& p = state().integration_params;
    p.two_theta_begin = 10, p.two_theta_step = 0.02;
    std::vector<int32_t> y(400);
    for (int i = 0; i < 400; ++i) {
      const double t = 10 + 0.02 * i;
      y[size_t(i)] = int32_t(std::lround(500 + 20 * (t - 10) + 8000 * std::exp(-0.5 * std::pow((t - 12) / 0.05, 2)) +
                                         3000 * std::exp(-0.5 * std::pow((t - 16) / 0.06, 2))));
    }
    set_pattern(y, kAngleHistogram);
    PeakTable& t = state().peak_table;
    t.count = 2;
    t.two_theta[0] = 12, t.two_theta[1] = 16;
  }
};

TEST_F(SinglePeakFitTest, FitsTheChosenPeakOverTheRingsBounds) {
  two_peaks();
  state().options.FitType = 1;
  state().fit_tables.fitted[0].fitted = 1;
  state().macro.MacroRecording = true;
  ASSERT_TRUE(single_peak_fit_and_show(1, 285, 315));  // 15.7 .. 16.3 degrees
  const FitTables& f = state().fit_tables;
  EXPECT_EQ(f.fitted[0].fitted, 0);  // cleared
  EXPECT_EQ(f.count, 1);
  const FitRecord& r = f.fitted[1];
  EXPECT_EQ(r.fitted, 1);
  EXPECT_EQ(r.model, 1);
  EXPECT_NEAR(r.position, 16, 1e-3);
  EXPECT_NEAR(r.half_width, 0.06 * std::sqrt(2 * std::log(2.0)), 1e-3);
  EXPECT_NEAR(r.base + r.base_tilt * 16, 500 + 20 * 6, 2);
  const FitRecord& start = f.initial[1];
  EXPECT_EQ(start.position, 16);
  EXPECT_NEAR(start.half_width, (30 / 3.0) / 2 * 0.02, 1e-12);
  EXPECT_NEAR(start.window_start, 15.7, 1e-9);
  EXPECT_NEAR(start.window_end, 16.3, 1e-9);
  EXPECT_EQ(start.base, *std::min_element(state().nax_pattern.values.begin() + 285, state().nax_pattern.values.begin() + 316));
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PeakFitting();"});
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(SinglePeakFitTest, NothingToFitLeavesClearedTables) {
  two_peaks();
  state().fit_tables.count = 3;
  EXPECT_FALSE(single_peak_fit(2, 285, 315));  // no such peak
  EXPECT_EQ(state().fit_tables.count, 0);
  EXPECT_FALSE(single_peak_fit(0, 300, 302));  // three points: no fit, the start values stay
  EXPECT_EQ(state().fit_tables.fitted[0].position, 12);
  EXPECT_EQ(state().fit_tables.fitted[0].fitted, 0);
  state().nax_pattern.kind = {1, 1, 1, 1, 1};
  EXPECT_FALSE(single_peak_fit(0, 285, 315));
}

}  // namespace
}  // namespace kestrin::test
