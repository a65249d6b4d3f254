// Reads a 3000 x 3000 R-AXIS frame with Kestrin again and again into the buffers of the
// last load (reader alone and the whole load; first_load_bench times a fresh process), then
// has fabio read the same file in the same run and prints the time ratio.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"
#include "commands/file_commands.h"
#include "raxis_frame.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "image/formats/image_file.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "ports/log.h"

namespace {

std::string make_frame(const std::string& folder) {
  const std::string path = folder + "bench_frame.img";
  kestrin::bench::write_raxis_frame(path);
  return path;
}

std::string frame_path;

// The reader alone: the file decoded into the current image's store.
void BM_ReadRigakuFile(benchmark::State& state) {
  const kestrin::DecodeOptions options = kestrin::decode_options(frame_path);
  for (auto _ : state) {
    kestrin::ImageData& store = kestrin::current_image();  // lends its buffers, as the loader's store does
    kestrin::ImageFileDecode file = kestrin::decode_image_file(frame_path, "", options, std::move(store));
    if (!file.image.ok) state.SkipWithError("read failed");
    kestrin::install_image(kestrin::current_image(), std::move(file.image));
  }
}
BENCHMARK(BM_ReadRigakuFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadImgProc(benchmark::State& state) {
  for (auto _ : state) {
    kestrin::load_img_proc(frame_path);
    if (kestrin::current_image().NoImageFlag != 0) state.SkipWithError("load failed");
    kestrin::the_log().clear_history();
  }
}
BENCHMARK(BM_LoadImgProc)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

using kestrin::bench::MedianReporter;

double fabio_seconds(const std::string& path) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/loading/fabio_raxis_time.py";
  return kestrin::bench::PeerSeconds("/usr/bin/python3 '" + script + "' '" + path + "' 20");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_loading_bench/";
  std::filesystem::create_directories(folder);
  frame_path = make_frame(folder);
  kestrin::reset_headless_ports();  // the loader reads the parameter edits at its end
  kestrin::the_log().set_listener([](const std::string&) {});
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double fabio = fabio_seconds(frame_path);
  std::filesystem::remove_all(folder);
  if (fabio <= 0) {
    std::cout << "fabio could not be timed (is python3-fabio installed?)\n";
    return 1;
  }
  std::cout << kestrin::Format("fabio RaxisImage.read: %.2f ms (median of 20)", {fabio * 1000}) << '\n';
  for (const auto& [name, seconds] : reporter.medians)
    std::cout << kestrin::Format("%s: %.2f ms, %.3f of fabio's time", {name, seconds * 1000, seconds / fabio}) << '\n';
  return 0;
}
