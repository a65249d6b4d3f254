// One million calls of libc's strlen declared through DynaCall, and the same script loop
// without the call; then Python's ctypes makes the same calls in the same run, and the
// ratio and Kestrin's cost per call above its empty loop are printed.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_timing.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/objects/host_libraries.h"

namespace {

constexpr int kCalls = 1000000;

void RunScript(benchmark::State& state, const std::string& body) {
  const std::string source = "var dc = new DynaCall();\ndc.register(\"libc.so.6\", \"strlen\", \"i=s\", \"r=l\");\n"
                             "var n = 0;\nfor (var i = 0; i < " + std::to_string(kCalls) + "; i++) " + body +
                             "\nprintln(n);\n";
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins, {kestrin::script::ImportHostLibraries});
  std::string out, errors;
  host.OnStdout = [&](kestrin::script::TJScriptHost&, const std::string& s) { out += s; };
  host.OnError = [&](kestrin::script::TJScriptHost&, int32_t, const std::string& s) { errors += s; };
  if (!host.Compile(source)) state.SkipWithError("compile failed");
  for (auto _ : state) {
    out.clear();
    host.Run();
  }
  if (!errors.empty()) state.SkipWithError(errors.c_str());
}

void BM_DynaCallStrlen(benchmark::State& state) { RunScript(state, "n = dc.strlen(\"kestrin\");"); }
BENCHMARK(BM_DynaCallStrlen)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_EmptyLoop(benchmark::State& state) { RunScript(state, "n = 7;"); }
BENCHMARK(BM_EmptyLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

// ctypes' seconds for the calls and for its empty loop; empty when Python fails.
std::vector<double> CtypesSeconds() {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/native_calls/ctypes_strlen.py";
  std::FILE* p = popen(("/usr/bin/python3 '" + script + "' " + std::to_string(kCalls) + " 5 2>/dev/null").c_str(), "r");
  if (!p) return {};
  std::vector<double> seconds;
  char line[128];
  while (std::fgets(line, sizeof line, p))
    seconds.push_back(kestrin::TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1));
  if (pclose(p) != 0 || seconds.size() != 2 || seconds[0] <= 0) return {};
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::vector<double> ctypes = CtypesSeconds();
  if (ctypes.empty()) {
    std::cout << "ctypes could not be timed (is /usr/bin/python3 there?)\n";
    return 1;
  }
  double calls = 0, empty = 0;
  for (const auto& [name, seconds] : reporter.medians) (name.find("Strlen") != std::string::npos ? calls : empty) = seconds;
  kestrin::bench::ReportRatio("DynaCall, 1000000 strlen calls", calls, "ctypes", ctypes[0]);
  std::cout << kestrin::Format("cost per call above the empty loop: DynaCall %.1f ns, ctypes %.1f ns",
                               {(calls - empty) / kCalls * 1e9, (ctypes[0] - ctypes[1]) / kCalls * 1e9})
            << '\n';
  return 0;
}
