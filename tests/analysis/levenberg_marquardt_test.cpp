// Levenberg-Marquardt: NIST StRD Eckerle4, recovery of exact peaks, the covariance in
// parameter order, the parameter-list checks and bad data that must end, not hang.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "analysis/gauss_jordan.h"
#include "analysis/levenberg_marquardt.h"
#include "support/peak_profile.h"

namespace kestrin::test {
namespace {

const std::vector<int32_t> kAllFive = {0, 1, 2, 3, 4};

struct Data {
  std::vector<double> x, y, sig;
  FitPoints points() const { return {x, y, sig}; }
};

Data with_unit_sig(std::vector<double> x, std::vector<double> y) {
  std::vector<double> sig(x.size(), 1.0);
  return {std::move(x), std::move(y), std::move(sig)};
}

double chi_square(const Data& d, const std::vector<double>& a, PeakModel model) {
  std::vector<double> dyda(a.size());
  double sum = 0;
  for (size_t i = 0; i < d.x.size(); ++i) {
    const double r = d.y[i] - model(d.x[i], a, dyda);
    sum += r * r;
  }
  return sum;
}

// NIST StRD Eckerle4: y = (b1 / b2) exp(-0.5 ((x - b3) / b2)^2), the Gaussian with
// a1 = b1 / b2, a2 = b3, a3 = b2 sqrt(2 ln 2); as certified and scaled by 1e4.
TEST(LevenbergMarquardt, EckerleFourFromTheSecondStartReachesTheCertifiedValues) {
  const std::vector<double> x = {400.0, 405.0, 410.0, 415.0, 420.0, 425.0, 430.0, 435.0, 436.5, 438.0, 439.5, 441.0,
                                 442.5, 444.0, 445.5, 447.0, 448.5, 450.0, 451.5, 453.0, 454.5, 456.0, 457.5, 459.0,
                                 460.5, 462.0, 463.5, 465.0, 470.0, 475.0, 480.0, 485.0, 490.0, 495.0, 500.0};
  const std::vector<double> y = {0.0001575, 0.0001699, 0.0002350, 0.0003102, 0.0004917, 0.0008710, 0.0017418,
                                 0.0046400, 0.0065895, 0.0097302, 0.0149002, 0.0237310, 0.0401683, 0.0712559,
                                 0.1264458, 0.2073413, 0.2902366, 0.3445623, 0.3698049, 0.3668534, 0.3106727,
                                 0.2078154, 0.1164354, 0.0616764, 0.0337200, 0.0194023, 0.0117831, 0.0074357,
                                 0.0022732, 0.0008800, 0.0004579, 0.0002345, 0.0001586, 0.0001143, 0.0000710};
  const double width = std::sqrt(2 * std::log(2.0));
  for (const double scale : {1.0, 1e4}) {
    std::vector<double> scaled;
    for (double v : y) scaled.push_back(v * scale);
    const Data d = with_unit_sig(x, scaled);
    std::vector<double> a = {scale * 1.5 / 5, 450, 5 * width};
    ASSERT_EQ(mrqfit(d.points(), a, std::vector<int32_t>{0, 1, 2}, gauss_model), 0) << scale;
    const double b2 = a[2] / width, b1 = a[0] / scale * b2, b3 = a[1];
    EXPECT_NEAR(b1, 1.5543827178, 1e-7 * 1.5543827178) << scale;
    EXPECT_NEAR(b2, 4.0888321754, 1e-7 * 4.0888321754) << scale;
    EXPECT_NEAR(b3, 451.54121844, 1e-7 * 451.54121844) << scale;
    EXPECT_NEAR(chi_square(d, a, gauss_model) / (scale * scale), 1.4635887487E-03, 1e-7 * 1.4635887487E-03) << scale;
  }

  // The first start settles in a local minimum; only that it ends is pinned here.
  const Data d = with_unit_sig(x, y);
  std::vector<double> a1 = {1 / 10.0, 500, 10 * width};
  const int32_t r = mrqfit(d.points(), a1, std::vector<int32_t>{0, 1, 2}, gauss_model);
  EXPECT_TRUE(r == 0 || r == -1);
}

// Noise-free peaks on a sloped base are found again from a start 10 % off.
TEST(LevenbergMarquardt, RecoversExactPeaksOnASlopedBase) {
  for (bool lorentzian : {false, true}) {
    const Profile p{{{lorentzian, 3000, 151.37, 2.4}}, 200, 0.75};
    const std::vector<double> x = axis(131, 1, 41);
    const Data d = with_unit_sig(x, exact_values(p, x));
    std::vector<double> a = {2700, 150.6, 2.9, 180, 0};
    ASSERT_EQ(mrqfit(d.points(), a, kAllFive, lorentzian ? lorentz_model : gauss_model), 0) << lorentzian;
    const std::vector<double> truth = {3000, 151.37, 2.4, 200, 0.75};
    for (size_t j = 0; j < 5; ++j) EXPECT_NEAR(a[j], truth[j], 1e-6 * std::fabs(truth[j])) << lorentzian << " " << j;
  }
}

// Data that the start already fits: chi-square stays 0, so the driver stops after four
// steps, and the finishing call leaves the inverse curvature in covar.
TEST(LevenbergMarquardt, ExactStartConvergesAndFinishesWithTheCovariance) {
  const std::vector<double> truth = {500, 20, 3, 10, 0.2};
  std::vector<double> x = axis(5, 0.5, 61), y;
  std::vector<double> dyda(5);
  for (double v : x) y.push_back(gauss_model(v, truth, dyda));
  const Data d = with_unit_sig(x, y);
  std::vector<double> a = truth;
  EXPECT_EQ(mrqfit(d.points(), a, kAllFive, gauss_model), 0);
  EXPECT_EQ(a, truth);

  // The covariance comes out in parameter order whatever order the list names them in.
  MrqState plain(kAllFive, 5), permuted(std::vector<int32_t>{2, 4, 0, 3, 1}, 5);
  for (MrqState* s : {&plain, &permuted}) {
    std::vector<double> b = truth;
    ASSERT_TRUE(mrqmin(d.points(), b, *s, gauss_model));
    s->lambda = 0;
    ASSERT_TRUE(mrqmin(d.points(), b, *s, gauss_model));
  }
  FitMatrix alpha(5, 5);
  std::vector<double> beta(5);
  double chisq = 0;
  mrqcof(d.points(), truth, kAllFive, 5, alpha, beta, chisq, gauss_model);
  ASSERT_EQ(gauss_jordan(alpha, 5, nullptr, 0), EliminationResult::kDone);
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 5; ++c) {
      const double tol = 1e-9 * std::sqrt(alpha(r, r) * alpha(c, c));
      EXPECT_NEAR(plain.covar(r, c), alpha(r, c), tol) << r << " " << c;
      EXPECT_NEAR(permuted.covar(r, c), alpha(r, c), tol) << r << " " << c;
    }
}

// The stop rule does not depend on the scale of the data: the same peak at amplitudes from
// 0.1 to 1e5 (noise-free, and with noise of the same relative size) gives the same position
// and width, and the certified Eckerle4 values come out of the unscaled data too.
TEST(LevenbergMarquardt, ResultDoesNotDependOnTheScaleOfTheData) {
  const std::vector<double> x = axis(-2, 0.1, 41);
  for (bool lorentzian : {false, true}) {
    const Profile unit{{{lorentzian, 1, 0.13, 0.5}}, 0.2, 0.01};
    const std::vector<double> noise = noisy_values(Profile{{}, 1, 0}, x, 5);
    std::vector<double> reference;
    for (double scale : {1e5, 1e3, 1.0, 0.1, 0.01}) {
      for (bool noisy : {false, true}) {
        std::vector<double> y = exact_values(unit, x);
        for (size_t i = 0; i < y.size(); ++i) y[i] = scale * (y[i] + (noisy ? 0.01 * (noise[i] - 1) : 0));
        const Data d = with_unit_sig(x, y);
        std::vector<double> a = {0.5 * scale, 0.4, 1.0, 0.1 * scale, 0};
        ASSERT_EQ(mrqfit(d.points(), a, kAllFive, lorentzian ? lorentz_model : gauss_model), 0) << scale;
        const std::vector<double> found = {a[0] / scale, a[1], a[2], a[3] / scale, a[4] / scale};
        if (!noisy) {
          const std::vector<double> truth = {1, 0.13, 0.5, 0.2, 0.01};
          for (size_t j = 0; j < 5; ++j) EXPECT_NEAR(found[j], truth[j], 1e-6) << lorentzian << " " << scale << " " << j;
          continue;
        }
        if (reference.empty()) reference = found;
        for (size_t j = 0; j < 5; ++j)
          EXPECT_NEAR(found[j], reference[j], 1e-6 * std::fabs(reference[j]) + 1e-9) << lorentzian << " " << scale << " " << j;
      }
    }
  }
}

// A list of fewer varied parameters keeps the others fixed and zeroes their covariance.
TEST(LevenbergMarquardt, FixedParametersStayAndHaveNoCovariance) {
  const Profile p{{{false, 900, 40.2, 1.8}}, 50, 0};
  const std::vector<double> x = axis(30, 0.5, 41);
  const Data d = with_unit_sig(x, exact_values(p, x));
  std::vector<double> a = {850, 40.0, 1.8, 50};
  MrqState s(std::vector<int32_t>{1, 0}, 4);
  ASSERT_TRUE(mrqmin(d.points(), a, s, gauss_model));
  EXPECT_EQ(s.lista, (std::vector<int32_t>{1, 0, 2, 3}));
  for (int step = 0; step < 30; ++step) mrqmin(d.points(), a, s, gauss_model);
  s.lambda = 0;
  mrqmin(d.points(), a, s, gauss_model);
  EXPECT_NEAR(a[0], 900, 1e-6);
  EXPECT_NEAR(a[1], 40.2, 1e-9);
  EXPECT_EQ(a[2], 1.8);
  EXPECT_EQ(a[3], 50);
  EXPECT_GT(s.covar(0, 0), 0);
  for (int32_t j = 0; j < 4; ++j) {
    EXPECT_EQ(s.covar(2, j), 0);
    EXPECT_EQ(s.covar(j, 3), 0);
  }
}

TEST(LevenbergMarquardt, BadParameterListsAreRefusedWithTheirMessage) {
  const std::vector<double> x = axis(0, 1, 10);
  const Data d = with_unit_sig(x, std::vector<double>(10, 1.0));
  struct Case {
    std::vector<int32_t> lista;
    const char* message;
  };
  const Case cases[] = {
      {{0, 1, 1, 3, 4}, "Bad lista permutation in mrqmin-1"},
      {{0, 1, 2, 3, 7}, "Bad lista permutation in mrqmin-2"},
      {{0, 1, 2, 3, -1}, "Bad lista permutation in mrqmin-2"},
      {{0, 1, 2, 3, 4, 2}, "Bad lista permutation in mrqmin-1"},
  };
  for (const Case& c : cases) {
    std::vector<double> a = {1, 5, 2, 0, 0};
    MrqState s(c.lista, 5);
    EXPECT_FALSE(mrqmin(d.points(), a, s, gauss_model));
    EXPECT_EQ(s.last_error, c.message);
    std::string error;
    EXPECT_EQ(mrqfit(d.points(), a, c.lista, gauss_model, &error), -1);
    EXPECT_EQ(error, c.message);
  }
  // Without a successful start nothing is computed.
  std::vector<double> a = {1, 5, 2, 0, 0};
  MrqState s(kAllFive, 5);
  s.lambda = 0.5;
  EXPECT_FALSE(mrqmin(d.points(), a, s, gauss_model));
}

// Bad data and parameters end with a result; they never hang or read out of bounds.
TEST(LevenbergMarquardt, DegenerateFitsEnd) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Profile p{{{false, 400, 10, 2}}, 20, 0};
  const std::vector<double> x = axis(0, 1, 21);
  const Data d = with_unit_sig(x, exact_values(p, x));

