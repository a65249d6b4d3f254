// The spot search (Size1 1, Size2 9) on a 4096 x 4096 and a 10000 x 10000 frame, then the
// numpy transcription on the 4096 frame in the same run: its spot count compared with ours
// and the time ratio printed.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/spot_search.h"
#include "base/convert.h"
#include "base/report.h"
#include "image/image_store.h"
#include "model/state.h"
#include "support/ring_image.h"
#include "support/spot_image.h"

namespace {

constexpr int32_t kSide = 4096;
constexpr int32_t kLargeSide = 10000;

std::vector<uint16_t> frame_codes(int32_t side) {
  kestrin::test::SpotImageSpec spec;
  spec.width = spec.height = side;
  spec.spots = side / 2;
  return kestrin::test::make_spot_image(spec);
}

void search(benchmark::State& state, int32_t side) {
  kestrin::test::load_into_current_image(frame_codes(side), side, side);
  kestrin::Report report;
  for (auto _ : state) kestrin::spot_search(side, 1, 9, 1.3, 0.2, 4, 0, 0, side, side, report);
  state.counters["spots"] = kestrin::state().spot_list.SpotCount;
}

void BM_SpotSearch4096(benchmark::State& s) { search(s, kSide); }
void BM_SpotSearch10000(benchmark::State& s) { search(s, kLargeSide); }
BENCHMARK(BM_SpotSearch4096)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SpotSearch10000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

// numpy's seconds for the search of the 4096 frame and its spot count; seconds -1 on failure.
std::pair<double, int> numpy_run(const std::string& folder) {
  const std::vector<uint16_t> codes = frame_codes(kSide);
  const std::string in = folder + "in.raw";
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/tests/analysis/peer/numpy_spot_search.py";
  const std::string command = "/usr/bin/python3 '" + script + "' '" + in + "' 4096 4096 1 9 1.3 0.2 4 0 0 4096 4096 --time 2>/dev/null";
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return {-1, 0};
  char line[128] = {};
  double seconds = -1;
  int spots = 0;
  if (std::fgets(line, sizeof line, p)) std::istringstream(line) >> seconds >> spots;
  if (pclose(p) != 0) return {-1, 0};
  return {seconds, spots};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_spots_bench/";
  std::filesystem::create_directories(folder);
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  kestrin::test::load_into_current_image(frame_codes(kSide), kSide, kSide);
  kestrin::Report report;
  kestrin::spot_search(kSide, 1, 9, 1.3, 0.2, 4, 0, 0, kSide, kSide, report);
  const int ours = kestrin::state().spot_list.SpotCount;
  const auto [seconds, spots] = numpy_run(folder);
  std::filesystem::remove_all(folder);
  if (seconds <= 0) {
    std::cout << "numpy could not be timed (is python3-numpy installed?)\n";
    return 1;
  }
  std::cout << kestrin::Format("numpy transcription at 4096: %.2f s, %d spots (ours %d)", {seconds, spots, ours}) << '\n';
  for (const auto& [name, mine] : reporter.medians) {
    if (name.find("10000") != std::string::npos)
      std::cout << kestrin::Format("%s: %.3f s (goal: under 2 s)", {name, mine}) << '\n';
    else
      std::cout << kestrin::Format("%s: %.3f s, %.4f of numpy's time (the peer is our own numpy port of the spot search, "
                                   "not an outside program)",
                                   {name, mine, mine / seconds})
                << '\n';
  }
  return spots == ours ? 0 : 1;
}
