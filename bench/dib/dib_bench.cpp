// Pixel format conversions of one 10000 x 10000 picture: Kestrin's against PIL's nearest
// operation on the same picture in the same run, as a ratio of median times.
//   24Bit -> 8Bit binned    quantize(256, FASTOCTREE, no dither)
//   24Bit -> 8Bit exact     quantize(256, MEDIANCUT, no dither)
//   ConvertToHalfTone       convert('P', palette=WEB, dither=FLOYDSTEINBERG)
//   ConvertToHalfToneBW     convert('1')
//   8Bit -> 24Bit           P -> RGB
//   8BitRLE -> 8Bit         PIL opening the same RLE8 file
// RLE8 encoding has no peer; its time is printed alone.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "base/convert.h"
#include "image/display/ksdib.h"

namespace {

using kestrin::KsPixelFormat;
using kestrin::TKsDIB;

constexpr int kSide = 10000;

// Smooth colours across the picture with rings: millions of distinct colours.
TKsDIB& true_color() {
  static TKsDIB d = [] {
    TKsDIB p;
    p.SetWidth(kSide);
    p.SetHeight(kSide);
    p.SetBitCount(24);
    for (int y = 0; y < kSide; ++y) {
      uint8_t* row = p.ScanLine(y);
      for (int x = 0; x < kSide; ++x) {
        const double r = std::hypot(x - 5200.0, y - 4800.0);
        row[3 * x] = uint8_t(128 + 127 * std::sin(r / 45.0));
        row[3 * x + 1] = uint8_t(y * 255 / kSide);
        row[3 * x + 2] = uint8_t(x * 255 / kSide);
      }
    }
    return p;
  }();
  return d;
}

// Flat rings of 256 grey levels: long runs that run-length encoding shrinks.
TKsDIB& rings() {
  static TKsDIB d = [] {
    TKsDIB p;
    p.SetWidth(kSide);
    p.SetHeight(kSide);
    for (int i = 0; i < 256; ++i) p.SetColor(i, kestrin::rgb_to_color(uint8_t(i), uint8_t(i), uint8_t(255 - i)));
    for (int y = 0; y < kSide; ++y) {
      uint8_t* row = p.ScanLine(y);
      for (int x = 0; x < kSide; ++x) row[x] = uint8_t(int(std::hypot(x - 5000.0, y - 5000.0) / 25.0));
    }
    return p;
  }();
  return d;
}

TKsDIB& reduced() {
  static TKsDIB d = [] {
    TKsDIB p = true_color();
    p.SetPixelFormat(KsPixelFormat::Bit8);
    return p;
  }();
  return d;
}

TKsDIB& rings_rle() {
  static TKsDIB d = [] {
    TKsDIB p = rings();
    p.SetPixelFormat(KsPixelFormat::Bit8RLE);
    return p;
  }();
  return d;
}

template <typename Op>
void run(benchmark::State& state, TKsDIB& source, Op op) {
  for (auto _ : state) {
    TKsDIB d = source;
    op(d);
    benchmark::DoNotOptimize(d.internal().bits.data());
  }
}

void BM_TrueColorTo8BitBinned(benchmark::State& s) { run(s, true_color(), [](TKsDIB& d) { d.SetPixelFormat(KsPixelFormat::Bit8); }); }
void BM_TrueColorTo8BitExact(benchmark::State& s) {
  run(s, true_color(), [](TKsDIB& d) {
    d.SetConversionMode(1);
    d.SetPixelFormat(KsPixelFormat::Bit8);
  });
}
void BM_HalfTone(benchmark::State& s) { run(s, true_color(), [](TKsDIB& d) { d.ConvertToHalfTone(); }); }
void BM_HalfToneBW(benchmark::State& s) { run(s, true_color(), [](TKsDIB& d) { d.ConvertToHalfToneBW(); }); }
void BM_8BitTo24Bit(benchmark::State& s) { run(s, reduced(), [](TKsDIB& d) { d.SetPixelFormat(KsPixelFormat::Bit24); }); }
void BM_Rle8Decode(benchmark::State& s) { run(s, rings_rle(), [](TKsDIB& d) { d.SetPixelFormat(KsPixelFormat::Bit8); }); }
void BM_Rle8Encode(benchmark::State& s) { run(s, rings(), [](TKsDIB& d) { d.SetPixelFormat(KsPixelFormat::Bit8RLE); }); }

#define DIB_BENCHMARK(fn, reps) \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(reps)->ReportAggregatesOnly(true)
DIB_BENCHMARK(BM_TrueColorTo8BitBinned, 5);
DIB_BENCHMARK(BM_TrueColorTo8BitExact, 3);
DIB_BENCHMARK(BM_HalfTone, 3);
DIB_BENCHMARK(BM_HalfToneBW, 3);
DIB_BENCHMARK(BM_8BitTo24Bit, 5);
DIB_BENCHMARK(BM_Rle8Decode, 5);
DIB_BENCHMARK(BM_Rle8Encode, 3);

// PIL's median time of an operation on a file, or a negative value when it cannot run.
double pil_seconds(const std::string& operation, const std::string& path, int runs) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/dib/pil_dib.py";
  std::FILE* p = popen(("/usr/bin/python3 '" + script + "' " + operation + " '" + path + "' " + std::to_string(runs)).c_str(), "r");
  if (!p) return -1;
  char line[128] = {0};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  const bool ok = pclose(p) == 0;
  return ok && got ? kestrin::TryStrToFloat(std::string(line, std::strcspn(line, "\r\n"))).value_or(-1) : -1;
}

struct Peer {
  const char* operation;
  const char* file;  // "rgb": the 24-bit picture, "p": the reduced one, "rle": the RLE8 rings
  int runs;
  double goal;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_dib_bench/";
  std::filesystem::create_directories(folder);
  const std::map<std::string, std::string> files = {
      {"rgb", folder + "rgb.bmp"}, {"p", folder + "p.bmp"}, {"rle", folder + "rle.bmp"}};
  true_color().SaveToFile(files.at("rgb"));
  reduced().SaveToFile(files.at("p"));
  rings_rle().SaveToFile(files.at("rle"));

  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const std::map<std::string, Peer> peers = {
      {"BM_TrueColorTo8BitBinned", {"fastoctree", "rgb", 3, 0.5}},
      {"BM_TrueColorTo8BitExact", {"mediancut", "rgb", 1, 0.25}},
      {"BM_HalfTone", {"web", "rgb", 3, 0.8}},
      {"BM_HalfToneBW", {"bw", "rgb", 3, 1.0}},
      {"BM_8BitTo24Bit", {"rgb", "p", 5, 1.0}},
      {"BM_Rle8Decode", {"open", "rle", 3, 0.1}},
  };
  int status = 0;
  for (const auto& [name, seconds] : reporter.medians) {
    auto peer = peers.find(name);
    if (peer == peers.end()) {
      std::cout << kestrin::Format("%s: %.1f ms (no peer)", {name, seconds * 1000}) << '\n';
      continue;
    }
    const Peer& p = peer->second;
    const double pil = pil_seconds(p.operation, files.at(p.file), p.runs);
    if (pil <= 0) {
      std::cout << name << ": PIL could not be timed (is python3-pil installed?)\n";
      status = 1;
      continue;
    }
    std::cout << kestrin::Format("%s: %.1f ms, PIL %s %.1f ms, ratio %.3f (goal: at most %.2f)",
                                 {name, seconds * 1000, p.operation, pil * 1000, seconds / pil, p.goal})
              << '\n';
  }
  std::filesystem::remove_all(folder);
  return status;
}
