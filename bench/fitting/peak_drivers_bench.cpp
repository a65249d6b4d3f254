// The peak-fitting drivers on a pattern of 500 Lorentzian peaks on a sloped base: PeakFitting
// (Levenberg-Marquardt on the narrowed windows) and peak_fitting_cfdqr2 (Poisson likelihood
// on the valley windows), with scipy fitting the same windows from the same starts in the
// same run; and the camera-length search with 500 found peaks and 100 references over its
// widest range (3601 trial lengths).
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "scipy_timing.h"

#include <cmath>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/camera_length.h"
#include "analysis/fit_windows.h"
#include "analysis/peak_fitting.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/headless_ports.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/peak_profile.h"

namespace {

constexpr int32_t kPeaks = 500;
constexpr int32_t kSpacing = 60;
constexpr int32_t kReferences = 100;

// The pattern and its peak table: peaks of varying height and width every kSpacing points,
// Poisson counts; the table holds each peak's position rounded to a tenth, as a search gives.
void make_pattern() {
  kestrin::reset_state();
  kestrin::reset_headless_ports();
  kestrin::test::Profile p;
  p.base = 40;
  p.slope = 0.002;
  for (int32_t k = 0; k < kPeaks; ++k)
    p.peaks.push_back({true, 300.0 + 37.0 * (k % 23), kSpacing * (k + 1) + 0.1 * (k % 7), 2.5 + 0.1 * (k % 5)});
  const int32_t n = kSpacing * (kPeaks + 1);
  const std::vector<double> y = kestrin::test::poisson_counts(p, kestrin::test::axis(0, 1, n), 2024);
  kestrin::SharedState& st = kestrin::state();
  for (int32_t i = 0; i < n; ++i) st.nax_pattern.values[size_t(i)] = int32_t(y[size_t(i)]);
  st.nax_pattern.N = n;
  st.nax_pattern.set_kind(kestrin::kPixelHistogram);
  st.options.FitType = 0;
  st.WindowShow = 0;
  kestrin::PeakTable& t = st.peak_table;
  t.count = kPeaks;
  for (int32_t k = 0; k < kPeaks; ++k) {
    t.x[size_t(k)] = std::round(p.peaks[size_t(k)].position * 10) / 10;
    t.intensity[size_t(k)] = st.nax_pattern.values[size_t(std::lround(t.x[size_t(k)]))];
  }
}

void BM_PeakFitting500(benchmark::State& state) {
  make_pattern();
  for (auto _ : state) kestrin::PeakFitting();
  state.counters["converged"] = kestrin::state().fit_tables.count;
}
BENCHMARK(BM_PeakFitting500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PeakFittingCfdqr2_500(benchmark::State& state) {
  make_pattern();
  for (auto _ : state) kestrin::peak_fitting_cfdqr2();
  state.counters["converged"] = kestrin::state().fit_tables.count;
}
BENCHMARK(BM_PeakFittingCfdqr2_500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 500 found peaks and 100 references at 2theta of every fifth peak at 150 mm; the start
// length of 20 mm searches 40 to 400 mm.
void BM_CameraLengthSearch(benchmark::State& state) {
  make_pattern();
  kestrin::PeakTable& t = kestrin::state().peak_table;
  t.count = kReferences;
  for (int32_t j = 0; j < kReferences; ++j)
    t.two_theta[size_t(j)] = std::atan(kSpacing * (5 * j + 1) * 0.1 / 150) * 180 / std::numbers::pi;
  kestrin::state().integration_params.pixel_x = 0.1;
  for (auto _ : state) {
    kestrin::state().integration_params.Lo = 20;
    kestrin::Report report;
    kestrin::camera_length_search(report);
  }
  state.counters["Lo"] = kestrin::state().integration_params.Lo;
}
BENCHMARK(BM_CameraLengthSearch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The windows and starts each driver fitted, as peer jobs.
std::string driver_jobs() {
  std::string jobs;
  make_pattern();
  kestrin::PeakFitting();
  const kestrin::SharedState& st = kestrin::state();
  const auto& values = st.nax_pattern.values;
  for (int32_t k = 0; k < kPeaks; ++k) {
    const kestrin::FitRecord& r = st.fit_tables.initial[size_t(k)];
    std::vector<double> x, y;
    for (auto i = int32_t(r.window_start); i <= int32_t(r.window_end); ++i) x.push_back(i), y.push_back(values[size_t(i)]);
    jobs += kestrin::test::fit_job_text("lm_lorentz", x, y, {r.amplitude, r.position, r.half_width, r.base, 0});
  }
  kestrin::peak_fitting_cfdqr2();
  const std::vector<double> all(values.begin(), values.begin() + st.nax_pattern.N);
  for (int32_t k = 0; k < kPeaks; ++k) {
    const kestrin::FitRecord& r = st.fit_tables.initial[size_t(k)];
    const kestrin::PointRange w = kestrin::fit_window(all, int32_t(std::lround(st.peak_table.x[size_t(k)])));
    std::vector<double> x, y;
    for (int32_t i = w.first; i <= w.last; ++i) x.push_back(i), y.push_back(all[size_t(i)]);
    jobs += kestrin::test::fit_job_text("poisson_lorentz", x, y, {r.amplitude, r.position, r.half_width, r.base, 0});
  }
  return jobs;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::vector<double> scipy = kestrin::bench::scipy_fit_seconds(driver_jobs(), 3);
  if (scipy.empty()) {
    std::cout << "scipy could not be timed (is python3-scipy installed?)\n";
    return 1;
  }
  std::cout << kestrin::Format("scipy least_squares(lm) on PeakFitting's windows: %.2f ms", {scipy[0] * 1000}) << '\n';
  std::cout << kestrin::Format("scipy Poisson likelihood on peak_fitting_cfdqr2's windows: %.2f ms", {scipy[1] * 1000})
            << '\n';
  for (const auto& [name, seconds] : reporter.medians) {
    if (name.find("Camera") != std::string::npos) {
      std::cout << kestrin::Format("%s: %.2f ms (aim: under 50 ms)", {name, seconds * 1000}) << '\n';
      continue;
    }
    const double peer = name.find("Cfdqr2") == std::string::npos ? scipy[0] : scipy[1];
    std::cout << kestrin::Format("%s: %.2f ms, %.4f of scipy's time", {name, seconds * 1000, seconds / peer}) << '\n';
  }
  return 0;
}
