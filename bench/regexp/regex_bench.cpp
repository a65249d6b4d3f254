// Counts the matches of eight patterns in a generated 6.5 MB text with TRegex, then has Perl
// count the same matches in the same text ($n++ while $t =~ /$p/g) and prints the ratios.
#include <benchmark/benchmark.h>

#include "../common/median_reporter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "script/regexp/regex.h"

namespace {

const char* const kPatterns[] = {
    "(\\d+)",
    "[a-z]+\\d+",
    "(alpha|gamma)\\d*7 =",
    "[a-z]+@[a-z]+\\.(org|com)",
    "value (\\d+), price (\\d+)",
    "JPY; mail",
    "\\s+",
    "Kestrin-absent",
};
constexpr int kPatternCount = sizeof kPatterns / sizeof kPatterns[0];
constexpr int kRepetitions = 5;

std::string text;

// Lines of words, numbers, mail addresses and fixed phrases from a fixed seed, so that every
// pattern finds many matches (but the last, which finds none).
std::string MakeText(size_t bytes) {
  static const char* const kWords[] = {"alpha", "beta", "gamma", "delta", "ring", "peak", "theta",
                                       "image", "plate", "value", "price", "mail", "sample"};
  static const char* const kDomains[] = {"example", "lab", "beamline", "kestrin"};
  uint32_t seed = 12345;
  const auto next = [&](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  std::string t;
  t.reserve(bytes + 200);
  while (t.size() < bytes) {
    t += kWords[next(13)];
    t += std::to_string(next(1000));
    t += ' ';
    t += kWords[next(13)];
    t += " value " + std::to_string(next(100000)) + ", price " + std::to_string(next(1000)) + "; ";
    t += kWords[next(13)];
    t += '@';
    t += kDomains[next(4)];
    t += next(2) ? ".org" : ".com";
    t += next(3) ? " JPY; mail " : " USD; post ";
    t += kWords[next(3) * 2];
    t += std::to_string(next(100)) + "7 = " + std::to_string(next(10)) + "\r\n";
  }
  return t;
}

int CountMatches(kestrin::script::TRegex& r) {
  int n = 0;
  for (bool found = r.ExecPos(1); found; found = r.ExecNext()) ++n;
  return n;
}

void BM_CountMatches(benchmark::State& state) {
  kestrin::script::TRegex r;
  r.SetExpression(kPatterns[state.range(0)]);
  r.SetInputString(text);
  int n = 0;
  for (auto _ : state) n = CountMatches(r);
  state.counters["matches"] = n;
}
BENCHMARK(BM_CountMatches)->DenseRange(0, kPatternCount - 1)->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

// Perl's "count median_seconds" per pattern.
std::vector<std::pair<int, double>> PerlCounts(const std::string& text_file) {
  const std::string patterns_file = text_file + ".patterns";
  {
    std::ofstream f(patterns_file);
    for (const char* p : kPatterns) f << p << '\n';
  }
  const std::string command = "perl '" KESTRIN_SOURCE_DIR "/bench/regexp/perl_count.pl' '" + text_file + "' " +
                              std::to_string(kRepetitions) + " < '" + patterns_file + "'";
  std::vector<std::pair<int, double>> out;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    int count = 0;
    double seconds = 0;
    while (std::fscanf(p, "%d %lf", &count, &seconds) == 2) out.emplace_back(count, seconds);
    pclose(p);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  text = MakeText(6500000);
  const std::string folder = std::filesystem::temp_directory_path().string() + "/kestrin_regex_bench/";
  std::filesystem::create_directories(folder);
  const std::string text_file = folder + "text.txt";
  std::ofstream(text_file, std::ios::binary) << text;

  benchmark::Initialize(&argc, argv);
  kestrin::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto perl = PerlCounts(text_file);
  std::filesystem::remove_all(folder);
  if (perl.size() != kPatternCount) {
    std::cout << "perl could not be timed\n";
    return 1;
  }
  std::cout << kestrin::Format("text: %d bytes; Perl: $n++ while $t =~ /$p/g, median of %d", {static_cast<int>(text.size()), kRepetitions})
            << '\n';
  for (int k = 0; k < kPatternCount && k < static_cast<int>(reporter.medians.size()); ++k) {
    kestrin::script::TRegex r;
    r.SetExpression(kPatterns[k]);
    r.SetInputString(text);
    const int ours = CountMatches(r);
    const double seconds = reporter.medians[static_cast<size_t>(k)].second;
    std::cout << kestrin::Format("%-28s %8d matches%s  TRegex %8.2f ms  Perl %8.2f ms  ratio %5.2f (goal: at most 2)",
                                 {kPatterns[k], ours, ours == perl[static_cast<size_t>(k)].first ? "" : " (Perl counts another number)",
                                  seconds * 1000, perl[static_cast<size_t>(k)].second * 1000,
                                  seconds / perl[static_cast<size_t>(k)].second})
              << '\n';
  }
  return 0;
}
