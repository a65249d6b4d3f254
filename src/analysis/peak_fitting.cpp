// The peak-fitting drivers.
#include "analysis/peak_fitting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "analysis/cfdqr2.h"
#include "analysis/fit_windows.h"
#include "analysis/levenberg_marquardt.h"
#include "analysis/peak_models.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kFitParams = 5;
constexpr int32_t kFewestFitPoints = 5;  // Levenberg-Marquardt needs more than 4 points
constexpr int32_t kRawHalfWindow = 200;  // PeakFitting narrows from k +- 200
constexpr double kSmallestHalfWidth = 0.0001;

// The current pattern as the drivers see it: its values and how point i maps to the abscissa
// (the point itself for pixel patterns, degrees for 2theta patterns).
struct FitPattern {
  bool angle = false;
  std::span<const int32_t> y;
  double begin = 0, step = 1;
  double abscissa(int64_t i) const { return angle ? double(i) * step + begin : double(i); }
};

std::optional<FitPattern> fit_pattern() {
  const SharedState& st = state();
  const NaxPattern& nax = st.nax_pattern;
  FitPattern p;
  p.angle = nax.has_kind(kAngleHistogram);
  if (!p.angle && !nax.has_kind(kPixelHistogram)) return std::nullopt;
  p.y = std::span<const int32_t>(nax.values).first(size_t(std::clamp(nax.N, 0, kPatternSize)));
  if (p.angle) p.begin = st.integration_params.two_theta_begin, p.step = st.integration_params.two_theta_step;
  return p;
}

double table_position(const FitPattern& p, size_t j) {
  const PeakTable& t = state().peak_table;
  return p.angle ? t.two_theta[j] : t.x[j];
}

// The pattern point of peak j, or nothing when it lies outside the pattern.
std::optional<int32_t> centre_point(const FitPattern& p, size_t j) {
  const double position = table_position(p, j);
  const double c = p.angle ? (position - p.begin) / p.step : position;
  if (!(c > -0.5 && c < double(p.y.size()) - 0.5)) return std::nullopt;
  return int32_t(std::nearbyint(c));
}

double eight_decimals(double v) { return std::fabs(v) < 1e9 ? std::nearbyint(v * 1e8) / 1e8 : v; }

int32_t peak_count() { return std::clamp(state().peak_table.count, 0, kMaxPeaks); }

bool gaussian_fit() { return state().options.FitType == 1; }

void put(FitRecord& r, std::span<const double> a) {
  r.amplitude = a[kAmplitude], r.position = a[kPosition], r.half_width = a[kHalfWidth];
  r.base = a.size() > size_t(kBase) ? a[kBase] : 0.0;
  r.base_tilt = a.size() > size_t(kBaseTilt) ? a[kBaseTilt] : 0.0;
}

// The points first .. last of the pattern as doubles with their abscissae.
struct WindowData {
  std::vector<double> x, y;
};
WindowData window_data(const FitPattern& p, int32_t first, int32_t last) {
  WindowData w;
  for (int32_t i = std::max(first, 0); i <= last && i < int32_t(p.y.size()); ++i) {
    w.x.push_back(p.abscissa(i));
    w.y.push_back(double(p.y[size_t(i)]));
  }
  return w;
}

// Half the distance between the half-maximum crossings of a window, 0 when they are not
// both found: the left one at the first i with y[i] <= level < y[i+1], the right one from
// i + 3 on at the first i with y[i] >= level > y[i+1].
double crossing_half_width(const WindowData& w, double level) {
  const size_t n = w.y.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    if (!(w.y[i] <= level && level < w.y[i + 1])) continue;
    for (size_t r = i + 3; r + 1 < n; ++r)
      if (w.y[r] >= level && level > w.y[r + 1]) return std::fabs(w.x[r] - w.x[i]) / 2;
    return 0;
  }
  return 0;
}

// Both tables' flags and values cleared, their windows and models kept.
void clear_fit_values() {
  FitTables& f = state().fit_tables;
  for (auto* table : {&f.fitted, &f.initial})
    for (FitRecord& r : *table) {
      r.fitted = 0;
      r.amplitude = r.position = r.half_width = r.base = r.base_tilt = 0;
    }
  f.count = 0;
}

void cfdqr2_peak(const FitPattern& p, const std::vector<double>& values, size_t j) {
  SharedState& st = state();
  const std::optional<int32_t> k = centre_point(p, j);
  if (!k) return;
  const PointRange r = fit_window(values, *k);
  const WindowData w = window_data(p, r.first, r.last);
  if (w.y.empty()) return;
  const auto [lo, hi] = std::minmax_element(w.y.begin(), w.y.end());
  double half = crossing_half_width(w, (*hi + *lo) / 2);
  if (!(half > kSmallestHalfWidth)) half = p.angle ? st.options.HwhmTheta : st.options.HwhmPixel;
  std::array<double, kFitParams> a = {st.peak_table.intensity[j] - *lo, eight_decimals(table_position(p, j)), half,
                                      *lo, 0};
  put(st.fit_tables.initial[j], a);
  const int32_t model = gaussian_fit() ? kCfdqr2Gaussian : kCfdqr2Lorentzian;
  FitRecord& fitted = st.fit_tables.fitted[j];
  if (cfdqr2_fit(w.x, w.y, a, model).message.empty()) {
    put(fitted, a);
    fitted.fitted = 1;
    st.fit_tables.count += 1;
  } else {
    fitted.fitted = 0;
  }
}

