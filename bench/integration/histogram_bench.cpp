// The pixel, sub-pixel, sectored and cake histograms of large ring images, one thread and
// all threads. "--write-image SIDE PATH" writes the image of that side as raw 16-bit pixels
// and prints its geometry; "--peak-rss KIND SIDE PATH" loads such a file in this fresh
// process, runs one free-sector histogram of 3600 sectors (KIND angle or pixel) and prints
// how much it raised the peak resident memory, in MB.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "analysis/angle_histogram.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "ring_bench_image.h"

namespace {

using namespace kestrin;

constexpr int kCakeSlices = 33;

// A routine run as its command runs it: the edits read, then the routine with its lines in
// the log.
template <PatternShow (*routine)(Report&)>
void run() {
  read_parameters(current_image().ImageHeight);
  Report report = log_report();
  routine(report);
}

// 33 slices of the whole circle, each through the cake's sector routine.
void cake() {
  for (int i = 0; i < kCakeSlices; ++i) {
    controls().set_text(frmMain::edtSectorStartAngle, FloatToStr(-180.0 + 360.0 * i / kCakeSlices));
    controls().set_text(frmMain::edtSectorEndAngle, FloatToStr(-180.0 + 360.0 * (i + 1) / kCakeSlices));
    run<calc_cake_slant_pixel_histogram>();
  }
}

void free_angle_sectors() { run<calc_free_angle_sectored_angle_histogram>(); }

struct Kind {
  const char* name;
  void (*run)();
  ControlName radio;
  const char* division;
};

const Kind kKinds[] = {
    {"Pixel", run<calc_pixel_histogram>, frmMain::rbtnRectangle, "22.5"},
    {"Fine", run<calc_fine_angle_histogram>, frmMain::rbtnRectangle, "22.5"},
    {"Sixteen", run<calc_sectored_histogram>, frmMain::rbtnRectangle, "22.5"},
    {"Free3600", free_angle_sectors, frmMain::rbtnSectoredDivision, "0.1"},
    {"Cake", cake, frmMain::rbtnSector, "22.5"},
};

void BM_Histogram(benchmark::State& st) {
  const Kind& kind = kKinds[st.range(0)];
  const int side = int(st.range(1));
  bench::load_ring_image(side);
  controls().set_checked(kind.radio, true);
  controls().set_text(frmMain::edtSectoredAngle, kind.division);
  set_worker_threads(int(st.range(2)));
  the_log().set_listener([](const std::string&) {});
  for (auto _ : st) {
    kind.run();
    benchmark::DoNotOptimize(state().nax_pattern.values.data());
  }
  st.SetLabel(kind.name);
  st.counters["threads"] = worker_threads();
  set_worker_threads(0);
}

void histogram_args(benchmark::internal::Benchmark* b) {
  const int all = int(std::max(1u, std::thread::hardware_concurrency()));
  for (int side : {4096, 10000})
    for (int kind = 0; kind < int(std::size(kKinds)); ++kind)
      for (int threads : {1, all}) b->Args({kind, side, threads});
}
BENCHMARK(BM_Histogram)->Apply(histogram_args)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

double peak_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_maxrss) / 1024.0;
}

int peak_rss(const std::string& kind, int side, const char* path) {
  if (!bench::load_ring_raw(side, path)) return 1;
  the_log().set_listener([](const std::string&) {});
  controls().set_checked(frmMain::rbtnSectoredDivision, true);
  controls().set_text(frmMain::edtSectoredAngle, "0.1");
  const double before = peak_mb();
  kind == "pixel" ? run<calc_free_angle_sectored_pixel_histogram>() : run<calc_free_angle_sectored_angle_histogram>();
  std::printf("%.1f\n", peak_mb() - before);
  return state().sector_patterns.count == 3600 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-image") == 0) return bench::write_ring_image(std::atoi(argv[2]), argv[3]);
  if (argc == 5 && std::strcmp(argv[1], "--peak-rss") == 0) return peak_rss(argv[2], std::atoi(argv[3]), argv[4]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
