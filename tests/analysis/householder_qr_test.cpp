// Householder QR least squares: NIST StRD Longley, the normal equations as a slow
// reference, rank deficiency and column scales.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/gauss_jordan.h"
#include "analysis/householder_qr.h"

namespace kestrin::test {
namespace {

// Longley: rows y, x1..x6; the design is 1, x1..x6.
const double kLongley[16][7] = {
    {60323, 83.0, 234289, 2356, 1590, 107608, 1947}, {61122, 88.5, 259426, 2325, 1456, 108632, 1948},
    {60171, 88.2, 258054, 3682, 1616, 109773, 1949}, {61187, 89.5, 284599, 3351, 1650, 110929, 1950},
    {63221, 96.2, 328975, 2099, 3099, 112075, 1951}, {63639, 98.1, 346999, 1932, 3594, 113270, 1952},
    {64989, 99.0, 365385, 1870, 3547, 115094, 1953}, {63761, 100.0, 363112, 3578, 3350, 116219, 1954},
    {66019, 101.2, 397469, 2904, 3048, 117388, 1955}, {67857, 104.6, 419180, 2822, 2857, 118734, 1956},
    {68169, 108.4, 442769, 2936, 2798, 120445, 1957}, {66513, 110.8, 444546, 4681, 2637, 121950, 1958},
    {68655, 112.6, 482704, 3813, 2552, 123366, 1959}, {69564, 114.2, 502601, 3931, 2514, 125368, 1960},
    {69331, 115.7, 518173, 4806, 2572, 127852, 1961}, {70551, 116.9, 554894, 4007, 2827, 130081, 1962},
};

double residual_sum(const FitMatrix& a, const std::vector<double>& b, const std::vector<double>& x) {
  double sum = 0;
  for (int32_t i = 0; i < a.rows(); ++i) {
    double r = b[size_t(i)];
    for (int32_t j = 0; j < a.cols(); ++j) r -= a(i, j) * x[size_t(j)];
    sum += r * r;
  }
  return sum;
}

TEST(HouseholderQr, LongleyReachesTheCertifiedValues) {
  FitMatrix a(16, 7);
  std::vector<double> b(16);
  for (int32_t i = 0; i < 16; ++i) {
    b[size_t(i)] = kLongley[i][0];
    a(i, 0) = 1;
    for (int32_t j = 1; j < 7; ++j) a(i, j) = kLongley[i][j];
  }
  const LeastSquaresSolution s = qr_least_squares(a, b);
  const double certified[7] = {-3482258.63459582, 15.0618722713733,   -0.0358191792925910, -2.02022980381683,
                               -1.03322686717359, -0.0511041056535807, 1829.15146461355};
  EXPECT_EQ(s.rank, 7);
  for (int32_t j = 0; j < 7; ++j)
    EXPECT_NEAR(s.x[size_t(j)], certified[j], 1e-9 * std::fabs(certified[j])) << "b" << j;
  EXPECT_NEAR(residual_sum(a, b, s.x), 836424.055505915, 1e-9 * 836424.055505915);
  double total = 0;
  for (double v : b) total += v * v;
  EXPECT_NEAR(s.gain, total - 836424.055505915, 1e-9 * total);
}

// Random tall systems against the normal equations solved by Gauss-Jordan; one column
// scaled by 1e8 changes only its own coefficient, because pivots compare relative norms.
TEST(HouseholderQr, AgreesWithTheNormalEquationsWhateverTheColumnScales) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-1, 1);
  for (auto [m, n] : {std::pair{5, 5}, std::pair{12, 3}, std::pair{40, 7}, std::pair{200, 10}}) {
    FitMatrix a(m, n);
    std::vector<double> b(static_cast<size_t>(m));
    for (int32_t i = 0; i < m; ++i) {
      b[size_t(i)] = u(rng);
      for (int32_t j = 0; j < n; ++j) a(i, j) = u(rng);
    }
    FitMatrix normal(n, n), rhs(n, 1);
    for (int32_t j = 0; j < n; ++j) {
      for (int32_t i = 0; i < m; ++i) rhs(j, 0) += a(i, j) * b[size_t(i)];
      for (int32_t k = 0; k < n; ++k)
        for (int32_t i = 0; i < m; ++i) normal(j, k) += a(i, j) * a(i, k);
    }
    ASSERT_EQ(gauss_jordan(normal, n, &rhs, 1), EliminationResult::kDone);
    const LeastSquaresSolution s = qr_least_squares(a, b);
    EXPECT_EQ(s.rank, n);
    for (int32_t j = 0; j < n; ++j) EXPECT_NEAR(s.x[size_t(j)], rhs(j, 0), 1e-9) << m << "x" << n << " " << j;

    FitMatrix scaled = a;
    for (int32_t i = 0; i < m; ++i) scaled(i, n - 1) *= 1e8;
    const LeastSquaresSolution t = qr_least_squares(scaled, b);
    for (int32_t j = 0; j < n; ++j) {
      const double expected = j == n - 1 ? s.x[size_t(j)] * 1e-8 : s.x[size_t(j)];
      EXPECT_NEAR(t.x[size_t(j)], expected, 1e-9 * std::fmax(std::fabs(expected), 1e-8)) << m << "x" << n << " " << j;
    }
  }
}

// A copy of a column, a multiple of it and a zero column add nothing: the rank stops short,
// the dependent columns get 0, and the residual is the full-rank one.
TEST(HouseholderQr, DependentColumnsFallBeyondTheRank) {
  FitMatrix base(6, 2);
  std::vector<double> b = {1, 3, 2, 5, 4, 6};
  for (int32_t i = 0; i < 6; ++i) {
    base(i, 0) = 1;
    base(i, 1) = i;
  }
  const LeastSquaresSolution full = qr_least_squares(base, b);
  const double best = residual_sum(base, b, full.x);
  for (double factor : {1.0, -3e6, 0.0}) {
    FitMatrix a(6, 3);
    for (int32_t i = 0; i < 6; ++i) {
      a(i, 0) = base(i, 0);
      a(i, 1) = factor * base(i, 1);
      a(i, 2) = base(i, 1);
    }
    const LeastSquaresSolution s = qr_least_squares(a, b);
    EXPECT_EQ(s.rank, 2) << factor;
    EXPECT_NEAR(residual_sum(a, b, s.x), best, 1e-9 * best) << factor;
    EXPECT_EQ(s.x[1] * s.x[2], 0) << factor;
  }
}

TEST(HouseholderQr, WideAndEmptySystemsEnd) {
  FitMatrix wide(2, 3);
  wide(0, 0) = 1;
  wide(0, 1) = 2;
  wide(1, 2) = 3;
  const LeastSquaresSolution s = qr_least_squares(wide, {4, 6});
  EXPECT_EQ(s.rank, 2);
  EXPECT_NEAR(residual_sum(wide, {4, 6}, s.x), 0, 1e-20);
  EXPECT_EQ(qr_least_squares(FitMatrix(0, 3), {}).rank, 0);
  EXPECT_EQ(qr_least_squares(FitMatrix(3, 2), {1, 2}).rank, 0);  // b of the wrong length
}

}  // namespace
}  // namespace kestrin::test
