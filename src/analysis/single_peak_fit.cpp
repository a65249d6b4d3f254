// The single-peak fit.
#include "analysis/single_peak_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "analysis/levenberg_marquardt.h"
#include "analysis/peak_models.h"
#include "base/convert.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kFitParams = 5;
constexpr int32_t kFewestPoints = 5;

double eight_decimals(double v) { return std::fabs(v) < 1e9 ? std::nearbyint(v * 1e8) / 1e8 : v; }

void show_results() {
  fit_window().show_fit_results();
  if (state().WindowShow == 1) {
    graph_window().draw_nax_graph();
    fit_window().show();
  }
}

}  // namespace

bool single_peak_fit(int32_t peak, int32_t first, int32_t last) {
  SharedState& st = state();
  st.fit_tables = FitTables();
  st.macro.record("Kestrin.PeakFitting();");
  const NaxPattern& nax = st.nax_pattern;
  const bool angle = nax.has_kind(kAngleHistogram);
  if ((!angle && !nax.has_kind(kPixelHistogram)) || peak < 0 || peak >= std::min(st.peak_table.count, kMaxPeaks) ||
      nax.N < 1) {
    show_results();
    return false;
  }
  const IntegrationParams& p = st.integration_params;
  const size_t j = size_t(peak);
  const double position = angle ? st.peak_table.two_theta[j] : st.peak_table.x[j];
  const double centre = angle ? (position - p.two_theta_begin) / p.two_theta_step : position;
  const double half = std::nearbyint((double(last) - double(first)) / 2);
  if (!(std::fabs(centre) < 1e9 && std::fabs(half) < 1e9)) {
    show_results();
    return false;
  }
  const int64_t k = int64_t(std::nearbyint(centre));
  const int64_t from = std::max<int64_t>(k - int64_t(half), 0);
  const int64_t to = std::min<int64_t>(k + int64_t(half), int64_t(std::min(nax.N, kPatternSize)) - 1);
  std::vector<double> x, y;
  for (int64_t i = from; i <= to; ++i) {
    x.push_back(angle ? double(i) * p.two_theta_step + p.two_theta_begin : double(i));
    y.push_back(double(nax.values[size_t(i)]));
  }

  FitRecord& initial = st.fit_tables.initial[j];
  FitRecord& fitted = st.fit_tables.fitted[j];
  std::array<double, kFitParams> a = {0, eight_decimals(position), 0, 0, 0};
  if (!y.empty()) {
    const auto [lo, hi] = std::minmax_element(y.begin(), y.end());
    a[kAmplitude] = *hi - *lo;
    a[kBase] = *lo;
    a[kHalfWidth] = (double(to - from) / 3) / 2 * (angle ? p.two_theta_step : 1.0);
    initial.window_start = fitted.window_start = x.front();
    initial.window_end = fitted.window_end = x.back();
  }
  initial.amplitude = a[kAmplitude], initial.position = a[kPosition], initial.half_width = a[kHalfWidth];
  initial.base = a[kBase], initial.base_tilt = a[kBaseTilt];
  fitted.model = st.options.FitType;
  bool converged = false;
  if (int32_t(y.size()) >= kFewestPoints) {
    const std::vector<double> sig(y.size(), 1.0);
    const std::array<int32_t, kFitParams> all = {0, 1, 2, 3, 4};
    const PeakModel model = st.options.FitType == 1 ? gauss_model : lorentz_model;
    converged = mrqfit(FitPoints{x, y, sig}, a, all, model) == 0;
  }
  fitted.amplitude = a[kAmplitude], fitted.position = a[kPosition], fitted.half_width = a[kHalfWidth];
  fitted.base = a[kBase], fitted.base_tilt = a[kBaseTilt];
  if (converged) {
    fitted.fitted = 1;
    st.fit_tables.count += 1;
  }
  show_results();
  return converged;
}

}  // namespace kestrin
