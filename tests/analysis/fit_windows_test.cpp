// The fitting windows: smoothing, forward slopes, the valley-bounded CFDQR2 window (its
// fallbacks, clipping and narrowing) and the window narrowed to a peak's inflection points.
#include "analysis/fit_windows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kestrin::test {
namespace {

TEST(FitWindows, MovingAverageKeepsTheEnds) {
  struct Case {
    std::vector<double> in;
    int32_t h;
    std::vector<double> out;
  };
  const std::vector<Case> cases = {
      {{1, 2, 9, 4, 5}, 1, {1, 4, 5, 6, 5}},
      {{0, 0, 10, 0, 0, 5, 5}, 2, {0, 0, 2, 3, 4, 5, 5}},
      {{3, 4}, 2, {3, 4}},        // shorter than one span: unchanged
      {{1, 2, 3}, 0, {1, 2, 3}},  // h 0: unchanged
  };
  for (const Case& c : cases) {
    std::vector<double> v = c.in;
    moving_average(v, c.h);
    EXPECT_EQ(v, c.out) << "h " << c.h;
  }
}

TEST(FitWindows, ForwardSlopeInPlace) {
  std::vector<double> y = {1, 3, 7, 7, 4};
  forward_slope(std::vector<double>{0, 1, 3, 3, 4}, y);
  // (3-1)/1, (7-3)/2, x equal: stays 7, (4-7)/1, the last stays.
  EXPECT_EQ(y, (std::vector<double>{2, 2, 7, -3, 4}));
}

// A peak at k with valleys left and right: each side rises twice in a row at the valley.
std::vector<double> valley_pattern(int32_t n, int32_t k, int32_t left_valley, int32_t right_valley) {
  std::vector<double> y(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    if (i <= left_valley) y[size_t(i)] = 100 + (left_valley - i);
    else if (i >= right_valley) y[size_t(i)] = 100 + (i - right_valley);
    else y[size_t(i)] = 1000 - std::abs(i - k);
  }
  return y;
}

TEST(FitWindows, FitWindowTable) {
  struct Case {
    const char* name;
    std::vector<double> y;
    int32_t k, first, last;
  };
  const std::vector<double> hill(60, 5.0);
  std::vector<double> spike = hill;
  spike[30] = 9;
  const std::vector<Case> cases = {
      {"both valleys", valley_pattern(100, 50, 40, 57), 50, 38, 57},
      {"no valleys: k - 12 and k + 10", spike, 30, 18, 40},
      {"clipped at the start", spike, 5, 0, 15},
      {"clipped at the end", spike, 55, 43, 59},
      {"valley at the start", valley_pattern(40, 6, 1, 30), 6, 0, 30},
      {"more than 500 points: both ends cut", valley_pattern(1000, 500, 100, 900), 500, 250, 748},
  };
  for (const Case& c : cases) {
    const PointRange r = fit_window(c.y, c.k);
    EXPECT_EQ(r.first, c.first) << c.name;
    EXPECT_EQ(r.last, c.last) << c.name;
    EXPECT_LE(r.size(), kMaxFitWindow) << c.name;
  }
  EXPECT_EQ(fit_window(std::vector<double>{}, 0).size(), 0);
}

TEST(FitWindows, NarrowingFindsTheInflectionPoints) {
  // A Gaussian of deviation 6 points in the middle of a 401-point window: its slope is
  // steepest 6 points either side; the smoothing moves that by less than a point.
  std::vector<double> x(401), y(401);
  for (int32_t i = 0; i < 401; ++i) {
    x[size_t(i)] = 10 + 0.02 * i;
    y[size_t(i)] = 50 + 5000 * std::exp(-0.5 * std::pow((i - 200.4) / 6, 2));
  }
  for (const int32_t type : {0, 1}) {
    const NarrowedWindow w = narrow_fit_window(x, y, 200, type);
    EXPECT_NEAR(w.L, 194, 1);
    EXPECT_NEAR(w.R, 206, 1);
    EXPECT_LE(w.rounds, 3);
    const int32_t reach = type == 0 ? w.R - w.L : 3 * (w.R - w.L) / 2;
    EXPECT_NEAR(w.fit.first, 200 - reach, 1) << type;
    EXPECT_NEAR(w.fit.last, 200 + reach, 1) << type;
  }
  // Near the window's start the fitting window is clipped.
  const NarrowedWindow edge = narrow_fit_window(std::span(x).subspan(190), std::span(y).subspan(190), 10, 1);
  EXPECT_EQ(edge.fit.first, 0);
  // Flat values narrow to nothing and stop at once.
  const std::vector<double> flat(50, 7.0);
  const NarrowedWindow none = narrow_fit_window(std::span(x).first(50), flat, 25, 0);
  EXPECT_LE(none.rounds, kMaxNarrowRounds);
  EXPECT_LE(none.fit.size(), 1);
}

}  // namespace
}  // namespace kestrin::test
