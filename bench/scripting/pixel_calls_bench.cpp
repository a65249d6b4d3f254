// A script that sums Kestrin.GetPixelIntensity(x, y) over a 1000 x 1000 image, run by the
// script window's engine with the Kestrin object; then duktape runs the same loop over a
// one-line script function in the same run, and the ratio of the two loop times is printed
// (goal: at most 0.8 of duktape's time).
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "commands/wiring.h"
#include "ports/log.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "scripting/kestrin_object.h"
#include "support/ring_image.h"

namespace {

constexpr int kSide = 1000;

const char* const kLoop =
    "var s = 0;\n"
    "for (var y = 0; y < 1000; y++)\n"
    "  for (var x = 0; x < 1000; x++) s += Kestrin.GetPixelIntensity(x, y);\n";

void BM_ScriptPixelSum(benchmark::State& state) {
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins);
  kestrin::scripting::ImportKestrin(host);
  std::string out;
  host.OnStdout = [&](kestrin::script::TJScriptHost&, const std::string& s) { out = s; };
  if (!host.Compile(std::string(kLoop) + "print(s);\n")) state.SkipWithError("compile failed");
  for (auto _ : state) host.Run();
  if (out.empty()) state.SkipWithError("no sum");
}
BENCHMARK(BM_ScriptPixelSum)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

// duktape's loop time in seconds, printed by the script itself; the best of three runs.
double duktape_seconds(const std::string& folder) {
  const std::string path = folder + "pixel_sum_duk.js";
  std::ofstream(path) << "var Kestrin = { GetPixelIntensity: function (x, y) { return (x * 7 + y) % 4096; } };\n"
                      << "var t0 = new Date().getTime();\n"
                      << kLoop << "print((new Date().getTime() - t0) / 1000);\n";
  double best = -1;
  for (int run = 0; run < 3; ++run) {
    const double s = kestrin::bench::PeerSeconds("/usr/bin/duk '" + path + "'");
    if (s > 0 && (best < 0 || s < best)) best = s;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  kestrin::wire_program({});
  kestrin::init_program_state();
  kestrin::the_log().set_listener([](const std::string&) {});
  kestrin::test::RingImageSpec spec;
  spec.geometry.width = spec.geometry.height = kSide;
  spec.geometry.X0 = spec.geometry.Y0 = kSide / 2.0;
  spec.rings = {{3.0, 0.05, 3000}};
  kestrin::test::load_into_current_image(kestrin::test::make_ring_image(spec), kSide, kSide);
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string folder = std::filesystem::temp_directory_path().string() + "/";
  const double duk = duktape_seconds(folder);
  if (duk <= 0) {
    std::cout << "duktape (/usr/bin/duk) could not be timed\n";
    return std::getenv("CI") && std::string(std::getenv("CI")) == "true" ? 1 : 0;
  }
  for (const auto& [name, seconds] : reporter.medians)
    std::cout << kestrin::Format("%s: %.3f s; duktape %.3f s; %.2f of duktape's time (goal: at most 0.8)",
                                 {name, seconds, duk, seconds / duk})
              << '\n';
  return 0;
}
