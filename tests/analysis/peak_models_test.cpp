// The Gaussian and Lorentzian profiles: half maximum at one half width, derivatives against
// central differences, the Gaussian's far tail and the Lorentzian of zero width.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/peak_models.h"

namespace kestrin::test {
namespace {

struct ModelCase {
  const char* name;
  PeakModel model;
};
const ModelCase kModels[] = {{"gauss", gauss_model}, {"lorentz", lorentz_model}};

double value(PeakModel model, double x, std::vector<double> a) {
  std::vector<double> dyda(a.size());
  return model(x, a, dyda);
}

TEST(PeakModels, ReachHalfHeightAtOneHalfWidthOnTheBaseLine) {
  const std::vector<double> a = {800, 412.5, 3.25, 40, 0.5};
  for (const ModelCase& m : kModels) {
    EXPECT_DOUBLE_EQ(value(m.model, 412.5, a), 800 + 40 + 0.5 * 412.5) << m.name;
    for (double x : {412.5 - 3.25, 412.5 + 3.25})
      EXPECT_NEAR(value(m.model, x, a) - (40 + 0.5 * x), 400, 1e-9) << m.name << " " << x;
  }
}

// Derivatives against central differences, over the parameter counts 3 to 5 and points on
// both flanks, at the centre and in the tails.
TEST(PeakModels, DerivativesMatchCentralDifferences) {
  const std::vector<double> full = {1200, 51.3, 2.7, 35, -0.8};
  for (const ModelCase& m : kModels)
    for (size_t ma = 3; ma <= 5; ++ma)
      for (double x : {40.0, 49.9, 51.3, 52.0, 56.5, 70.0}) {
        std::vector<double> a(full.begin(), full.begin() + ptrdiff_t(ma)), dyda(ma);
        m.model(x, a, dyda);
        for (size_t j = 0; j < ma; ++j) {
          const double h = 1e-6 * std::fmax(1, std::fabs(a[j]));
          std::vector<double> up = a, down = a;
          up[j] += h;
          down[j] -= h;
          const double numeric = (value(m.model, x, up) - value(m.model, x, down)) / (2 * h);
          EXPECT_NEAR(dyda[j], numeric, 1e-6 * std::fmax(1, std::fabs(numeric)))
              << m.name << " ma " << ma << " x " << x << " slot " << j;
        }
      }
}

// Past |e| = 600 the Gaussian is its base line, slope included, and keeps the base
// derivatives; just inside, the peak term is below 1e-260, so the curve does not jump.
TEST(PeakModels, GaussianFarTailIsTheBaseLineWithItsSlope) {
  const double far = 10 + 2 * 29.5;  // e = -ln 2 29.5^2 < -600
  struct Case {
    std::vector<double> a;
    double expected;
  };
  const Case cases[] = {
      {{1000, 10, 2}, 0},
      {{1000, 10, 2, 30}, 30},
      {{1000, 10, 2, 30, 0.5}, 30 + 0.5 * far},
  };
  for (const Case& c : cases) {
    std::vector<double> dyda(c.a.size(), -1);
    EXPECT_DOUBLE_EQ(gauss_model(far, c.a, dyda), c.expected) << c.a.size();
    EXPECT_EQ(dyda[0], 0);
    EXPECT_EQ(dyda[1], 0);
    EXPECT_EQ(dyda[2], 0);
    if (c.a.size() > 3) {
      EXPECT_EQ(dyda[3], 1);
    }
    if (c.a.size() > 4) {
      EXPECT_EQ(dyda[4], far);
    }
  }
  const std::vector<double> a = {1000, 10, 2, 30, 0.5};
  const double inside = 10 + 2 * 29.4;
  EXPECT_NEAR(value(gauss_model, inside, a), 30 + 0.5 * inside, 1e-200);
}

TEST(PeakModels, LorentzianOfZeroWidthIsAmplitudeOnTheBaseEverywhere) {
  const std::vector<double> a = {250, 7, 0, 12, 2};
  for (double x : {-3.0, 7.0, 100.0}) {
    std::vector<double> dyda(5);
    EXPECT_DOUBLE_EQ(lorentz_model(x, a, dyda), 250 + 12 + 2 * x);
    EXPECT_EQ(dyda, (std::vector<double>{1, 0, 0, 1, x}));
  }
}

}  // namespace
}  // namespace kestrin::test
