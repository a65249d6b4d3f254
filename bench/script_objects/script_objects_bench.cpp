// Strings.loadFromFile and a File.readln loop in scripts over a 200 MB text file of 2.5
// million lines, with Python's open().read().splitlines() and Perl's my @l = <F> and
// while (<F>) on the same file in the same run. Goals: loadFromFile at most 0.8 of Python's
// time; the readln loop at most 1.25 of the same loop calling a trivial native method.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"
#include "../common/peer_seconds.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "base/convert.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/objects/host_libraries.h"

namespace {

constexpr int kLines = 2500000;
constexpr int kLineBytes = 80;  // 79 characters and LF: 200 MB

std::string file_path;

void MakeFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::mt19937 gen(28);
  std::string line(kLineBytes, '\n');
  for (int i = 0; i < kLines; ++i) {
    for (int c = 0; c < kLineBytes - 1; ++c) line[c] = static_cast<char>(' ' + gen() % 95);
    if (std::fwrite(line.data(), 1, line.size(), f) != line.size()) std::abort();
  }
  std::fclose(f);
}

// Runs the compiled script once per iteration; the objects it made are freed untimed.
void RunScript(benchmark::State& state, const std::string& source) {
  kestrin::script::TJHost host(kestrin::script::RegisterBuiltins, {kestrin::script::ImportHostLibraries});
  std::string error;
  host.OnStderr = [&](kestrin::script::TJScriptHost&, const std::string& s) { error += s; };
  if (!host.Compile(source)) return state.SkipWithError("does not compile");
  for (auto _ : state) {
    benchmark::DoNotOptimize(host.Run());
    state.PauseTiming();
    host.Clear();
    state.ResumeTiming();
  }
  if (!error.empty()) state.SkipWithError(error.c_str());
}

void BM_StringsLoadFromFile(benchmark::State& state) {
  RunScript(state, "var s = new Strings(); s.loadFromFile('" + file_path + "'); return s.count;");
}
BENCHMARK(BM_StringsLoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);


std::string Loop(const char* call) {
  return "var f = new File('" + file_path + "'); f.open(); var n = 0;\nwhile (n < " + std::to_string(kLines) +
         ") { f." + call + "(); n++; }\nf.close(); return n;";
}

void BM_ReadlnLoop(benchmark::State& state) { RunScript(state, Loop("readln")); }
BENCHMARK(BM_ReadlnLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TrivialCallLoop(benchmark::State& state) { RunScript(state, Loop("isOpened")); }
BENCHMARK(BM_TrivialCallLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);


}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_script_objects_bench/";
  std::filesystem::create_directories(folder);
  file_path = folder + "lines.txt";
  MakeFile(file_path);
  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string here = std::string(KESTRIN_SOURCE_DIR) + "/bench/script_objects/";
  const double python = kestrin::bench::PeerSeconds("/usr/bin/python3 '" + here + "peer_lines_time.py' '" + file_path + "' 5");
  const double perl_all = kestrin::bench::PeerSeconds("/usr/bin/perl '" + here + "peer_lines_time.pl' '" + file_path + "' all 5");
  const double perl_loop = kestrin::bench::PeerSeconds("/usr/bin/perl '" + here + "peer_lines_time.pl' '" + file_path + "' loop 5");
  std::filesystem::remove_all(folder);
  if (python <= 0 || perl_all <= 0 || perl_loop <= 0) {
    std::cout << "a peer could not be timed\n";
    return 1;
  }
  double load = 0, readln = 0, trivial = 0;
  for (const auto& [name, seconds] : reporter.medians) {
    if (name == "BM_StringsLoadFromFile") load = seconds;
    if (name == "BM_ReadlnLoop") readln = seconds;
    if (name == "BM_TrivialCallLoop") trivial = seconds;
  }
  using kestrin::Format;
  std::cout << Format("Python open().read().splitlines(): %.0f ms; Perl my @l = <F>: %.0f ms; Perl while (<F>): %.0f ms",
                      {python * 1000, perl_all * 1000, perl_loop * 1000})
            << '\n';
  std::cout << Format("Strings.loadFromFile: %.0f ms, %.2f of Python's time (goal: at most 0.8), %.2f of Perl's",
                      {load * 1000, load / python, load / perl_all})
            << '\n';
  std::cout << Format("readln loop: %.0f ms, %.2f of the trivial-call loop's %.0f ms (goal: at most 1.25), %.2f of Perl's",
                      {readln * 1000, readln / trivial, trivial * 1000, readln / perl_loop})
            << '\n';
  return 0;
}
