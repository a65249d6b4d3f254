// A recorded macro run over 50 images by the script window's target-file flow (offscreen),
// against the same calls made from C++ over the method table; no peer program exists, so
// the ratio of the two is printed (goal: the flow at most 1.05 times the direct calls).
// The repetitions of the two run interleaved, and the CPU time of the whole process (the
// integration's worker threads included) is compared besides the real time, which a busy
// machine spreads far more than the few microseconds the engine adds per image.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/program.h"
#include "base/convert.h"
#include "commands/file_commands.h"
#include "commands/kestrin_methods.h"
#include "image/image_loader.h"
#include "platform/gui/app.h"
#include "ports/log.h"
#include "scripting/script_window.h"
#include "support/ring_image.h"

namespace {

constexpr int kImages = 50;

// The macro's calls: name and arguments as texts.
struct Call {
  const char* method;
  std::vector<std::string> args;
};
const std::vector<Call> kMacro = {
    {"SetLoCheck", {"1"}},          {"SetLo", {"150"}},           {"SetPixelSizeX", {"0.1"}},
    {"SetPixelSizeY", {"0.1"}},     {"SetCenterX", {"100.3"}},    {"SetCenterY", {"99.6"}},
    {"Set2ThetaBegin", {"1"}},      {"Set2ThetaEnd", {"9"}},      {"Set2ThetaStep", {"0.01"}},
    {"SetIntegrationMode", {"0"}}, {"SetRectAngleMode", {"0"}}, {"SetRectDirection", {"6"}},
    {"AngleIntensity", {}},         {"PeakSearch", {}},           {"SaveNaxFile2", {"rie"}},
};

std::string macro_source() {
  std::string s = "Kestrin = new Kestrin;\n";
  for (const Call& c : kMacro) {
    s += std::string("Kestrin.") + c.method + "(";
    for (size_t i = 0; i < c.args.size(); ++i) {
      const bool text = kestrin::TryStrToFloat(c.args[i]) == std::nullopt;
      s += (i ? ", " : "") + (text ? "'" + c.args[i] + "'" : c.args[i]);
    }
    s += ");\n";
  }
  return s;
}

class TextArgs : public kestrin::MethodArgs {
public:
  explicit TextArgs(const std::vector<std::string>& a) : a_(a) {}
  size_t count() const override { return a_.size(); }
  double number(size_t i) const override { return kestrin::StrToFloat(a_[i]); }
  int32_t integer(size_t i) const override { return kestrin::Round(kestrin::StrToFloat(a_[i])); }
  std::string text(size_t i) const override { return a_[i]; }

private:
  const std::vector<std::string>& a_;
};

std::vector<std::string> images;
kestrin::scripting::TfrmScript* window = nullptr;

// Both runs end by handling what they left queued (the image window's repaints), so that
// neither leaves work for the other's repetition.
void finish_run() {
  kgui::TApplication::instance()->processMessages();
  kestrin::the_log().clear_history();
}

void BM_TargetFileFlow(benchmark::State& state) {
  window->memScriptSource->setText(macro_source());
  window->memFileName->lines()->clear();
  for (const std::string& image : images) window->memFileName->lines()->add(image);
  for (auto _ : state) {
    window->pbtnScriptExecute2->click();
    finish_run();
  }
  if (window->memScriptLog->lines()->count() != 0) state.SkipWithError("the macro reported an error");
}
BENCHMARK(BM_TargetFileFlow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);

void BM_TableCalls(benchmark::State& state) {
  std::vector<const kestrin::KestrinMethod*> methods;
  for (const Call& c : kMacro) methods.push_back(kestrin::find_kestrin_method(c.method));
  for (auto _ : state) {
    for (const std::string& image : images) {
      kestrin::load_img_proc(image);
      for (size_t i = 0; i < kMacro.size(); ++i) kestrin::call_kestrin_method(*methods[i], TextArgs(kMacro[i].args));
    }
    finish_run();
  }
}
BENCHMARK(BM_TableCalls)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_macro_bench/";
  std::filesystem::create_directories(folder);
  ::setenv("XDG_CONFIG_HOME", (folder + "config").c_str(), 1);
  kestrin::test::RingImageSpec spec = kestrin::test::three_ring_spec();
  spec.geometry.width = spec.geometry.height = 200;
  spec.geometry.X0 = 100.3;
  spec.geometry.Y0 = 99.6;
  for (int i = 0; i < kImages; ++i) {
    spec.background = 10 + i;
    images.push_back(folder + "image" + std::to_string(i) + ".tif");
    kestrin::test::write_ring_tiff(images.back(), spec);
  }
  kgui::TApplication app(argc, argv);
  app.setTitle("Kestrin");
  const auto forms = kestrin::app::start_program(app, &kestrin::scripting::make_script_window);
  window = static_cast<kestrin::scripting::TfrmScript*>(forms.at(10));
  kestrin::the_log().set_listener([](const std::string&) {});
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove_all(folder);
  for (const auto* times : {&reporter.medians, &reporter.cpu_medians}) {
    const double flow = reporter.of(*times, "BM_TargetFileFlow"), direct = reporter.of(*times, "BM_TableCalls");
    if (flow <= 0 || direct <= 0) continue;
    std::cout << kestrin::Format("%s: target-file flow %.1f ms; direct calls %.1f ms; ratio %.3f (goal: at most 1.05)",
                                 {times == &reporter.medians ? "real time" : "CPU time", flow * 1000, direct * 1000,
                                  flow / direct})
              << '\n';
  }
  return 0;
}