void refit_peak(const FitPattern& p, const std::vector<double>& values, size_t j) {
  SharedState& st = state();
  FitRecord& fitted = st.fit_tables.fitted[j];
  fitted.fitted = 0;
  const std::optional<int32_t> k = centre_point(p, j);
  if (!k) return;
  const PointRange r = fit_window(values, *k);
  const WindowData w = window_data(p, r.first, r.last);
  const FitRecord& start = st.fit_tables.initial[j];
  std::array<double, 4> a = {start.amplitude, eight_decimals(start.position), start.half_width, start.base};
  const bool converged = cfdqr2_fit(w.x, w.y, a, kCfdqr2Gaussian).message.empty();
  put(fitted, a);
  if (converged) {
    fitted.fitted = 1;
    st.fit_tables.count += 1;
  }
}

std::vector<double> pattern_values(const FitPattern& p) { return std::vector<double>(p.y.begin(), p.y.end()); }

const FitRecord* fitted_record(int32_t i) {
  if (i < 0 || i >= kMaxPeaks) return nullptr;
  const FitRecord& r = state().fit_tables.fitted[size_t(i)];
  return r.fitted ? &r : nullptr;
}

}  // namespace

bool fit_peak_window(int32_t j, int32_t first, int32_t last) {
  const std::optional<FitPattern> p = fit_pattern();
  if (!p || j < 0 || j >= kMaxPeaks) return false;
  SharedState& st = state();
  const size_t u = size_t(j);
  const WindowData w = window_data(*p, first, last);
  FitRecord& initial = st.fit_tables.initial[u];
  FitRecord& fitted = st.fit_tables.fitted[u];
  std::array<double, kFitParams> a = {0, eight_decimals(table_position(*p, u)), 0, 0, 0};
  if (!w.y.empty()) {
    const auto [lo, hi] = std::minmax_element(w.y.begin(), w.y.end());
    a[kAmplitude] = *hi - *lo;
    a[kBase] = *lo;
    a[kHalfWidth] = (double(w.y.size() - 1) / 3) / 2 * (p->angle ? p->step : 1.0);
    initial.window_start = fitted.window_start = w.x.front();
    initial.window_end = fitted.window_end = w.x.back();
  }
  put(initial, a);
  fitted.model = st.options.FitType;
  bool converged = false;
  if (int32_t(w.y.size()) >= kFewestFitPoints) {
    const std::vector<double> sig(w.y.size(), 1.0);
    const std::array<int32_t, kFitParams> all = {0, 1, 2, 3, 4};
    converged = mrqfit(FitPoints{w.x, w.y, sig}, a, all, gaussian_fit() ? gauss_model : lorentz_model) == 0;
  }
  put(fitted, a);
  if (converged) {
    fitted.fitted = 1;
    st.fit_tables.count += 1;
  }
  return converged;
}

bool PeakFitting() {
  const std::optional<FitPattern> p = fit_pattern();
  if (!p) return false;
  SharedState& st = state();
  st.fit_tables = FitTables();
  const std::vector<double> values = pattern_values(*p);
  const int32_t n = int32_t(values.size());
  for (int32_t j = 0; j < peak_count(); ++j) {
    const std::optional<int32_t> k = centre_point(*p, size_t(j));
    if (!k) continue;
    const int32_t from = std::max(*k - kRawHalfWindow, 0), to = std::min(*k + kRawHalfWindow, n - 1);
    const WindowData raw = window_data(*p, from, to);
    const NarrowedWindow narrowed = narrow_fit_window(raw.x, raw.y, *k - from, gaussian_fit() ? 1 : 0);
    fit_peak_window(j, from + narrowed.fit.first, from + narrowed.fit.last);
  }
  return true;
}

bool peak_fitting_cfdqr2() {
  const std::optional<FitPattern> p = fit_pattern();
  if (!p) return false;
  clear_fit_values();
  const std::vector<double> values = pattern_values(*p);
  for (int32_t j = 0; j < peak_count(); ++j) cfdqr2_peak(*p, values, size_t(j));
  return true;
}

bool refit_peaks() {
  const std::optional<FitPattern> p = fit_pattern();
  if (!p) return false;
  state().fit_tables.count = 0;
  const std::vector<double> values = pattern_values(*p);
  for (int32_t j = 0; j < peak_count(); ++j) refit_peak(*p, values, size_t(j));
  return true;
}

double fit_peak_height(int32_t i) {
  const FitRecord* r = fitted_record(i);
  if (!r) return 0;
  const std::array<double, kFitParams> a = {r->amplitude, r->position, r->half_width, r->base, r->base_tilt};
  std::array<double, kFitParams> dyda{};
  return (r->model == 1 ? gauss_model : lorentz_model)(r->position, a, dyda);
}

double fit_peak_fwhm(int32_t i) {
  const FitRecord* r = fitted_record(i);
  return r ? 2 * r->half_width : 0;
}

}  // namespace kestrin
