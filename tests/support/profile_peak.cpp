// Gaussian peak positions in profiles.
#include "support/profile_peak.h"

#include <algorithm>
#include <cmath>

namespace kestrin::test {

double gaussian_peak_index(const std::vector<double>& y, double guess, int window) {
  const int n = int(y.size());
  const int at = int(std::lround(guess));
  int best = std::clamp(at, 1, n - 2);
  for (int i = std::max(1, at - window); i <= std::min(n - 2, at + window); ++i)
    if (y[size_t(i)] > y[size_t(best)]) best = i;
  const double a = y[size_t(best) - 1], b = y[size_t(best)], c = y[size_t(best) + 1];
  if (!(a > 0 && b > 0 && c > 0)) return std::nan("");
  const double la = std::log(a), lb = std::log(b), lc = std::log(c);
  return best + 0.5 * (la - lc) / (la - 2 * lb + lc);
}

}  // namespace kestrin::test
