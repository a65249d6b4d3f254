// A script building 1,000 edits (kept in an array, as a script-made control lives only as
// long as its wrapper) on a form with five properties each (Name, Left, Top, Width,
// Text), against plain Qt creating, naming, placing and filling the same 1,000 line edits
// in the same run, offscreen; prints the ratio (goal: the script at most 3 times plain Qt).
// The repetitions of the two run interleaved.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/gui/vcl_objects.h"

namespace {

constexpr int kControls = 1000;

const char* const kScript =
    "var f = new VCLForm(), edits = [];\n"
    "for (var i = 0; i < 1000; i++) {\n"
    "  var e = new VCLEdit(f);\n"
    "  e.Name = 'Edit' + i;\n"
    "  e.Left = (i % 20) * 40;\n"
    "  e.Top = Math.floor(i / 20) * 22;\n"
    "  e.Width = 38;\n"
    "  e.Text = 'value ' + i;\n"
    "  edits.push(e);  // a script-made control lives as long as its wrapper\n"
    "}\n";

void BM_ScriptControls(benchmark::State& state) {
  using namespace kestrin::script;
  for (auto _ : state) {
    TJHost host(RegisterBuiltins, {ImportHostLibrariesWithGui});
    if (!host.Compile(kScript) || host.Run() != 0) state.SkipWithError("the script failed");
    host.Clear();
    FlushVCLDeferredFrees();
  }
}
BENCHMARK(BM_ScriptControls)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_PlainQtWidgets(benchmark::State& state) {
  for (auto _ : state) {
    auto form = std::make_unique<QWidget>(nullptr, Qt::Window);
    for (int i = 0; i < kControls; ++i) {
      auto* e = new QLineEdit(form.get());
      e->setObjectName(QStringLiteral("Edit%1").arg(i));
      e->setGeometry((i % 20) * 40, (i / 20) * 22, 38, 21);
      e->setText(QStringLiteral("value %1").arg(i));
      e->show();
    }
    form.reset();
  }
}
BENCHMARK(BM_PlainQtWidgets)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.medians.size() == 2) {
    const double script = reporter.medians[0].second, qt = reporter.medians[1].second;
    std::printf("1,000 controls: script %.1f ms; plain Qt %.1f ms; ratio %.2f (goal: at most 3)\n", script * 1000,
                qt * 1000, script / qt);
  }
  return 0;
}
