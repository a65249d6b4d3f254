// Reads a 4096 x 4096 16-bit TIFF (written by fabio) with Kestrin's TIFF reader, then has
// fabio read the same file in the same run and prints the time ratio.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "image/formats/image_file.h"
#include "image/image_loader.h"
#include "image/image_store.h"

namespace {

std::string tiff_path;

std::string peer(const std::string& args) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/formats/fabio_tiff.py";
  std::FILE* p = popen(("/usr/bin/python3 '" + script + "' " + args).c_str(), "r");
  if (!p) return {};
  char line[128] = {0};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  const bool ok = pclose(p) == 0;
  return ok ? (got ? std::string(line, strcspn(line, "\r\n")) : std::string("ok")) : std::string();
}

// The file decoded into the current image's store.
void BM_ReadTiffFile(benchmark::State& state) {
  const kestrin::DecodeOptions options = kestrin::decode_options(tiff_path);
  for (auto _ : state) {
    kestrin::ImageData& store = kestrin::current_image();  // lends its buffers, as the loader's store does
    kestrin::ImageFileDecode file = kestrin::decode_image_file(tiff_path, "", options, std::move(store));
    if (!file.image.ok) state.SkipWithError("read failed");
    kestrin::install_image(kestrin::current_image(), std::move(file.image));
  }
}
BENCHMARK(BM_ReadTiffFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

using kestrin::bench::MedianReporter;

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_tiff_bench/";
  std::filesystem::create_directories(folder);
  tiff_path = folder + "bench_4096.tif";
  if (peer("write '" + tiff_path + "'").empty()) {
    std::cout << "fabio could not write the TIFF (is python3-fabio installed?)\n";
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double fabio = kestrin::TryStrToFloat(peer("time '" + tiff_path + "' 20")).value_or(-1);
  std::filesystem::remove_all(folder);
  if (fabio <= 0) {
    std::cout << "fabio could not be timed\n";
    return 1;
  }
  std::cout << kestrin::Format("fabio.open(...).data: %.2f ms (median of 20)", {fabio * 1000}) << '\n';
  for (const auto& [name, seconds] : reporter.medians)
    std::cout << kestrin::Format("%s: %.2f ms, %.3f of fabio's time (goal: at most 0.5)", {name, seconds * 1000, seconds / fabio})
              << '\n';
  return 0;
}
