// The Poisson-likelihood fit: its status and message table, each case built on purpose,
// both profiles converging, the start values and the position check of cfdqr2_fit, and
// degenerate data that must end with a status.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/cfdqr2.h"
#include "fit_fixture.h"
#include "support/peak_profile.h"

namespace kestrin::test {
namespace {

std::vector<double> rounded(std::vector<double> v) {
  for (double& e : v) e = std::round(e);
  return v;
}

TEST(Cfdqr2, StatusAndMessageTable) {
  const Profile wide{{{false, 800, 250, 25}}, 50, 0.05};
  const std::vector<double> x500 = axis(0, 1, 500), x501 = axis(0, 1, 501), x41 = axis(0, 1, 41),
                            x201 = axis(0, 1, 201);
  const std::vector<double> y500 = poisson_counts(wide, x500, 1), y501 = poisson_counts(wide, x501, 1);
  const std::vector<double> narrow = poisson_counts(Profile{{{false, 500, 100, 1.0}}, 20, 0}, x201, 2);
  const std::vector<double> zero_tails = rounded(exact_values(Profile{{{false, 100, 20, 3}}, 0, 0}, x41));
  const std::vector<double> strong = poisson_counts(Profile{{{false, 1000, 20, 3}}, 20, 0}, x41, 9);
  const std::vector<double> same_x(20, 1.0), flat(20, 5.0);
  const std::vector<double> no_peak = poisson_counts(Profile{{}, 20, 0}, x41, 3);
  struct Case {
    const char* name;
    const std::vector<double>& x;
    const std::vector<double>& y;
    std::vector<double> a;
    int32_t model;
    Cfdqr2Budget budget;
    int32_t status;
    std::string message;
  };
  const Case cases[] = {
      {"500 points", x500, y500, {700, 245, 20, 40, 0}, kCfdqr2Gaussian, {}, 0, ""},
      {"501 points", x501, y501, {700, 245, 20, 40, 0}, kCfdqr2Gaussian, {}, 4, "(error) CFDQR2 : Many Data!"},
      // A Gaussian more than about 29 half widths from every point has left the window.
      {"start overflow", x41, strong, {1000, 200, 0.5, 20}, kCfdqr2Gaussian, {}, 6,
       "(error) CFDQR2 :初期fGaussのエラー"},
      // The steps push a start peak beside data without one out of the window.
      {"trial overflow", x41, no_peak, {500, 45, 8, 20, 0}, kCfdqr2Gaussian, {}, 6, "(error) CFDQR2 :係数アウト！"},
      // Points that far out only on the tails are base line there, at the start and at trials.
      {"far tails at the start", x41, strong, {1000, 20, 0.5, 20}, kCfdqr2Gaussian, {}, 0, ""},
      {"far tails at a trial", x201, narrow, {400, 100, 20, 20, 0}, kCfdqr2Gaussian, {}, 0, ""},
      {"base below 0", x41, strong, {1000, 20, 3, -100}, kCfdqr2Gaussian, {}, 4,
       "(error) CFDQR2: 係数の初期値が不適切。"},
      {"unknown model", x41, strong, {1000, 20, 3, 20}, 2, {}, 4, "(error) CFDQR2: 係数の初期値が不適切。"},
      {"one abscissa", same_x, flat, {3, 1, 2, 1, 0}, kCfdqr2Gaussian, {}, 4,
       "(error) CFDQR2: 行列式の値が０になった。データ入力ミス、または係数が多い。"},
      {"unused parameter", x41, strong, {1000, 20, 3, 20, 0, 0}, kCfdqr2Lorentzian, {}, 4,
       "(error) CFDQR2: 行列式の値が０になった。データ入力ミス、または係数が多い。"},
      // The first step takes the base to 0 where the data have no counts.
      {"invalid trial", x41, zero_tails, {100, 20, 3, 1}, kCfdqr2Gaussian, {100, 0, 0}, 2,
       "(warning) CFDQR2: 内側ループが100回を超えた。計算中止。"},
      // From a position 4 half widths off, the first step overshoots and is refused.
      {"refused step", x41, strong, {1000, 24, 3, 20}, kCfdqr2Gaussian, {100, 100, 0}, 2,
       "(warning) CFDQR2: 内側ループが100回を超えた。計算中止"},
      {"outer rounds", x500, y500, {700, 245, 20, 40, 0}, kCfdqr2Gaussian, {1, 100, 500}, 2,
       "(warning) CFDQR2: 外側ループが100回を超えた。計算打ち切り"},
      {"two parameters", x41, strong, {1000, 20}, kCfdqr2Gaussian, {}, 4, "(error) CFDQR2 : Bad number of coefficients!"},
  };
  for (const Case& c : cases) {
    std::vector<double> a = c.a;
    const Cfdqr2Result r = CFDQR2(c.x, c.y, a, c.model, c.budget);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.message, c.message) << c.name;
    EXPECT_EQ(r.deviations.size(), c.a.size()) << c.name;
  }
}

// A failure leaves the last accepted parameters: the refused first step leaves the start.
TEST(Cfdqr2, FailureKeepsTheLastAcceptedParameters) {
  const std::vector<double> x = axis(0, 1, 41);
  const std::vector<double> y = poisson_counts(Profile{{{false, 1000, 20, 3}}, 20, 0}, x, 9);
  std::vector<double> a = {1000, 24, 3, 20};
  ASSERT_NE(CFDQR2(x, y, a, kCfdqr2Gaussian, {100, 100, 0}).status, 0);
  EXPECT_EQ(a, (std::vector<double>{1000, 24, 3, 20}));
}

// Both profiles converge on counts of their own shape: the score is 0 within a fraction of
// a deviation and the truth lies within a few deviations.
TEST(Cfdqr2, BothProfilesConvergeToTheLikelihoodMaximum) {
  for (int32_t model : {kCfdqr2Gaussian, kCfdqr2Lorentzian}) {
    const Profile p{{{model == kCfdqr2Lorentzian, 1500, 412.3, 4.2}}, 120, 0.1};
    const std::vector<double> x = axis(380, 0.5, 130);
    const std::vector<double> y = poisson_counts(p, x, 11);
    std::vector<double> a = {1300, 411.5, 5, 100, 0};
    const Cfdqr2Result r = CFDQR2(x, y, a, model);
    ASSERT_EQ(r.status, 0) << model << " " << r.message;
    EXPECT_EQ(r.message, "");
    for (double s : scaled_score(x, y, a, r.deviations, model)) EXPECT_LT(std::fabs(s), 1e-3) << model;
    const double truth[5] = {1500, 412.3, 4.2, 120, 0.1};
    for (size_t j = 0; j < 5; ++j) EXPECT_LT(std::fabs(a[j] - truth[j]), 5 * r.deviations[j]) << model << " " << j;
  }
}

// Where the caller has no amplitude, cfdqr2_fit starts from the data; the start values show
// when the model number is unknown, since the fit then stops before its first step.
TEST(Cfdqr2, FitSuppliesStartValues) {
  const std::vector<double> x = {10, 11, 12, 13, 14}, y = {7, 9, 30, 12, 8};
  struct Case {
    std::vector<double> a, expected;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0}, {30, 13, 5, 7, 0}},
      {{-1, 99, 2}, {30, 13, 5}},
      {{20, 12, -3, 6}, {20, 12, 10, 6}},
      {{20, 12, 0, 6}, {20, 12, 0, 6}},
  };
  for (const Case& c : cases) {
    std::vector<double> a = c.a;
    const Cfdqr2Result r = cfdqr2_fit(x, y, a, 2);
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(a, c.expected);
  }
}

