// Checks shared by the fitting tests: the Poisson score of a fitted profile.
#pragma once

#include <cmath>
#include <span>
#include <vector>

#include "analysis/cfdqr2.h"
#include "analysis/peak_models.h"

namespace kestrin::test {

inline PeakModel cfdqr2_profile(int32_t model) { return model == kCfdqr2Lorentzian ? lorentz_model : gauss_model; }

// Score of the Poisson likelihood, sum of (y / f - 1) df/da_j, times the deviation sd_j:
// about the Newton step still to go, in deviations; near 0 at the maximum.
inline std::vector<double> scaled_score(std::span<const double> x, std::span<const double> y,
                                        const std::vector<double>& a, const std::vector<double>& sd, int32_t model) {
  std::vector<double> score(a.size()), dyda(a.size());
  for (size_t i = 0; i < x.size(); ++i) {
    const double f = cfdqr2_profile(model)(x[i], a, dyda);
    for (size_t j = 0; j < a.size(); ++j) score[j] += (y[i] / f - 1) * dyda[j];
  }
  for (size_t j = 0; j < a.size(); ++j) score[j] *= sd[j];
  return score;
}

}  // namespace kestrin::test
