// A script building 1,000 edits (kept in an array, as a script-made control lives only as
// long as its wrapper) on a form with five properties each (Name, Left, Top, Width,
// Text), and a script loading the same 1,000 edits into a form from a form text
// (form.loadFromText), each against plain Qt creating, naming, placing and filling the same
// 1,000 line edits in the same run, offscreen; prints the ratios (goal: each script at most
// 3 times plain Qt). The repetitions of the three run interleaved.
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

// Each run: a fresh host, the script, and the freeing of all it made.
void runScript(benchmark::State& state, const char* source, const kestrin::script::TVarRecArray& args) {
  using namespace kestrin::script;
  for (auto _ : state) {
    TJHost host(RegisterBuiltins, {ImportHostLibrariesWithGui});
    if (!host.Compile(source) || host.Run(args) != 0) state.SkipWithError("the script failed");
    host.Clear();
    FlushVCLDeferredFrees();
  }
}

void BM_ScriptControls(benchmark::State& state) { runScript(state, kScript, {}); }
BENCHMARK(BM_ScriptControls)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);

// The same 1,000 edits as a form text, made once outside the timing.
const std::string& formText() {
  static const std::string text = [] {
    std::string out = "object Form1: TForm\n";
    for (int i = 0; i < kControls; ++i) {
      const std::string n = std::to_string(i);
      out += "  object Edit" + n + ": TEdit\n";
      out += "    Left = " + std::to_string((i % 20) * 40) + "\n";
      out += "    Top = " + std::to_string((i / 20) * 22) + "\n";
      out += "    Width = 38\n";
      out += "    Text = 'value " + n + "'\n";
      out += "  end\n";
    }
    return out + "end\n";
  }();
  return text;
}

const char* const kLoadScript =
    "var f = new VCLForm();\n"
    "f.loadFromText(arguments[0]);\n"
    "if (f.Edit999.Text != 'value 999') throw new Error('not loaded');\n";

void BM_ScriptLoadFromText(benchmark::State& state) { runScript(state, kLoadScript, {formText()}); }
BENCHMARK(BM_ScriptLoadFromText)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);

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
  formText();
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double qt = reporter.of(reporter.medians, "BM_PlainQtWidgets");
  for (const auto& [name, what] : {std::pair{"BM_ScriptControls", "1,000 controls by script"},
                                   std::pair{"BM_ScriptLoadFromText", "1,000 controls by loadFromText"}}) {
    const double script = reporter.of(reporter.medians, name);
    if (script > 0 && qt > 0)
      std::printf("%s: %.1f ms; plain Qt %.1f ms; ratio %.2f (goal: at most 3)\n", what, script * 1000, qt * 1000,
                  script / qt);
  }
  return 0;
}
