// The cake window's "Cake" (33 sector pixel histograms made into the picture) on a square
// ring image, 10000 pixels a side unless --side=N says otherwise, then pyFAI's integrate2d
// of the same image (800 radial bins over 0 to 1600 pixels, 32 azimuth bins, "csr") in the
// same run. Prints the ratio to pyFAI's repeated call (the goal: at most 0.5) and to its
// first call, which builds its sparse matrix.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "../common/median_reporter.h"
#include "../common/peer_timing.h"
#include "commands/cake_commands.h"
#include "base/convert.h"
#include "commands/wiring.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace {

using namespace kestrin;

constexpr double kLo = 300, kPixel = 0.1;

int side = 10000;

test::RingGeometry geometry() {
  test::RingGeometry g;
  g.width = g.height = side;
  g.X0 = side / 2.0 - 0.4;
  g.Y0 = side / 2.0 + 0.3;
  g.Lo = kLo;
  g.pixel_x = g.pixel_y = kPixel;
  return g;
}

// Makes the image, puts it into the current image and writes it raw for the peer.
bool prepare(const std::string& raw) {
  test::RingImageSpec spec;
  spec.geometry = geometry();
  for (double two_theta : {4.0, 9.0, 14.0, 19.0, 24.0}) spec.rings.push_back({two_theta, 0.08, 4000});
  const std::vector<uint16_t> codes = test::make_ring_image(spec);
  std::ofstream out(raw, std::ios::binary);
  out.write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
  if (!out) return false;
  test::load_into_current_image(codes, side, side);
  const test::RingGeometry g = spec.geometry;
  Controls& c = controls();
  const std::pair<ControlName, double> edits[] = {{frmMain::edtCenterX0, g.X0}, {frmMain::edtCenterY0, g.Y0},
                                                  {frmMain::edtCameraLength, g.Lo}, {frmMain::edtPixelX, g.pixel_x},
                                                  {frmMain::edtPixelY, g.pixel_y},   {frmMain::edtPhi, 0},
                                                  {frmMain::edtBeta, 0}};
  for (const auto& [name, value] : edits) c.set_text(name, FloatToStr(value));
  return true;
}

void BM_Cake(benchmark::State& st) {
  for (auto _ : st) {
    if (!run_cake(kCake)) st.SkipWithError("no cake");
    the_log().clear_history();
  }
}
BENCHMARK(BM_Cake)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime();

// The peer's two lines: the repeated call's seconds, then the first call's; -1 on failure.
std::pair<double, double> peer_seconds(const std::string& command) {
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return {-1, -1};
  double seconds[2] = {-1, -1};
  char line[128];
  for (double& s : seconds)
    if (std::fgets(line, sizeof line, p)) s = TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1);
  if (pclose(p) != 0) return {-1, -1};
  return {seconds[0], seconds[1]};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--side=", 7) == 0) side = std::max(1700, std::atoi(argv[i] + 7));
    else args.push_back(argv[i]);
  }
  int count = int(args.size());
  test::TempDir dir;
  const std::string raw = dir.file("cake.raw");
  start_headless_program();
  if (!prepare(raw)) {
    std::cout << "the image could not be written\n";
    return 1;
  }
  the_log().set_listener([](const std::string&) {});
  benchmark::Initialize(&count, args.data());
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const test::RingGeometry g = geometry();
  std::string command = std::string(test::kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/bench/cake/pyfai_cake_time.py " + raw;
  for (double v : {double(side), double(side), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y}) command += " " + FloatToStr(v);
  const auto [repeated, first] = peer_seconds(command + " 2>/dev/null");
  if (reporter.medians.empty()) return 1;
  const double ours = reporter.medians.front().second;
  const std::string name = Format("Cake of %d x %d", {side, side});
  bench::ReportRatio(name + " (goal: at most 0.5)", ours, "pyFAI integrate2d csr, repeated call", repeated);
  bench::ReportRatio(name, ours, "pyFAI integrate2d csr, first call", first);
  return repeated > 0 ? 0 : 1;
}
