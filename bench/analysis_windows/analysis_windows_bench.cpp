// The tool windows' runs through their commands (progress labels, a pump per block of rows
// or per spot, the state machine, the statistics and levels) against the bare routines on
// the same input: Make BG on a 4000 x 4000 frame against bg_rank_filter, the oscillation
// batch of 20 frames of 2000 x 2000 against osc_ana_batch, Calc. All over 500 spots against
// the loop of analyze_spot_2theta. The goal is at most 3 % overhead each. Then a paused run
// under the application's event pump: its CPU time over one second of pause.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "../common/median_reporter.h"

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/batch_state.h"
#include "analysis/bg_filter.h"
#include "analysis/osc_batch.h"
#include "analysis/spot_list.h"
#include "app/window_ports.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/bg_commands.h"
#include "commands/file_commands.h"
#include "commands/headless_ports.h"
#include "commands/osc_ana_commands.h"
#include "commands/spot_2theta.h"
#include "commands/spot_analysis_commands.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "platform/gui/app.h"
#include "ports/names/bg_form_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/spot_analyze_form_names.h"
#include "ports/ports.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/spot_image.h"

namespace {

using namespace kestrin;

std::string folder() {
  static const std::string f = std::filesystem::temp_directory_path().string() + "/kestrin_windows_bench/";
  return f;
}

std::vector<uint16_t> frame(int32_t side, int32_t spots) {
  test::SpotImageSpec spec;
  spec.width = spec.height = side;
  spec.spots = spots;
  spec.background = 1000;
  spec.noise = 300;
  return test::make_spot_image(spec);
}

// Make BG: the window's command on a loaded 4000 x 4000 R-AXIS frame, and the bare filter.
void load_bg_frame() {
  static std::string file;
  if (file.empty()) {
    test::RaxisFixture f;
    f.width = f.height = 4000;
    f.codes = frame(4000, 4000);
    file = f.write(folder() + "bg.img");
  }
  if (current_image().ImageFilePath != file) load_img_proc(file);
}

void BM_MakeBgCommand(benchmark::State& s) {
  load_bg_frame();
  controls().set_text(frmBG::edtFilterSize, "19");
  controls().set_text(frmBG::edtFilterStep, "2");
  for (auto _ : s) make_bg_command();
}

void BM_MakeBgBare(benchmark::State& s) {
  load_bg_frame();
  const ImageStore& img = current_image();
  std::vector<uint16_t> out(img.image_codes.size());
  Report report;
  for (auto _ : s) bg_rank_filter(19, 2, 50, out, img.image_codes, 4000, 4000, 3, kSmoothMedian, report);
}

// The oscillation batch of 20 frames.
const std::vector<std::string>& osc_files() {
  static std::vector<std::string> files;
  if (files.empty()) {
    for (int i = 0; i < 20; ++i) {
      test::RaxisFixture f;
      f.width = f.height = 2000;
      f.codes = frame(2000, 400);
      files.push_back(f.write(folder() + Format("osc%.3d.img", {i})));
    }
    for (int k = 0; k < 200; ++k) state().spot_reference.push_back({double(100 + 9 * k), double(100 + 9 * k), 1});
  }
  return files;
}

void BM_OscBatchCommand(benchmark::State& s) {
  const auto& files = osc_files();
  for (auto _ : s) run_osc_ana_batch(files, folder(), "_w");
}

void BM_OscBatchBare(benchmark::State& s) {
  const auto& files = osc_files();
  // The window's start settings; the image redrawn after each search as the command does.
  const OscSettings settings{1, 9, 1.3, 0.2, 4, 20};
  for (auto _ : s) {
    Report report = log_report();
    osc_ana_batch(files, folder(), "_b", settings, {[](const std::string& name) { return load_image_command(name); }, [] { image_window().redraw_image(); }}, report);
  }
}

// Calc. All over 500 spots of a 1000 x 1000 frame.
void prepare_spots() {
  static bool done = false;
  if (done) return;
  done = true;
  std::vector<test::SpotTruth> truth;
  test::SpotImageSpec spec;
  spec.width = spec.height = 1000;
  spec.spots = 500;
  spec.min_separation = 12;
  test::load_into_current_image(test::make_spot_image(spec, &truth), 1000, 1000);
  current_image().ImageFolder = folder();
  controls().set_text(frmMain::edtCenterX0, "500.5");
  controls().set_text(frmMain::edtCenterY0, "500.5");
  controls().set_text(frmMain::edtCameraLength, "100");
  read_parameters(1000);
  SpotList& l = state().spot_list;
  set_spot_count(l, 500);
  for (size_t i = 0; i < 500; ++i) {
    l.SpotRecords[i].x = l.SpotX[i] = truth[i].x;
    l.SpotRecords[i].y = l.SpotY[i] = truth[i].y;
  }
}

void BM_CalcAllCommand(benchmark::State& s) {
  prepare_spots();
  for (auto _ : s) calc_all_command();
}

void BM_CalcAllBare(benchmark::State& s) {
  prepare_spots();
  for (auto _ : s)
    for (int32_t i = 0; i < 500; ++i) analyze_spot_2theta(i, Spot2ThetaSettings{});
}

#define KESTRIN_ONCE(name) \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)
KESTRIN_ONCE(BM_MakeBgCommand);
KESTRIN_ONCE(BM_MakeBgBare);
KESTRIN_ONCE(BM_OscBatchCommand);
KESTRIN_ONCE(BM_OscBatchBare);
KESTRIN_ONCE(BM_CalcAllCommand);
KESTRIN_ONCE(BM_CalcAllBare);

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A poll that finds the run paused, continued by a timer after one second; the caller's
// application runs the timer.
double paused_cpu_seconds(kgui::TApplication& /*running*/) {
  app::install_window_ports();
  state().BatchState = kBatchPause;
  QTimer::singleShot(1000, [] { state().BatchState = kBatchRun; });
  const double before = cpu_seconds();
  poll_batch_state();
  return cpu_seconds() - before;
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::filesystem::create_directories(folder());
  ::setenv("XDG_CONFIG_HOME", folder().c_str(), 1);
  reset_state();
  reset_headless_ports();
  benchmark::Initialize(&argc, argv);
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double worst = 0;
  for (const char* pair : {"MakeBg", "OscBatch", "CalcAll"}) {
    double command = 0, bare = 0;
    for (const auto& [name, seconds] : reporter.medians) {
      if (name == std::string("BM_") + pair + "Command") command = seconds;
      if (name == std::string("BM_") + pair + "Bare") bare = seconds;
    }
    if (bare <= 0) continue;
    const double overhead = command / bare - 1;
    worst = std::max(worst, overhead);
    std::cout << Format("%s through the commands: %.3f s, bare: %.3f s, overhead %.1f %% (goal: at most 3 %%)",
                        {pair, command, bare, overhead * 100})
              << '\n';
  }
  int app_argc = 1;
  char arg0[] = "analysis_windows_bench";
  char* app_argv[] = {arg0, nullptr};
  kgui::TApplication app(app_argc, app_argv);
  const double paused = paused_cpu_seconds(app);
  std::cout << Format("CPU time over one second of pause: %.3f s (goal: idle)", {paused}) << '\n';
  app::remove_window_ports();
  std::filesystem::remove_all(folder());
  return worst <= 0.03 && paused < 0.1 ? 0 : 1;
}
