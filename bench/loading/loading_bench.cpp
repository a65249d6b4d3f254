// Reads a 3000 x 3000 R-AXIS frame with Kestrin (reader alone and the whole load), then
// has fabio read the same file in the same run and prints the time ratio.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/convert.h"
#include "image/formats/image_file.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/headless_ports.h"
#include "ports/log.h"

namespace {

constexpr int32_t kSide = 3000;
constexpr int32_t kRecordLength = 2048;

void put_f32be(uint8_t* p, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  kestrin::put_u32be(p, u);
}

// A frame of pseudo-random codes with one overflow pixel in a thousand.
std::string make_frame(const std::string& folder) {
  std::vector<uint8_t> b(size_t(kRecordLength) + size_t(kSide) * kSide * 2, 0);
  std::memcpy(b.data(), "RAXIS", 5);
  put_f32be(&b[292], 1.5418f);
  put_f32be(&b[344], 250.0f);
  kestrin::put_u32be(&b[768], kSide);
  kestrin::put_u32be(&b[772], kSide);
  put_f32be(&b[776], 0.1f);
  put_f32be(&b[780], 0.1f);
  kestrin::put_u32be(&b[784], kRecordLength);
  put_f32be(&b[800], 8.0f);
  uint32_t seed = 12345;
  for (size_t i = 0; i < size_t(kSide) * kSide; ++i) {
    seed = seed * 1664525u + 1013904223u;
    uint16_t code = uint16_t((seed >> 8) % 20000);
    if ((seed >> 4) % 1000 == 0) code = uint16_t(32768 + (seed >> 12) % 32768);
    kestrin::put_u16be(&b[kRecordLength + 2 * i], code);
  }
  const std::string path = folder + "bench_frame.img";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(b.data(), 1, b.size(), f) != b.size()) std::abort();
  std::fclose(f);
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
