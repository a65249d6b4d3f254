// Fits the 500 peaks of a synthetic pattern with each engine alone (Levenberg-Marquardt
// and the Poisson-likelihood fit, Lorentzian with base and slope, 25-point windows), then
// has scipy fit the same windows in the same run and prints the time ratios.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "scipy_timing.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/cfdqr2.h"
#include "analysis/levenberg_marquardt.h"
#include "base/convert.h"
#include "support/peak_profile.h"

namespace {

constexpr int32_t kPeaks = 500;
constexpr int32_t kSpacing = 60;
constexpr int32_t kHalfWindow = 12;

struct Window {
  std::vector<double> x, y, start;
};

// Peaks of varying height every kSpacing points on a sloped base, Poisson counts; each
// window starts as the drivers start: height and base from the window, no slope, the
// table position, a third of the window as the width.
std::vector<Window> make_windows() {
  kestrin::test::Profile p;
  p.base = 40;
  p.slope = 0.002;
  for (int32_t k = 0; k < kPeaks; ++k)
    p.peaks.push_back({true, 300.0 + 37.0 * (k % 23), kSpacing * (k + 1) + 0.1 * (k % 7), 2.5 + 0.1 * (k % 5)});
  const std::vector<double> x = kestrin::test::axis(0, 1, kSpacing * (kPeaks + 1));
  const std::vector<double> y = kestrin::test::poisson_counts(p, x, 2024);
  std::vector<Window> windows;
  for (int32_t k = 0; k < kPeaks; ++k) {
    const auto centre = size_t(kSpacing * (k + 1));
    Window w;
    w.x.assign(x.begin() + ptrdiff_t(centre - kHalfWindow), x.begin() + ptrdiff_t(centre + kHalfWindow + 1));
    w.y.assign(y.begin() + ptrdiff_t(centre - kHalfWindow), y.begin() + ptrdiff_t(centre + kHalfWindow + 1));
    const auto [lo, hi] = std::minmax_element(w.y.begin(), w.y.end());
    w.start = {*hi - *lo, double(centre), (2.0 * kHalfWindow / 3) / 2, *lo, 0};
    windows.push_back(std::move(w));
  }
  return windows;
}

const std::vector<Window>& windows() {
  static const std::vector<Window> all = make_windows();
  return all;
}

void BM_LevenbergMarquardt500(benchmark::State& state) {
  const std::vector<int32_t> all = {0, 1, 2, 3, 4};
  const std::vector<double> sig(2 * kHalfWindow + 1, 1.0);
  int32_t converged = 0;
  for (auto _ : state) {
    converged = 0;
    for (const Window& w : windows()) {
      std::vector<double> a = w.start;
      converged += kestrin::mrqfit(kestrin::FitPoints{w.x, w.y, sig}, a, all, kestrin::lorentz_model) == 0;
    }
  }
  state.counters["converged"] = converged;
}
BENCHMARK(BM_LevenbergMarquardt500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Cfdqr2_500(benchmark::State& state) {
  int32_t converged = 0;
  for (auto _ : state) {
    converged = 0;
    for (const Window& w : windows()) {
      std::vector<double> a = w.start;
      converged += kestrin::CFDQR2(w.x, w.y, a, kestrin::kCfdqr2Lorentzian).status == 0;
    }
  }
  state.counters["converged"] = converged;
}
BENCHMARK(BM_Cfdqr2_500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every window as a least-squares job, then every window as a Poisson job.
std::string engine_jobs() {
  std::string jobs;
  for (const Window& w : windows()) jobs += kestrin::test::fit_job_text("lm_lorentz", w.x, w.y, w.start);
  for (const Window& w : windows()) jobs += kestrin::test::fit_job_text("poisson_lorentz", w.x, w.y, w.start);
  return jobs;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::vector<double> scipy = kestrin::bench::scipy_fit_seconds(engine_jobs(), 5);
  if (scipy.empty()) {
    std::cout << "scipy could not be timed (is python3-scipy installed?)\n";
    return 1;
  }
  std::cout << kestrin::Format("scipy least_squares(lm), 500 fits: %.2f ms (median of 5)", {scipy[0] * 1000}) << '\n';
  std::cout << kestrin::Format("scipy Poisson likelihood (Nelder-Mead, BFGS), 500 fits: %.2f ms", {scipy[1] * 1000})
            << '\n';
  for (const auto& [name, seconds] : reporter.medians) {
    const double peer = name.find("Levenberg") != std::string::npos ? scipy[0] : scipy[1];
    std::cout << kestrin::Format("%s: %.2f ms, %.4f of scipy's time", {name, seconds * 1000, seconds / peer}) << '\n';
  }
  return 0;
}
