// CFDQR2: a single-peak profile fitted to counting data by maximising the Poisson
// likelihood, with damped Gauss-Newton steps steered like a trust region and each linear
// sub-problem solved by Householder QR; and cfdqr2_fit, which supplies start values.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrin {

// Model numbers: 1 Gaussian, 3 Lorentzian (a3 the half width at half maximum in both; a4
// the base from 4 parameters on, a5 the base slope from 5 on). Other numbers evaluate
// nothing, so the start is refused. The Gaussian is its base line more than about 29 half
// widths out; a Gaussian that far out at every point of the data is an overflow (status 6).
constexpr int32_t kCfdqr2Gaussian = 1;
constexpr int32_t kCfdqr2Lorentzian = 3;
constexpr int32_t kCfdqr2MaxPoints = 500;
constexpr int32_t kCfdqr2MaxParams = 10;

// The loop limits: accepted steps, and within one step the trial points without a valid
// likelihood and the trial points refused (counted together).
struct Cfdqr2Budget {
  int32_t outer_rounds = 100;
  int32_t invalid_trials = 100;
  int32_t refused_steps = 500;
};

struct Cfdqr2Result {
  int32_t status = 0;                // 0 converged; 2 a loop limit; 4 bad input or singular; 6 overflow
  std::string message;               // empty exactly when the fit converged
  std::vector<double> deviations;    // standard deviations of the parameters at the last trial point
};

// Fits a (3 to kCfdqr2MaxParams parameters) in place to the points (x, y), at most
// kCfdqr2MaxPoints of them. When it fails, a holds the last accepted parameters.
Cfdqr2Result CFDQR2(std::span<const double> x, std::span<const double> y, std::span<double> a, int32_t model,
                    const Cfdqr2Budget& budget = {});

// CFDQR2 with start values where the caller has none: when a1 <= 0, a1 = the largest y,
// a2 = x[0] + its point number counted from 1, a3 = 5, a4 = y[0], a5 = 0; a negative a3
// becomes 10. A converged position outside the abscissa range of the data is reported as
// not converged.
Cfdqr2Result cfdqr2_fit(std::span<const double> x, std::span<const double> y, std::span<double> a, int32_t model);

}  // namespace kestrin
