// Householder QR with column pivoting by relative remaining norm, and back substitution.
#include "analysis/householder_qr.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace kestrin {
namespace {

// Euclidean norm of column j over rows from..rows-1, scaled against overflow.
double column_norm(const FitMatrix& a, int32_t j, int32_t from) {
  double scale = 0;
  for (int32_t i = from; i < a.rows(); ++i) scale = std::fmax(scale, std::fabs(a(i, j)));
  if (!(scale > 0) || !std::isfinite(scale)) return scale;
  double sum = 0;
  for (int32_t i = from; i < a.rows(); ++i) {
    const double v = a(i, j) / scale;
    sum += v * v;
  }
  return scale * std::sqrt(sum);
}

// The column from k on whose remaining norm is largest relative to its initial norm; -1
// when none exceeds the tolerance.
int32_t pivot_column(const FitMatrix& a, int32_t k, const std::vector<double>& initial, double tolerance,
                     double* remaining) {
  int32_t best = -1;
  double best_ratio = tolerance;
  for (int32_t j = k; j < a.cols(); ++j) {
    const double norm = column_norm(a, j, k);
    const double ratio = initial[size_t(j)] > 0 ? norm / initial[size_t(j)] : 0.0;
    if (ratio > best_ratio) {
      best = j;
      best_ratio = ratio;
      *remaining = norm;
    }
  }
  return best;
}

void swap_columns(FitMatrix& a, int32_t c1, int32_t c2) {
  for (int32_t i = 0; i < a.rows(); ++i) std::swap(a(i, c1), a(i, c2));
}

// Reflects rows k.. of column k onto (alpha, 0, ..., 0) with alpha = -sign(a_kk) norm, and
// applies the same reflection to the later columns and to b.
void reflect(FitMatrix& a, std::vector<double>& b, int32_t k, double norm) {
  const int32_t m = a.rows();
  const double alpha = a(k, k) > 0 ? -norm : norm;
  std::vector<double> v(size_t(m - k));
  v[0] = a(k, k) - alpha;
  for (int32_t i = k + 1; i < m; ++i) v[size_t(i - k)] = a(i, k);
  const double vtv = std::inner_product(v.begin(), v.end(), v.begin(), 0.0);
  auto apply = [&](auto&& at) {
    double s = 0;
    for (int32_t i = k; i < m; ++i) s += v[size_t(i - k)] * at(i);
    const double f = 2 * s / vtv;
    for (int32_t i = k; i < m; ++i) at(i) -= f * v[size_t(i - k)];
  };
  for (int32_t j = k + 1; j < a.cols(); ++j) apply([&](int32_t i) -> double& { return a(i, j); });
  apply([&](int32_t i) -> double& { return b[size_t(i)]; });
  a(k, k) = alpha;
  for (int32_t i = k + 1; i < m; ++i) a(i, k) = 0;
}

}  // namespace

LeastSquaresSolution qr_least_squares(FitMatrix a, std::vector<double> b, double rank_tolerance) {
  const int32_t n = a.cols();
  const int32_t steps = std::min(a.rows(), n);
  std::vector<double> initial(static_cast<size_t>(n));
  std::vector<int32_t> perm(static_cast<size_t>(n));
  for (int32_t j = 0; j < n; ++j) {
    initial[size_t(j)] = column_norm(a, j, 0);
    perm[size_t(j)] = j;
  }
  LeastSquaresSolution s;
  s.x.assign(size_t(n), 0.0);
  if (b.size() != size_t(a.rows())) return s;
  for (int32_t k = 0; k < steps; ++k) {
    double norm = 0;
    const int32_t p = pivot_column(a, k, initial, rank_tolerance, &norm);
    if (p < 0) break;
    if (p != k) {
      swap_columns(a, k, p);
      std::swap(initial[size_t(k)], initial[size_t(p)]);
      std::swap(perm[size_t(k)], perm[size_t(p)]);
    }
    reflect(a, b, k, norm);
    s.rank = k + 1;
  }
  std::vector<double> z(size_t(s.rank));
  for (int32_t k = s.rank - 1; k >= 0; --k) {
    double t = b[size_t(k)];
    for (int32_t j = k + 1; j < s.rank; ++j) t -= a(k, j) * z[size_t(j)];
    z[size_t(k)] = t / a(k, k);
    s.gain += b[size_t(k)] * b[size_t(k)];
  }
  for (int32_t k = 0; k < s.rank; ++k) s.x[size_t(perm[size_t(k)])] = z[size_t(k)];
  return s;
}

}  // namespace kestrin
