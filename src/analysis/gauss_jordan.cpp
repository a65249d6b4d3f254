// Gauss-Jordan elimination with full pivoting, in the textbook loop order.
#include "analysis/gauss_jordan.h"

#include <cmath>
#include <utility>
#include <vector>

namespace kestrin {
namespace {

void swap_rows(FitMatrix& a, int32_t r1, int32_t r2, int32_t cols) {
  for (int32_t l = 0; l < cols; ++l) std::swap(a(r1, l), a(r2, l));
}

// Divides row p by its pivot and subtracts it from every other row, in a and in b.
void eliminate_column(FitMatrix& a, int32_t n, FitMatrix* b, int32_t m, int32_t p) {
  const double pivinv = 1.0 / a(p, p);
  a(p, p) = 1.0;
  for (int32_t l = 0; l < n; ++l) a(p, l) *= pivinv;
  for (int32_t l = 0; l < m; ++l) (*b)(p, l) *= pivinv;
  for (int32_t ll = 0; ll < n; ++ll) {
    if (ll == p) continue;
    const double dum = a(ll, p);
    a(ll, p) = 0.0;
    for (int32_t l = 0; l < n; ++l) a(ll, l) -= a(p, l) * dum;
    for (int32_t l = 0; l < m; ++l) (*b)(ll, l) -= (*b)(p, l) * dum;
  }
}

}  // namespace

EliminationResult gauss_jordan(FitMatrix& a, int32_t n, FitMatrix* b, int32_t m, double* determinant) {
  if (!b) m = 0;
  std::vector<int32_t> indxc(static_cast<size_t>(n)), indxr(static_cast<size_t>(n)), ipiv(static_cast<size_t>(n), 0);
  int32_t irow = 0, icol = 0;
  double det = 1.0;
  if (determinant) *determinant = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    double big = 0.0;
    for (int32_t j = 0; j < n; ++j) {
      if (ipiv[size_t(j)] == 1) continue;
      for (int32_t k = 0; k < n; ++k) {
        if (ipiv[size_t(k)] > 1) return EliminationResult::kPivotUsedTwice;
        if (ipiv[size_t(k)] == 0 && std::fabs(a(j, k)) >= big) {
          big = std::fabs(a(j, k));
          irow = j;
          icol = k;
        }
      }
    }
    ++ipiv[size_t(icol)];
    if (irow != icol) {
      swap_rows(a, irow, icol, n);
      if (m > 0) swap_rows(*b, irow, icol, m);
      det = -det;
    }
    indxr[size_t(i)] = irow;
    indxc[size_t(i)] = icol;
    if (a(icol, icol) == 0.0) return EliminationResult::kZeroPivot;
    det *= a(icol, icol);
    eliminate_column(a, n, b, m, icol);
  }
  for (int32_t l = n - 1; l >= 0; --l) {
    if (indxr[size_t(l)] == indxc[size_t(l)]) continue;
    for (int32_t k = 0; k < n; ++k) std::swap(a(k, indxr[size_t(l)]), a(k, indxc[size_t(l)]));
  }
  if (determinant) *determinant = det;
  return EliminationResult::kDone;
}

bool gaussj(FitMatrix& a, int32_t n, FitMatrix& b, int32_t m, std::string& error) {
  switch (gauss_jordan(a, n, &b, m)) {
    case EliminationResult::kDone:
      return true;
    case EliminationResult::kPivotUsedTwice:
      error = "gaussj:Singular Matrix-01";
      return false;
    case EliminationResult::kZeroPivot:
      error = "gaussj:Singular Matrix-2";
      return false;
  }
  return false;
}

}  // namespace kestrin
