// The camera-length search on pixel patterns made for a known camera length: the length
// found, the trial range rule, the match limit and the references it cannot use.
#include "analysis/camera_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/convert.h"
#include "base/report.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class CameraLengthTest : public PeakTest {
protected:
  void SetUp() override {
    PeakTest::SetUp();
    IntegrationParams& p = state().integration_params;
    p.pixel_x = p.pixel_y = 0.1;
  }
  static void start_length(double Lo) { state().integration_params.Lo = Lo; }
  // The search from a fresh report, whose lines said() then holds.
  CameraLengthSearch search() {
    report = Report();
    return camera_length_search(report);
  }
  const std::vector<std::string>& said() const { return report.lines(); }
  Report report;
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
  start_length(145);
  ASSERT_EQ(search(), CameraLengthSearch::kSearched);
  EXPECT_NEAR(state().integration_params.Lo, 150, 0.05);
  EXPECT_EQ(said()[0], "Search from 135.0 (mm) to 155.0 (mm).");
  EXPECT_EQ(said().back(), "Lo = " + Format("%10.6f", {state().integration_params.Lo}) + " (mm)");
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 7);
  EXPECT_EQ(t.two_theta[0], 0);  // sorted by 2theta: the unusable one first, unmatched
  EXPECT_EQ(t.x[0], 0);
  for (size_t j = 1; j < 7; ++j) {
    EXPECT_NEAR(t.x[j], at[j - 1], 0.05) << j;
    EXPECT_EQ(t.intensity[j], y[size_t(std::lround(t.x[j]))]) << j;
  }
  EXPECT_EQ(views.peak_lists, 0);  // showing is the command's
  EXPECT_EQ(views.graph_draws, 0);
  EXPECT_TRUE(log().empty());
}

TEST_F(CameraLengthTest, TrialRangeFollowsTheStartLength) {
  set_pattern(std::vector<int32_t>(20, 5), kPixelHistogram);
  references({10});
  const std::pair<double, const char*> cases[] = {
      {29.9, "Search from  40.0 (mm) to 400.0 (mm)."},
      {30, "Search from  20.0 (mm) to  40.0 (mm)."},
  };
  for (const auto& [lo, line] : cases) {
    start_length(lo);
    ASSERT_EQ(search(), CameraLengthSearch::kSearched);
    EXPECT_EQ(said(), (std::vector<std::string>{line, std::string("Best matched Lo =") + (lo < 30 ? "40.00" : "20.00") +
                                                    " (mm)",
                                                "Initial Lo will be too far. Try another."}))
        << lo;
    EXPECT_EQ(state().integration_params.Lo, lo);
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
    start_length(150);
    references({reference});
    ASSERT_EQ(search(), CameraLengthSearch::kSearched);
    EXPECT_EQ(said()[1], "Best matched Lo =140.00 (mm)");
    EXPECT_EQ(state().peak_table.x[0], matched ? p : 0) << matched;
    EXPECT_EQ(said().back() == "Initial Lo will be too far. Try another.", !matched);
  }
}

TEST_F(CameraLengthTest, RefusesWithoutAPixelPattern) {
  set_pattern(std::vector<int32_t>(10, 5), kPixelHistogram);
  EXPECT_EQ(search(), CameraLengthSearch::kNoPattern);  // fewer than 11 points
  EXPECT_TRUE(said().empty());
  set_pattern(std::vector<int32_t>(100, 5), kAngleHistogram);
  EXPECT_EQ(search(), CameraLengthSearch::kNoPattern);
  EXPECT_TRUE(said().empty());
  // Geometry it cannot search with: a line saying so, nothing else changes.
  set_pattern(std::vector<int32_t>(100, 5), kPixelHistogram);
  references({10});
  const std::pair<double, const char*> bad[] = {
      {0, " camera_length_search() : the pixel size must be positive."},
      {-0.1, " camera_length_search() : the pixel size must be positive."},
  };
  for (const auto& [pixel, line] : bad) {
    state().integration_params.pixel_x = pixel;
    EXPECT_EQ(search(), CameraLengthSearch::kRefused);
    EXPECT_EQ(said(), std::vector<std::string>{line});
  }
  state().integration_params.pixel_x = 0.1;
  start_length(1e300);
  EXPECT_EQ(search(), CameraLengthSearch::kRefused);
  EXPECT_EQ(said(), std::vector<std::string>{" camera_length_search() : the camera length is out of range."});
  EXPECT_EQ(state().peak_table.x[0], 7);  // the table as it was
}

}  // namespace
}  // namespace kestrin::test
