// Box integration of large ring images, single-threaded and on all threads. With
// "--write-image SIDE PATH" it only writes the image of that side as raw 16-bit pixels
// (for the pyFAI run of run_integration_bench.sh) and prints its geometry.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "analysis/angle_histogram.h"
#include "base/lanes.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ring_bench_image.h"

namespace {

using namespace kestrin;

void BM_BoxIntegration(benchmark::State& st) {
  const int side = int(st.range(0));
  const int threads = int(st.range(1));
  bench::load_ring_image(side);
  set_worker_threads(threads);
  the_log().set_listener([](const std::string&) {});
  for (auto _ : st) {
    read_parameters(current_image().ImageHeight);
    Report report = log_report();
    calc_angle_histogram(report);
    benchmark::DoNotOptimize(state().nax_pattern.values.data());
  }
  st.counters["points"] = state().nax_pattern.N;
  st.counters["threads"] = worker_threads();
  set_worker_threads(0);
}

void box_args(benchmark::internal::Benchmark* b) {
  const int all = int(std::max(1u, std::thread::hardware_concurrency()));
  for (int side : {4096, 10000})
    for (int threads : {1, all}) b->Args({side, threads});
}
BENCHMARK(BM_BoxIntegration)->Apply(box_args)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-image") == 0) return bench::write_ring_image(std::atoi(argv[2]), argv[3]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
