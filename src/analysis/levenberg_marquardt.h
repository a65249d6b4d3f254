// Levenberg-Marquardt least squares in its classic four routines: the coefficient builder
// (mrqcof), one damped step (mrqmin), Gauss-Jordan (gauss_jordan.h) and the covariance
// re-sorter (covsrt), driven by mrqfit, which decides when to stop. Parameters are indexed
// from 0; a parameter list names the varied parameters by index.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/fit_matrix.h"
#include "analysis/peak_models.h"

namespace kestrin {

// The data of one fit: abscissa, values and standard deviations, all of the same length.
struct FitPoints {
  std::span<const double> x, y, sig;
  int32_t size() const { return int32_t(y.size()); }
};

// The most parameters a model of this engine takes.
constexpr int32_t kMaxMrqParams = 6;

// What mrqmin carries from one call to the next. Make one per fit with the list of varied
// parameters (mfit of them) and the parameter count ma; lambda starts below 0.
struct MrqState {
  MrqState(std::span<const int32_t> varied, int32_t ma);
  int32_t ma = 0, mfit = 0;
  // The varied parameters first; the start call appends the fixed ones.
  std::vector<int32_t> lista;
  FitMatrix covar, alpha;
  std::vector<double> beta, atry, da;
  double chisq = 0, ochisq = 0, lambda = -1;
  // The last step's trial chi-square, and whether the step kept it.
  double trial_chisq = 0;
  bool accepted = false;
  bool started = false;
  // The last error the engine met on this fit (a bad parameter list, a singular matrix),
  // empty while there was none. Nothing displays it; the fit's outcome is its return value.
  std::string last_error;
};

// Curvature matrix alpha (mfit x mfit), gradient beta and chi-square of the model at a.
void mrqcof(const FitPoints& data, std::span<const double> a, std::span<const int32_t> lista, int32_t mfit,
            FitMatrix& alpha, std::span<double> beta, double& chisq, PeakModel model);

// Spreads the mfit x mfit covariance of the varied parameters over the ma x ma matrix in
// parameter order; fixed parameters get zero rows and columns.
void covsrt(FitMatrix& covar, int32_t ma, std::span<const int32_t> lista, int32_t mfit);

// One step. lambda < 0 starts: checks the parameter list ("Bad lista permutation in
// mrqmin-1" when a parameter stands twice, "-2" when the list does not cover the
// parameters; both go to s.last_error and return false at once), sets lambda 0.001 and
// builds alpha, beta and chisq at a. Each step solves (alpha with its diagonal times
// 1 + lambda) d = beta, tries a + d and keeps it when chi-square fell (lambda times 0.1), else
// keeps a (lambda times 10); a singular matrix puts gaussj's message into s.last_error and the
// step goes on with what the elimination left. lambda = 0 finishes: covar becomes the
// covariance in parameter order. False when the state was never started.
bool mrqmin(const FitPoints& data, std::span<double> a, MrqState& s, PeakModel model);

// Fits the parameters named in lista (usually all, in order) by repeated mrqmin steps until
// four steps in a row are settled, then one lambda = 0 call gives the covariance. A step is
// settled when its trial changed chi-square by less than 0.1 and by at most a small fraction
// of chi-square (so the rule does not depend on the scale of the data); a refused trial that
// raised chi-square by more starts the count again, an accepted larger fall leaves it. 0 when it converged, -1 when 101 steps did not settle, the parameter list
// is bad, the data are shorter than the list or their lengths differ. a holds the parameters
// where it stopped; last_error, when given, receives the fit's last error (empty when none).
int32_t mrqfit(const FitPoints& data, std::span<double> a, std::span<const int32_t> lista, PeakModel model,
               std::string* last_error = nullptr);

}  // namespace kestrin
