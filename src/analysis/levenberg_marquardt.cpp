// Levenberg-Marquardt least squares: coefficient builder, damped step, covariance
// re-sorter and the driver's stop rule.
#include "analysis/levenberg_marquardt.h"

#include <algorithm>
#include <cmath>

#include "analysis/gauss_jordan.h"

namespace kestrin {
namespace {

// A step settles when its change of chi-square is below kSettledChange and at most
// kSettledRelative of chi-square: the absolute bound alone would call any step on data of
// small values settled. Chi-square is taken no smaller than kChisqFloor of the data's sum of
// squares, where rounding, not the fit, moves it (data the model fits exactly).
constexpr double kSettledChange = 0.1;
constexpr double kSettledRelative = 1.5e-8;
constexpr double kChisqFloor = 1e-20;
// Settled steps in a row that end the fit, and steps allowed after the start.
constexpr int32_t kSettledSteps = 4;
constexpr int32_t kMaxSteps = 101;

// The start's check of the parameter list: each parameter at most once among the varied;
// the others are appended in order, and together they must name every parameter once.
bool complete_parameter_list(MrqState& s) {
  const auto varied = std::span<const int32_t>(s.lista).first(size_t(s.mfit));
  int32_t kk = s.mfit;
  for (int32_t j = 0; j < s.ma; ++j) {
    const auto ihit = std::count(varied.begin(), varied.end(), j);
    if (ihit > 1) {
      s.last_error = "Bad lista permutation in mrqmin-1";
      return false;
    }
    if (ihit == 0) {
      if (kk >= s.ma) break;
      s.lista[size_t(kk++)] = j;
    }
  }
  if (kk != s.ma || !std::all_of(varied.begin(), varied.end(), [&](int32_t l) { return l >= 0 && l < s.ma; })) {
    s.last_error = "Bad lista permutation in mrqmin-2";
    return false;
  }
  return true;
}

double sum_of_squares(const FitPoints& data) {
  double sum = 0;
  for (int32_t i = 0; i < data.size(); ++i) {
    const double v = data.y[size_t(i)] / data.sig[size_t(i)];
    sum += v * v;
  }
  return sum;
}

// Whether a change of chi-square from `chisq` is too small to tell from the minimum.
bool settled_change(double change, double chisq, double data_squares) {
  const double size = std::fabs(change);
  return size < kSettledChange && size <= kSettledRelative * std::fmax(chisq, kChisqFloor * data_squares);
}

void start(const FitPoints& data, std::span<double> a, MrqState& s, PeakModel model) {
  s.lambda = 0.001;
  mrqcof(data, a, s.lista, s.mfit, s.alpha, s.beta, s.chisq, model);
  s.ochisq = s.chisq;
  std::copy(a.begin(), a.end(), s.atry.begin());
  s.started = true;
}

}  // namespace

MrqState::MrqState(std::span<const int32_t> varied, int32_t ma_)
    : ma(ma_),
      mfit(int32_t(varied.size())),
      lista(std::max(varied.size(), size_t(std::max(ma_, 0)))),
      covar(std::max(ma, mfit), std::max(ma, mfit)),
      alpha(std::max(ma, mfit), std::max(ma, mfit)),
      beta(size_t(std::max(ma, mfit))),
      atry(size_t(std::max(ma, 0))),
      da(size_t(std::max(ma, mfit))) {
  std::copy(varied.begin(), varied.end(), lista.begin());
}

void mrqcof(const FitPoints& data, std::span<const double> a, std::span<const int32_t> lista, int32_t mfit,
            FitMatrix& alpha, std::span<double> beta, double& chisq, PeakModel model) {
  std::vector<double> dyda(a.size());
  for (int32_t j = 0; j < mfit; ++j) {
    for (int32_t k = 0; k <= j; ++k) alpha(j, k) = 0.0;
    beta[size_t(j)] = 0.0;
  }
  chisq = 0.0;
  for (int32_t i = 0; i < data.size(); ++i) {
    const double ymod = model(data.x[size_t(i)], a, dyda);
    const double sig2i = 1.0 / (data.sig[size_t(i)] * data.sig[size_t(i)]);
    const double dy = data.y[size_t(i)] - ymod;
    for (int32_t j = 0; j < mfit; ++j) {
      const double wt = dyda[size_t(lista[size_t(j)])] * sig2i;
      for (int32_t k = 0; k <= j; ++k) alpha(j, k) += wt * dyda[size_t(lista[size_t(k)])];
      beta[size_t(j)] += dy * wt;
    }
    chisq += dy * dy * sig2i;
  }
  for (int32_t j = 1; j < mfit; ++j)
    for (int32_t k = 0; k < j; ++k) alpha(k, j) = alpha(j, k);
}

void covsrt(FitMatrix& covar, int32_t ma, std::span<const int32_t> lista, int32_t mfit) {
  for (int32_t j = 0; j < ma - 1; ++j)
    for (int32_t i = j + 1; i < ma; ++i) covar(i, j) = 0.0;
  for (int32_t i = 0; i < mfit - 1; ++i)
    for (int32_t j = i + 1; j < mfit; ++j) {
      const int32_t li = lista[size_t(i)], lj = lista[size_t(j)];
      if (lj > li)
        covar(lj, li) = covar(i, j);
      else
        covar(li, lj) = covar(i, j);
    }
  const double swap = covar(0, 0);
  for (int32_t j = 0; j < ma; ++j) {
    covar(0, j) = covar(j, j);
    covar(j, j) = 0.0;
  }
  covar(lista[0], lista[0]) = swap;
  for (int32_t j = 1; j < mfit; ++j) covar(lista[size_t(j)], lista[size_t(j)]) = covar(0, j);
  for (int32_t j = 1; j < ma; ++j)
    for (int32_t i = 0; i < j; ++i) covar(i, j) = covar(j, i);
}

bool mrqmin(const FitPoints& data, std::span<double> a, MrqState& s, PeakModel model) {
  if (s.lambda < 0) {
    if (!complete_parameter_list(s)) return false;
    start(data, a, s, model);
  }
  if (!s.started) return false;
  FitMatrix oneda(s.mfit, 1);
  for (int32_t j = 0; j < s.mfit; ++j) {
    for (int32_t k = 0; k < s.mfit; ++k) s.covar(j, k) = s.alpha(j, k);
    s.covar(j, j) = s.alpha(j, j) * (1.0 + s.lambda);
    oneda(j, 0) = s.beta[size_t(j)];
  }
  gaussj(s.covar, s.mfit, oneda, 1, s.last_error);
  for (int32_t j = 0; j < s.mfit; ++j) s.da[size_t(j)] = oneda(j, 0);
  if (s.lambda == 0.0) {
    covsrt(s.covar, s.ma, s.lista, s.mfit);
    return true;
  }
  for (int32_t j = 0; j < s.mfit; ++j) {
    const auto l = size_t(s.lista[size_t(j)]);
    s.atry[l] = a[l] + s.da[size_t(j)];
  }
  // The trial's curvature and gradient go to covar and da, kept when the step is accepted.
  mrqcof(data, s.atry, s.lista, s.mfit, s.covar, s.da, s.chisq, model);
  s.trial_chisq = s.chisq;
  s.accepted = s.chisq < s.ochisq;
  if (s.accepted) {
    s.lambda *= 0.1;
    s.ochisq = s.chisq;
    for (int32_t j = 0; j < s.mfit; ++j) {
      for (int32_t k = 0; k < s.mfit; ++k) s.alpha(j, k) = s.covar(j, k);
      s.beta[size_t(j)] = s.da[size_t(j)];
      const auto l = size_t(s.lista[size_t(j)]);
      a[l] = s.atry[l];
    }
  } else {
    s.lambda *= 10.0;
    s.chisq = s.ochisq;
  }
  return true;
}

namespace {

// mrqfit's steps on a fresh state: 0 when the fit converged, -1 when it did not.
int32_t run_fit(const FitPoints& data, std::span<double> a, MrqState& s, PeakModel model) {
  if (!mrqmin(data, a, s, model)) return -1;
  // Settled steps in a row: accepted steps that changed chi-square by a settled amount, and
  // refused trials that found chi-square no higher than a settled amount (at the minimum
  // every trial is refused). A refused trial that rose further means the damping is still
  // being tuned, not that the fit has settled: it starts the count again.
  const double data_squares = sum_of_squares(data);
  int32_t settled = 0;
  for (int32_t step = 0; step < kMaxSteps; ++step) {
    const double before = s.chisq;
    mrqmin(data, a, s, model);
    if (settled_change(s.trial_chisq - before, before, data_squares))
      ++settled;
    else if (!s.accepted)
      settled = 0;
    if (settled >= kSettledSteps) {
      s.lambda = 0.0;
      mrqmin(data, a, s, model);
      return 0;
    }
  }
  return -1;
}

}  // namespace

int32_t mrqfit(const FitPoints& data, std::span<double> a, std::span<const int32_t> lista, PeakModel model,
               std::string* last_error) {
  if (last_error) last_error->clear();
  const int32_t ma = int32_t(a.size());
  if (ma < kPeakCoreParams || ma > kMaxMrqParams || data.x.size() != data.y.size() ||
      data.sig.size() != data.y.size() || data.size() < int32_t(lista.size()))
    return -1;
  MrqState s(lista, ma);
  const int32_t result = run_fit(data, a, s, model);
  if (last_error) *last_error = s.last_error;
  return result;
}

}  // namespace kestrin
