// Linear least squares by Householder QR with column pivoting: the sub-problem solver of the
// Poisson-likelihood fit.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/fit_matrix.h"

namespace kestrin {

// Columns whose remaining norm falls to this fraction of their initial norm are dependent.
constexpr double kQrRankTolerance = 1e-10;

struct LeastSquaresSolution {
  std::vector<double> x;  // one value per column; 0 for the columns beyond the numerical rank
  int32_t rank = 0;
  // Sum of squares of Q^T b over the first rank rows: the part of |b|^2 that A x explains.
  double gain = 0;
};

// Minimises |A x - b| (b has A's row count). Each reflection takes the column whose remaining
// norm is largest relative to its initial norm, so the choice does not depend on the
// columns' scales; the factorisation stops when that ratio is at most rank_tolerance, and
// back substitution solves over the columns taken so far.
LeastSquaresSolution qr_least_squares(FitMatrix a, std::vector<double> b, double rank_tolerance = kQrRankTolerance);

}  // namespace kestrin
