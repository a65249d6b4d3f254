// Gauss-Jordan elimination: inverse, solution and determinant against cofactor expansion,
// and the state and message it leaves on singular and NaN matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/gauss_jordan.h"

namespace kestrin::test {
namespace {

FitMatrix matrix(const std::vector<std::vector<double>>& rows) {
  FitMatrix m(int32_t(rows.size()), int32_t(rows[0].size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) m(int32_t(r), int32_t(c)) = rows[r][c];
  return m;
}

// The slow, obvious determinant: expansion along the first row.
double cofactor_determinant(const FitMatrix& m) {
  const int32_t n = m.rows();
  if (n == 1) return m(0, 0);
  double det = 0;
  for (int32_t c = 0; c < n; ++c) {
    FitMatrix minor(n - 1, n - 1);
    for (int32_t r = 1; r < n; ++r)
      for (int32_t k = 0, mk = 0; k < n; ++k)
        if (k != c) minor(r - 1, mk++) = m(r, k);
    det += (c % 2 ? -1 : 1) * m(0, c) * cofactor_determinant(minor);
  }
  return det;
}

TEST(GaussJordan, InvertsSolvesAndGivesTheDeterminant) {
  const std::vector<std::vector<std::vector<double>>> cases = {
      {{4}},
      {{0, 2}, {3, 1}},                                        // needs an interchange
      {{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}},                   // symmetric positive
      {{1, 1.0 / 2, 1.0 / 3, 1.0 / 4}, {1.0 / 2, 1.0 / 3, 1.0 / 4, 1.0 / 5},
       {1.0 / 3, 1.0 / 4, 1.0 / 5, 1.0 / 6}, {1.0 / 4, 1.0 / 5, 1.0 / 6, 1.0 / 7}},  // Hilbert
      {{0, 0, 3, 1, 2}, {5, 1, 0, 0, 1}, {1, 7, 1, 0, 0}, {0, 2, 0, 6, 1}, {1, 0, 1, 1, 0}},
  };
  for (const auto& rows : cases) {
    const FitMatrix a0 = matrix(rows);
    const int32_t n = a0.rows();
    FitMatrix inv = a0, b(n, 2);
    for (int32_t i = 0; i < n; ++i) {
      b(i, 0) = i + 1.0;
      b(i, 1) = 1.0 - i;
    }
    const FitMatrix b0 = b;
    double det = 0;
    ASSERT_EQ(gauss_jordan(inv, n, &b, 2, &det), EliminationResult::kDone) << n;
    const double ref = cofactor_determinant(a0);
    EXPECT_NEAR(det, ref, 1e-10 * std::fabs(ref)) << n;
    for (int32_t r = 0; r < n; ++r) {
      for (int32_t c = 0; c < n; ++c) {
        double sum = 0;
        for (int32_t k = 0; k < n; ++k) sum += a0(r, k) * inv(k, c);
        EXPECT_NEAR(sum, r == c ? 1 : 0, 1e-9) << n << " " << r << " " << c;
      }
      for (int32_t c = 0; c < 2; ++c) {
        double sum = 0;
        for (int32_t k = 0; k < n; ++k) sum += a0(r, k) * b(k, c);
        EXPECT_NEAR(sum, b0(r, c), 1e-9) << n << " rhs " << c;
      }
    }
  }
}

// The first pass pivots on the 4 and eliminates its column; the second finds only a zero
// and stops, leaving exactly this partial state for the caller to go on with.
TEST(GaussJordan, SingularMatrixStopsWithItsPartialState) {
  std::string error;
  FitMatrix a = matrix({{1, 2}, {2, 4}}), b = matrix({{1}, {1}});
  EXPECT_FALSE(gaussj(a, 2, b, 1, error));
  EXPECT_EQ(error, "gaussj:Singular Matrix-2");
  EXPECT_EQ(a(0, 0), 0);
  EXPECT_EQ(a(0, 1), -0.5);
  EXPECT_EQ(a(1, 0), 0.5);
  EXPECT_EQ(a(1, 1), 0.25);
  EXPECT_EQ(b(0, 0), 0.5);
  EXPECT_EQ(b(1, 0), 0.25);

  FitMatrix zero(3, 3), rhs(3, 1);
  double det = 1;
  EXPECT_EQ(gauss_jordan(zero, 3, &rhs, 1, &det), EliminationResult::kZeroPivot);
  EXPECT_EQ(det, 0);
}

TEST(GaussJordan, NanMatrixReportsAPivotUsedTwice) {
  std::string error;
  FitMatrix a(5, 5), b(5, 1);
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 5; ++c) a(r, c) = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(gaussj(a, 5, b, 1, error));
  EXPECT_EQ(error, "gaussj:Singular Matrix-01");
}

}  // namespace
}  // namespace kestrin::test
