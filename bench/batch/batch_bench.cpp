// Batch conversion of ten 4096 x 4096 16-bit TIFF ring images (written by fabio from pyFAI's
// 2theta map) into NPD patterns with the fine 2theta integration, then the peer's batch of
// the same files (fabio, pyFAI's integrate1d with "csr", numpy.savetxt) in the same run.
// Prints the time ratio; the goal is at most 0.8 of the peer's time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"
#include "../common/peer_timing.h"
#include "commands/batch_files_commands.h"
#include "base/convert.h"
#include "commands/wiring.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/temp_dir.h"

namespace {

using namespace kestrin;

constexpr int kSide = 4096, kFiles = 10;
constexpr double kCentre = 2047.6, kLo = 300, kPixel = 0.1, kBegin = 1, kEnd = 44, kStep = 0.02;

std::vector<std::string> files;

// Writes the files with the peer's own 2theta map; false when the peer cannot.
bool write_files(const std::string& folder) {
  std::string command = std::string(test::kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/peers/pyfai_ring_tiffs.py";
  for (double v : {double(kSide), double(kSide), kCentre, kCentre, kLo, kPixel, kPixel}) command += " " + FloatToStr(v);
  for (int i = 0; i < kFiles; ++i) {
    files.push_back(folder + "ring_" + std::to_string(i) + ".tif");
    const double shift = 0.3 * i;
    command += " " + files.back() + "=" + FloatToStr(8 + shift) + "," + FloatToStr(15 + shift) + "," +
               FloatToStr(22 + shift) + "," + FloatToStr(30 + shift);
  }
  return test::run_command(command + " >/dev/null 2>&1") == 0;
}

void set_geometry() {
  Controls& c = controls();
  const std::pair<ControlName, double> edits[] = {
      {frmMain::edtCenterX0, kCentre}, {frmMain::edtCenterY0, kCentre}, {frmMain::edtCameraLength, kLo},
      {frmMain::edtPixelX, kPixel},    {frmMain::edtPixelY, kPixel},    {frmMain::edtPhi, 0},
      {frmMain::edt2ThetaBegin, kBegin}, {frmMain::edt2ThetaEnd, kEnd}, {frmMain::edt2ThetaStep, kStep}};
  for (const auto& [name, value] : edits) c.set_text(name, FloatToStr(value));
  for (ControlName lock : {frmMain::chkLo, frmMain::chkwl, frmMain::chkpsx, frmMain::chkpsy}) c.set_checked(lock, true);
  c.set_checked(frmMain::rbtnRectangle, true);
  c.set_item_index(frmMain::cmbDirection, 6);  // FULL
  read_parameters(kSide);  // no image has a parameter file: the loads keep this geometry
}

void BM_BatchConvert(benchmark::State& st) {
  for (auto _ : st) {
    batch_convert_files(files);
    the_log().clear_history();
  }
}
BENCHMARK(BM_BatchConvert)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  test::TempDir dir;
  if (!write_files(dir.path())) {
    std::cout << "the peer could not write the images (are python3-fabio and python3-pyfai installed?)\n";
    return 1;
  }
  start_headless_program();
  set_geometry();
  the_log().set_listener([](const std::string&) {});
  benchmark::Initialize(&argc, argv);
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::string command = std::string(test::kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/bench/batch/pyfai_batch_time.py";
  for (double v : {kCentre, kCentre, kLo, kPixel, kPixel, kBegin, kEnd, kStep}) command += " " + FloatToStr(v);
  for (const std::string& f : files) command += " " + f;
  const double peer = bench::PeerSeconds(command + " 2>/dev/null");
  if (reporter.medians.empty()) return 1;
  bench::ReportRatio("Batch of 10 files of 4096 x 4096 (goal: at most 0.8)", reporter.medians.front().second,
                     "fabio + pyFAI csr + numpy.savetxt", peer);
  return peer > 0 ? 0 : 1;
}
