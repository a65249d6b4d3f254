// The background filter (Size 19, Step 0 and 2, Percent 50) on a 4096 x 4096 frame on all
// threads, under a mask of two processors and on one thread, and on a 10000 x 10000 frame;
// then scipy's rank_filter with the same footprint and rank on the 4096 frame, its output
// compared with ours and the time ratios printed.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <sched.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/bg_filter.h"
#include "analysis/rank_filter.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "base/report.h"
#include "support/spot_image.h"

namespace {

constexpr int32_t kSide = 4096;
constexpr int32_t kLargeSide = 10000;

struct Frame {
  int32_t side = 0;
  std::vector<uint16_t> codes, out;
};

Frame& frame(int32_t side) {
  static Frame frames[2];
  Frame& f = frames[side == kSide ? 0 : 1];
  if (f.side != side) {
    kestrin::test::SpotImageSpec spec;
    spec.width = spec.height = side;
    spec.spots = side;  // one spot per row on average
    spec.background = 1000;
    spec.noise = 300;
    f.side = side;
    f.codes = kestrin::test::make_spot_image(spec);
    f.out.assign(f.codes.size(), 0);
  }
  return f;
}

void filter(benchmark::State& state, int32_t side, int32_t step, int threads) {
  Frame& f = frame(side);
  kestrin::set_worker_threads(threads);
  kestrin::Report report;
  for (auto _ : state) kestrin::bg_rank_filter(19, step, 50, f.out, f.codes, side, side, 0, kestrin::kSmoothNone, report);
  kestrin::set_worker_threads(0);
}

// Under an affinity mask of two processors (as `taskset -c 0,1` runs it) the default thread
// count follows the mask.
void filter_on_two_processors(benchmark::State& state) {
  cpu_set_t all, two;
  CPU_ZERO(&two);
  if (sched_getaffinity(0, sizeof all, &all) != 0) return state.SkipWithError("no affinity mask");
  for (int cpu = 0, taken = 0; cpu < CPU_SETSIZE && taken < 2; ++cpu)
    if (CPU_ISSET(cpu, &all)) CPU_SET(cpu, &two), ++taken;
  sched_setaffinity(0, sizeof two, &two);
  state.counters["threads"] = kestrin::worker_threads();
  filter(state, kSide, 0, 0);
  sched_setaffinity(0, sizeof all, &all);
}

void BM_Filter19_0_50_AllThreads(benchmark::State& s) { filter(s, kSide, 0, 0); }
void BM_Filter19_0_50_TwoProcessors(benchmark::State& s) { filter_on_two_processors(s); }
void BM_Filter19_0_50_OneThread(benchmark::State& s) { filter(s, kSide, 0, 1); }
void BM_Filter19_2_50_AllThreads(benchmark::State& s) { filter(s, kSide, 2, 0); }
void BM_Filter19_0_50_10000_AllThreads(benchmark::State& s) { filter(s, kLargeSide, 0, 0); }
// Milliseconds, as the median reporter reads them; every run repeated, so that it has a median.
BENCHMARK(BM_Filter19_0_50_AllThreads)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_Filter19_0_50_TwoProcessors)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2)->ReportAggregatesOnly(true);
BENCHMARK(BM_Filter19_0_50_OneThread)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2)->ReportAggregatesOnly(true);
BENCHMARK(BM_Filter19_2_50_AllThreads)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_Filter19_0_50_10000_AllThreads)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(2)->ReportAggregatesOnly(true);

// scipy's seconds for one filter of the 4096 frame, and whether its interior equals ours.
struct PeerRun {
  double seconds = -1;
  bool same = false;
};

PeerRun scipy_run(const std::string& folder, int32_t step) {
  Frame& f = frame(kSide);
  const std::string in = folder + "in.raw", out = folder + "out.raw";
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(f.codes.data()), std::streamsize(f.codes.size() * 2));
  const kestrin::RankWindow window{19, step};
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/tests/analysis/peer/scipy_rank_filter.py";
  const std::string command = "/usr/bin/python3 '" + script + "' '" + in + "' 4096 4096 --time rank:19:" +
                              std::to_string(step) + ":" + std::to_string(window.rank(50)) + ":'" + out + "' 2>/dev/null";
  PeerRun run;
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return run;
  char line[128] = {};
  if (std::fgets(line, sizeof line, p)) run.seconds = kestrin::TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1);
  if (pclose(p) != 0) return {};
  std::vector<uint16_t> theirs(f.codes.size());
  std::ifstream(out, std::ios::binary).read(reinterpret_cast<char*>(theirs.data()), std::streamsize(theirs.size() * 2));
  kestrin::Report report;
  kestrin::bg_rank_filter(19, step, 50, f.out, f.codes, kSide, kSide, 0, kestrin::kSmoothNone, report);
  run.same = true;
  for (int32_t y = 9; y < kSide - 9; ++y)
    run.same = run.same && std::memcmp(&theirs[size_t(y) * kSide + 9], &f.out[size_t(y) * kSide + 9], (kSide - 18) * 2) == 0;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_background_bench/";
  std::filesystem::create_directories(folder);
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const PeerRun median = scipy_run(folder, 0), mesh = scipy_run(folder, 2);
  std::filesystem::remove_all(folder);
  if (median.seconds <= 0 || mesh.seconds <= 0) {
    std::cout << "scipy could not be timed (is python3-scipy installed?)\n";
    return 1;
  }
  std::cout << kestrin::Format("scipy rank_filter 19/0/50 at 4096: %.1f s, identical output: %s", {median.seconds, median.same ? "yes" : "NO"}) << '\n';
  std::cout << kestrin::Format("scipy rank_filter 19/2/50 at 4096: %.1f s, identical output: %s", {mesh.seconds, mesh.same ? "yes" : "NO"}) << '\n';
  for (const auto& [name, seconds] : reporter.medians) {
    if (name.find("10000") != std::string::npos) {
      std::cout << kestrin::Format("%s: %.2f s (goal: at most 60 s)", {name, seconds}) << '\n';
      continue;
    }
    const double peer = name.find("19_2_50") != std::string::npos ? mesh.seconds : median.seconds;
    std::cout << kestrin::Format("%s: %.2f s, %.4f of scipy's time", {name, seconds, seconds / peer}) << '\n';
  }
  return median.same && mesh.same ? 0 : 1;
}
