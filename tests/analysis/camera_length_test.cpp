// The camera-length search on pixel patterns made for a known camera length: the length
// found, the trial range rule, the match limit and the references it cannot use.
#include "analysis/camera_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/convert.h"
#include "peak_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

class CameraLengthTest : public PeakTest {
protected:
  void SetUp() override {
    PeakTest::SetUp();
    edit(frmMain::edtPixelX, "0.1");
    edit(frmMain::edtPixelY, "0.1");
  }
  // The references as a peak table of 2theta values (x and intensity filled with junk).
  static void references(const std::vector<double>& two_theta) {
    PeakTable& t = state().peak_table;
    t.count = int32_t(two_theta.size());
    for (size_t j = 0; j < two_theta.size(); ++j) t.two_theta[j] = two_theta[j], t.x[j] = 7, t.intensity[j] = 7;
  }
};

TEST_F(CameraLengthTest, FindsTheLengthThePeaksWereMadeFor) {
  const std::vector<double> rings = {8, 10, 12.5, 15, 18, 21.3};
  std::vector<int32_t> y(700, 50);
  std::vector<double> at;
  for (double t : rings) {
    at.push_back(150 * std::tan(t * std::numbers::pi / 180) / 0.1);
    const auto g = gaussian_pattern(700, at.back(), 5000, 2.0);
    for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
  }
  set_pattern(y, kPixelHistogram);
  std::vector<double> refs = rings;
  refs.push_back(0);  // unusable: takes no part
  references(refs);
  edit(frmMain::edtCameraLength, "145");
  ASSERT_EQ(camera_length_search(), 0);
  EXPECT_NEAR(state().integration_params.Lo, 150, 0.05);
  EXPECT_EQ(controls().text(frmMain::edtCameraLength), Format("%10.6f", {state().integration_params.Lo}));
  EXPECT_EQ(log()[0], "Search from 135.0 (mm) to 155.0 (mm).");
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 7);
  EXPECT_EQ(t.two_theta[0], 0);  // sorted by 2theta: the unusable one first, unmatched
  EXPECT_EQ(t.x[0], 0);
  for (size_t j = 1; j < 7; ++j) {
    EXPECT_NEAR(t.x[j], at[j - 1], 0.05) << j;
    EXPECT_EQ(t.intensity[j], y[size_t(std::lround(t.x[j]))]) << j;
  }
  EXPECT_EQ(views.peak_lists, 1);
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(CameraLengthTest, TrialRangeFollowsTheStartLength) {
  set_pattern(std::vector<int32_t>(20, 5), kPixelHistogram);
  references({10});
  const std::pair<const char*, const char*> cases[] = {
      {"29.9", "Search from  40.0 (mm) to 400.0 (mm)."},
      {"30", "Search from  20.0 (mm) to  40.0 (mm)."},
  };
  for (const auto& [lo, line] : cases) {
    the_log().clear_history();
    edit(frmMain::edtCameraLength, lo);
    ASSERT_EQ(camera_length_search(), 0);
    EXPECT_EQ(log(), (std::vector<std::string>{line, std::string("Best matched Lo =") + (lo[1] == '9' ? "40.00" : "20.00") +
                                                   " (mm)",
                                               "Initial Lo will be too far. Try another."}))
        << lo;
    EXPECT_EQ(controls().text(frmMain::edtCameraLength), Format("%10.6f", {StrToFloat(lo)}));
  }
}

TEST_F(CameraLengthTest, AMisfitOfExactlyOneHundredthIsNotMatched) {
  // One symmetric peak at a whole point p; a reference beyond every trial angle is nearest
  // at the shortest trial, 140 mm. Find p and a reference 2theta t whose misfit there is
  // exactly 0.01 in floating point.
  int32_t p = 0;
  double t = 0;
  for (int32_t q = 200; q < 400 && p == 0; ++q) {
    const double a = camera_angle(q, 0.1, 140.0);
    double c = a / 0.99;
    for (int k = 0; k < 40; ++k) c = std::nextafter(c, 0.0);
    for (int k = 0; k < 80 && p == 0; ++k, c = std::nextafter(c, 1e9))
      if (std::fabs(c - a) / c == 0.01) p = q, t = c;
  }
  ASSERT_NE(p, 0);
  std::vector<int32_t> y(500, 10);
  for (int i = -3; i <= 3; ++i) y[size_t(p + i)] = 1000 - 100 * i * i;
  set_pattern(y, kPixelHistogram);
  for (const auto& [reference, matched] : {std::pair{t, false}, std::pair{std::nextafter(t, 0.0), true}}) {
    edit(frmMain::edtCameraLength, "150");
    references({reference});
    the_log().clear_history();
    ASSERT_EQ(camera_length_search(), 0);
    EXPECT_EQ(log()[1], "Best matched Lo =140.00 (mm)");
    EXPECT_EQ(state().peak_table.x[0], matched ? p : 0) << matched;
    EXPECT_EQ(log().back() == "Initial Lo will be too far. Try another.", !matched);
  }
}

TEST_F(CameraLengthTest, RefusesWithoutAPixelPattern) {
  set_pattern(std::vector<int32_t>(10, 5), kPixelHistogram);
  EXPECT_EQ(camera_length_search(), 1);  // fewer than 11 points
  set_pattern(std::vector<int32_t>(100, 5), kAngleHistogram);
  EXPECT_EQ(camera_length_search(), 1);
  EXPECT_TRUE(log().empty());
  // Geometry it cannot search with: a log line, nothing else changes.
  set_pattern(std::vector<int32_t>(100, 5), kPixelHistogram);
  references({10});
  const std::pair<const char*, const char*> bad[] = {
      {"0", " camera_length_search() : the pixel size must be positive."},
      {"-0.1", " camera_length_search() : the pixel size must be positive."},
  };
  for (const auto& [pixel, line] : bad) {
    edit(frmMain::edtPixelX, pixel);
    the_log().clear_history();
    EXPECT_EQ(camera_length_search(), 0);
    EXPECT_EQ(log(), std::vector<std::string>{line});
  }
  edit(frmMain::edtPixelX, "0.1");
  edit(frmMain::edtCameraLength, "1e300");
  the_log().clear_history();
  EXPECT_EQ(camera_length_search(), 0);
  EXPECT_EQ(log(), std::vector<std::string>{" camera_length_search() : the camera length is out of range."});
}

}  // namespace
}  // namespace kestrin::test
