// The Poisson-likelihood peak fit: model evaluation, likelihood, the weighted design, the
// damped QR steps with their gain-ratio steering, the sandwich deviations and the status
// and message table.
#include "analysis/cfdqr2.h"

#include <algorithm>
#include <cmath>

#include "analysis/fit_matrix.h"
#include "analysis/gauss_jordan.h"
#include "analysis/householder_qr.h"
#include "analysis/peak_models.h"

namespace kestrin {
namespace {

constexpr int32_t kStatusWarning = 2;
constexpr int32_t kStatusError = 4;
// A model evaluation of this status or more ends the fit with that status.
constexpr int32_t kModelOverflow = 6;
constexpr int32_t kModelFatal = 5;

constexpr double kLikelihoodTolerance = 1e-7;
constexpr double kDeviationTolerance = 1e-6;
constexpr double kParameterTolerance = 1e-10;
constexpr double kLowGain = 0.25, kHighGain = 0.75;
// Above this count ln(y!) comes from Stirling's formula.
constexpr double kExactFactorialLimit = 50;

constexpr const char* kManyData = "(error) CFDQR2 : Many Data!";
constexpr const char* kBadParameterCount = "(error) CFDQR2 : Bad number of coefficients!";
constexpr const char* kStartOverflow = "(error) CFDQR2 :初期fGaussのエラー";
constexpr const char* kTrialOverflow = "(error) CFDQR2 :係数アウト！";
constexpr const char* kBadStart = "(error) CFDQR2: 係数の初期値が不適切。";
constexpr const char* kSingular = "(error) CFDQR2: 行列式の値が０になった。データ入力ミス、または係数が多い。";
constexpr const char* kInvalidTrials = "(warning) CFDQR2: 内側ループが100回を超えた。計算中止。";
constexpr const char* kRefusedSteps = "(warning) CFDQR2: 内側ループが100回を超えた。計算中止";
constexpr const char* kOuterRounds = "(warning) CFDQR2: 外側ループが100回を超えた。計算打ち切り";
constexpr const char* kPositionOutside = "(warning) CFDQR2 : Peak position outside the data.";

// Values f and derivatives g (one row per point) of the model at one parameter set.
struct ModelValues {
  std::vector<double> f;
  FitMatrix g;
};

// Evaluates the model at every point; returns the model status. Unknown models leave f and
// g at 0. Where a Gaussian's exponent is beyond its limit (about 29 half widths out) the
// peak is below any count and the model is its base line there, as gauss_model has it;
// only a Gaussian beyond the limit at every point is an overflow (kModelOverflow): its peak
// has left the window, and the fit could not move it back. A window that reaches far into
// the base line is no reason to refuse the fit.
int32_t evaluate(int32_t model, std::span<const double> x, std::span<const double> a, ModelValues& out) {
  const auto n = int32_t(x.size());
  out.f.assign(size_t(n), 0.0);
  out.g = FitMatrix(n, int32_t(a.size()));
  if (model != kCfdqr2Gaussian && model != kCfdqr2Lorentzian) return 0;
  bool peak_in_window = false;
  for (int32_t i = 0; i < n; ++i) {
    const double xi = x[size_t(i)];
    if (model == kCfdqr2Gaussian) {
      peak_in_window = peak_in_window || !(std::fabs(gauss_exponent(xi, a)) >= kGaussExponentLimit);
      out.f[size_t(i)] = gauss_model(xi, a, out.g.row(i));
    } else {
      out.f[size_t(i)] = lorentz_model(xi, a, out.g.row(i));
    }
  }
  return model == kCfdqr2Gaussian && n > 0 && !peak_in_window ? kModelOverflow : 0;
}

// L = sum of (y ln f - f); false when a model value is not positive or L is not finite.
bool log_likelihood(std::span<const double> y, const std::vector<double>& f, double& L) {
  L = 0;
  for (size_t i = 0; i < y.size(); ++i) {
    if (!(f[i] > 0)) return false;
    L += y[i] * std::log(f[i]) - f[i];
  }
  return std::isfinite(L);
}

// ln(y!): the sum of ln k up to Trunc(y) for small counts, Stirling's formula above.
double log_factorial(double y) {
  if (!(y > 1)) return 0;
  if (y > kExactFactorialLimit)
    return (y + 0.5) * std::log(y) - y + 0.5 * std::log(2 * 3.14159265358979323846) + 1 / (12 * y);
  double sum = 0;
  for (int32_t k = 2; k <= int32_t(y); ++k) sum += std::log(double(k));
  return sum;
}

// Inverts an n x n matrix in place; false when its determinant is 0.
bool invert(FitMatrix& m) {
  double det = 0;
  return gauss_jordan(m, m.rows(), nullptr, 0, &det) == EliminationResult::kDone && det != 0;
}

// One fit in progress.
struct Fit {
  std::span<const double> x, y;
  std::span<double> a;
  int32_t model = 0;
  Cfdqr2Budget budget;
  int32_t n = 0, ma = 0;
  double L = 0, S = 0, mu = 0, mu_min = 0;
  ModelValues at;  // model at a
  Cfdqr2Result result;
};

Cfdqr2Result& fail(Fit& fit, int32_t status, const char* message) {
  fit.result.status = status;
  fit.result.message = message;
  return fit.result;
}

// The weighted, column-scaled design J (with ma zero rows below for the damping), the
// weighted residuals r (zeros below) and the column scales s at the current point. False
// when a column has no weight: the normal matrix would be singular.
bool weighted_design(const Fit& fit, FitMatrix& J, std::vector<double>& r, std::vector<double>& s) {
  J = FitMatrix(fit.n + fit.ma, fit.ma);
  r.assign(size_t(fit.n + fit.ma), 0.0);
  s.assign(size_t(fit.ma), 0.0);
  for (int32_t i = 0; i < fit.n; ++i) {
    const double w = 1 / std::sqrt(fit.at.f[size_t(i)]);
    r[size_t(i)] = (fit.y[size_t(i)] - fit.at.f[size_t(i)]) * w;
    for (int32_t j = 0; j < fit.ma; ++j) J(i, j) = w * fit.at.g(i, j);
  }
  for (int32_t j = 0; j < fit.ma; ++j) {
    double sum = 0;
    for (int32_t i = 0; i < fit.n; ++i) sum += J(i, j) * J(i, j);
    if (!(sum > 0) || !std::isfinite(sum)) return false;
    s[size_t(j)] = 1 / std::sqrt(sum);
    for (int32_t i = 0; i < fit.n; ++i) J(i, j) *= s[size_t(j)];
  }
  return true;
}

// mu_min = 1 / trace of (J^T J)^-1 over the data rows of J; false when it is singular.
bool damping_floor(const FitMatrix& J, Fit& fit) {
  FitMatrix A(fit.ma, fit.ma);
  for (int32_t j = 0; j < fit.ma; ++j)
    for (int32_t k = 0; k < fit.ma; ++k) {
      double sum = 0;
      for (int32_t i = 0; i < fit.n; ++i) sum += J(i, j) * J(i, k);
      A(j, k) = sum;
    }
  if (!invert(A)) return false;
  double trace = 0;
  for (int32_t j = 0; j < fit.ma; ++j) trace += A(j, j);
  fit.mu_min = 1 / trace;
  return true;
}

// Sandwich deviations at a trial point: with H = -sum y g g^T / f^2,
// sd_j = sqrt(sum over points of y (H^-1 g / f)_j^2). False when H is singular.
bool deviations(const Fit& fit, const ModelValues& t, std::vector<double>& sd) {
  FitMatrix H(fit.ma, fit.ma);
  for (int32_t i = 0; i < fit.n; ++i) {
    const double w = fit.y[size_t(i)] / (t.f[size_t(i)] * t.f[size_t(i)]);
    for (int32_t j = 0; j < fit.ma; ++j)
      for (int32_t k = 0; k < fit.ma; ++k) H(j, k) -= w * t.g(i, j) * t.g(i, k);
  }
  if (!invert(H)) return false;
  sd.assign(size_t(fit.ma), 0.0);
  for (int32_t j = 0; j < fit.ma; ++j) {
    double sum = 0;
    for (int32_t i = 0; i < fit.n; ++i) {
      double h = 0;
      for (int32_t k = 0; k < fit.ma; ++k) h += H(j, k) * t.g(i, k);
      h /= t.f[size_t(i)];
      sum += fit.y[size_t(i)] * h * h;
    }
    sd[size_t(j)] = std::sqrt(sum);
  }
  return true;
}

bool converged(const Fit& fit, double Lt, std::span<const double> d, std::span<const double> trial,
               const std::vector<double>& sd) {
  if (!(std::fabs(Lt - fit.L) <= kLikelihoodTolerance * std::fabs(Lt - fit.S))) return false;
  for (int32_t j = 0; j < fit.ma; ++j) {
    const double bound = std::fmax(kDeviationTolerance * sd[size_t(j)], kParameterTolerance * std::fabs(trial[size_t(j)]));
    if (!(std::fabs(d[size_t(j)]) <= bound)) return false;
  }
  return true;
}

// The damping after an accepted step of gain ratio rho.
void steer_accepted(Fit& fit, double rho) {
  if (rho < kLowGain) {
    fit.mu = std::max(2 * fit.mu, fit.mu_min);
  } else if (rho >= kHighGain) {
    fit.mu /= 2;
    if (fit.mu < fit.mu_min) fit.mu = 0;
  }
}

// The damping after a refused step of gain ratio rho < 0.
void steer_refused(Fit& fit, double rho) {
  const double factor = std::max(2.0, std::min(10.0, 2 - rho));
  fit.mu = fit.mu == 0 ? 0.5 * fit.mu_min * factor : fit.mu * factor;
}

// The outcome of one damped step.
enum class Step { kInvalid, kRefused, kAccepted, kDone };

// One damped step from the current point: solves the design J (damping rows included) for
// the residuals r, scales the step back by s and judges the trial point.
Step damped_step(Fit& fit, const FitMatrix& J, const std::vector<double>& r, const std::vector<double>& s) {
  const LeastSquaresSolution q = qr_least_squares(J, r);
  std::vector<double> d(size_t(fit.ma)), trial(size_t(fit.ma)), sd;
  for (int32_t j = 0; j < fit.ma; ++j) {
    d[size_t(j)] = q.x[size_t(j)] * s[size_t(j)];
    trial[size_t(j)] = fit.a[size_t(j)] + d[size_t(j)];
  }
  ModelValues t;
  const int32_t model_status = evaluate(fit.model, fit.x, trial, t);
  if (model_status >= kModelFatal) {
    fail(fit, model_status, kTrialOverflow);
    return Step::kDone;
  }
  double Lt = 0;
  if (!log_likelihood(fit.y, t.f, Lt)) return Step::kInvalid;
  if (!deviations(fit, t, sd)) {
    fail(fit, kStatusError, kSingular);
    return Step::kDone;
  }
  fit.result.deviations = sd;
  if (converged(fit, Lt, d, trial, sd)) {
    std::copy(trial.begin(), trial.end(), fit.a.begin());
    return Step::kDone;
  }
  const double rho = (Lt - fit.L) / q.gain;
  if (rho < 0) {
    steer_refused(fit, rho);
    return Step::kRefused;
  }
  std::copy(trial.begin(), trial.end(), fit.a.begin());
  fit.L = Lt;
  fit.at = std::move(t);
  steer_accepted(fit, rho);
  return Step::kAccepted;
}

// One outer round: damped steps from the current point until one is accepted (true) or
// the fit ends (false, result set). The pass count serves both inner limits.
bool outer_round(Fit& fit) {
  FitMatrix J;
  std::vector<double> r, s;
  if (!weighted_design(fit, J, r, s) || !damping_floor(J, fit)) {
    fail(fit, kStatusError, kSingular);
    return false;
  }
  for (int32_t c_in = 1;; ++c_in) {
    const double damping = std::sqrt(std::fabs(fit.mu));
    for (int32_t j = 0; j < fit.ma; ++j) J(fit.n + j, j) = damping;
    switch (damped_step(fit, J, r, s)) {
      case Step::kInvalid:
        fit.mu = std::max(2 * fit.mu, fit.mu_min);
        if (c_in > fit.budget.invalid_trials) {
          fail(fit, kStatusWarning, kInvalidTrials);
          return false;
        }
        break;
      case Step::kRefused:
        if (c_in > fit.budget.refused_steps) {
          fail(fit, kStatusWarning, kRefusedSteps);
          return false;
        }
        break;
      case Step::kAccepted:
        return true;
      case Step::kDone:
        return false;
    }
  }
}

}  // namespace

Cfdqr2Result CFDQR2(std::span<const double> x, std::span<const double> y, std::span<double> a, int32_t model,
                    const Cfdqr2Budget& budget) {
  Fit fit;
  fit.n = int32_t(std::min(x.size(), y.size()));
  fit.x = x.first(size_t(fit.n));
  fit.y = y.first(size_t(fit.n));
  fit.a = a;
  fit.ma = int32_t(a.size());
  fit.model = model;
  fit.budget = budget;
  fit.result.deviations.assign(a.size(), 0.0);
  if (fit.n > kCfdqr2MaxPoints) return fail(fit, kStatusError, kManyData);
  if (fit.ma < kPeakCoreParams || fit.ma > kCfdqr2MaxParams) return fail(fit, kStatusError, kBadParameterCount);
  for (double v : fit.y) fit.S += log_factorial(v);
  const int32_t model_status = evaluate(model, fit.x, a, fit.at);
  if (model_status >= kModelFatal) return fail(fit, model_status, kStartOverflow);
  if (!log_likelihood(fit.y, fit.at.f, fit.L)) return fail(fit, kStatusError, kBadStart);
  for (int32_t c_out = 1;; ++c_out) {
    if (!outer_round(fit)) return fit.result;
    if (c_out > budget.outer_rounds) return fail(fit, kStatusWarning, kOuterRounds);
  }
}

Cfdqr2Result cfdqr2_fit(std::span<const double> x, std::span<const double> y, std::span<double> a, int32_t model) {
  const size_t n = std::min(x.size(), y.size());
  if (a.size() >= size_t(kPeakCoreParams) && n > 0) {
    if (a[kAmplitude] <= 0) {
      const size_t top = size_t(std::max_element(y.begin(), y.begin() + ptrdiff_t(n)) - y.begin());
      a[kAmplitude] = y[top];
      a[kPosition] = x[0] + double(top + 1);
      a[kHalfWidth] = 5.0;
      if (a.size() > size_t(kBase)) a[kBase] = y[0];
      if (a.size() > size_t(kBaseTilt)) a[kBaseTilt] = 0.0;
    }
    if (a[kHalfWidth] < 0) a[kHalfWidth] = 10.0;
  }
  Cfdqr2Result r = CFDQR2(x, y, a, model);
  if (r.status == 0 && n > 0) {
    const double lo = std::min(x[0], x[n - 1]), hi = std::max(x[0], x[n - 1]);
    if (!(a[kPosition] >= lo && a[kPosition] <= hi)) {
      r.status = kStatusWarning;
      r.message = kPositionOutside;
    }
  }
  return r;
}

}  // namespace kestrin