  std::vector<double> a = {400, nan, 2, 20, 0};
  EXPECT_EQ(mrqfit(d.points(), a, kAllFive, gauss_model), -1);

  // A zero half width gives the amplitude, position and width no gradient: every step is
  // singular and goes on with what the elimination left, as the classic method does.
  std::string error;
  a = {400, 10.5, 0, 20, 0};
  mrqfit(d.points(), a, kAllFive, gauss_model, &error);
  EXPECT_EQ(error, "gaussj:Singular Matrix-2");
  EXPECT_EQ(a[2], 0);
  // The error belongs to its fit: the next fit, which meets none, reports none.
  std::vector<double> near = {390, 10.2, 2.1, 20, 0};
  EXPECT_EQ(mrqfit(d.points(), near, kAllFive, gauss_model, &error), 0);
  EXPECT_EQ(error, "");
  // At a point on the centre the zero width gives 0 / 0: chi-square is NaN and never settles.
  a = {400, 10, 0, 20, 0};
  EXPECT_EQ(mrqfit(d.points(), a, kAllFive, gauss_model), -1);

  // Fewer points than varied parameters, and data of unequal lengths, are refused.
  const Data four = with_unit_sig(axis(0, 1, 4), {1, 2, 3, 4});
  a = {4, 3, 1, 0, 0};
  EXPECT_EQ(mrqfit(four.points(), a, kAllFive, lorentz_model), -1);
  const std::vector<double> one = {1.0};
  EXPECT_EQ(mrqfit(FitPoints{x, one, one}, a, kAllFive, lorentz_model), -1);
  const std::vector<double> empty;
  EXPECT_EQ(mrqfit(FitPoints{empty, empty, empty}, a, kAllFive, lorentz_model), -1);
}

}  // namespace
}  // namespace kestrin::test