// The fitted position is tested against the abscissa range of the data, whatever its unit:
// a peak at 0.5 degrees stays fitted, a peak beyond the window's end is not fitted and
// keeps its fitted position.
TEST(Cfdqr2, FitReportsAPositionOutsideTheData) {
  const std::vector<double> degrees = axis(0.2, 0.01, 61);
  const std::vector<double> small = poisson_counts(Profile{{{false, 300, 0.5, 0.05}}, 10, 0}, degrees, 4);
  std::vector<double> a = {250, 0.48, 0.06, 8, 0};
  Cfdqr2Result r = cfdqr2_fit(degrees, small, a, kCfdqr2Gaussian);
  EXPECT_EQ(r.status, 0);
  EXPECT_NEAR(a[1], 0.5, 0.005);

  const std::vector<double> x = axis(0, 1, 30);
  const std::vector<double> flank = poisson_counts(Profile{{{false, 300, 35, 6}}, 10, 0}, x, 5);
  std::vector<double> b = {250, 25, 6, 10};
  std::vector<double> unchecked = b;
  ASSERT_EQ(CFDQR2(x, flank, unchecked, kCfdqr2Gaussian).status, 0);
  ASSERT_GT(unchecked[1], 29);
  r = cfdqr2_fit(x, flank, b, kCfdqr2Gaussian);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.message, "(warning) CFDQR2 : Peak position outside the data.");
  EXPECT_EQ(b, unchecked);
}

// Degenerate windows and values end with a status, and the message is empty exactly when
// the status is 0.
TEST(Cfdqr2, DegenerateDataEndWithAStatus) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const std::vector<double> x41 = axis(0, 1, 41);
  const std::vector<double> y41 = poisson_counts(Profile{{{true, 200, 20, 4}}, 10, 0}, x41, 3);
  std::vector<double> with_nan = y41, negative = y41, x_inf = x41;
  with_nan[7] = nan;
  negative[3] = -40;
  x_inf[40] = inf;
  struct Case {
    const char* name;
    std::vector<double> x, y, a;
  };
  const std::vector<Case> cases = {
      {"no points", {}, {}, {3, 1, 2, 1, 0}},
      {"one point", {1}, {4}, {3, 1, 2, 1, 0}},
      {"three points", {1, 2, 3}, {4, 9, 5}, {3, 2, 1, 1, 0}},
      {"NaN count", x41, with_nan, {200, 20, 4, 10, 0}},
      {"negative count", x41, negative, {200, 20, 4, 10, 0}},
      {"infinite abscissa", x_inf, y41, {200, 20, 4, 10, 0}},
      {"NaN position", x41, y41, {200, nan, 4, 10, 0}},
      {"zero width", x41, y41, {200, 20, 0, 10, 0}},
      {"zero amplitude", x41, y41, {0, 20, 4, 10, 0}},
      {"huge amplitude", x41, y41, {1e300, 20, 4, 10, 0}},
  };
  for (const Case& c : cases)
    for (int32_t model : {kCfdqr2Gaussian, kCfdqr2Lorentzian}) {
      std::vector<double> a = c.a;
      const Cfdqr2Result r = CFDQR2(c.x, c.y, a, model);
      EXPECT_EQ(r.status == 0, r.message.empty()) << c.name << " " << model << " " << r.message;
      a = c.a;
      const Cfdqr2Result f = cfdqr2_fit(c.x, c.y, a, model);
      EXPECT_EQ(f.status == 0, f.message.empty()) << c.name << " " << model << " " << f.message;
    }
}

}  // namespace
}  // namespace kestrin::test
