// CalcFileCRC (CRC-16 and CRC-32 together) of a 256 MB file, then zlib's crc32 over the
// same file in 64 KB blocks through Python in the same run; prints the time ratio (goal:
// at most twice zlib's time).
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "base/convert.h"
#include "script/builtins/crc.h"

namespace {

constexpr size_t kFileBytes = size_t{256} << 20;

std::string make_file(const std::string& folder) {
  const std::string path = folder + "crc_bench.bin";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::mt19937_64 gen(22);
  std::vector<uint64_t> block(size_t{1} << 17);
  for (size_t written = 0; written < kFileBytes; written += block.size() * 8) {
    for (uint64_t& v : block) v = gen();
    if (std::fwrite(block.data(), 8, block.size(), f) != block.size()) std::abort();
  }
  std::fclose(f);
  return path;
}

std::string file_path;

void BM_CalcFileCRC(benchmark::State& state) {
  for (auto _ : state) {
    uint16_t c16;
    uint32_t c32;
    if (!kestrin::script::CalcFileCRC(file_path, c16, c32)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(c32);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_CalcFileCRC)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

double zlib_seconds(const std::string& path) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/crc/zlib_crc_time.py";
  return kestrin::bench::PeerSeconds("/usr/bin/python3 '" + script + "' '" + path + "' 5");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_crc_bench/";
  std::filesystem::create_directories(folder);
  file_path = make_file(folder);
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double zlib = zlib_seconds(file_path);
  std::filesystem::remove_all(folder);
  if (zlib <= 0) {
    std::cout << "zlib could not be timed\n";
    return 1;
  }
  std::cout << kestrin::Format("zlib.crc32 in 64 KB blocks: %.1f ms (median of 5)", {zlib * 1000}) << '\n';
  for (const auto& [name, seconds] : reporter.medians)
    std::cout << kestrin::Format("%s: %.1f ms, %.2f of zlib's time (goal: at most 2)", {name, seconds * 1000, seconds / zlib})
              << '\n';
  return 0;
}
