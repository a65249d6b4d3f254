// A console reporter that also keeps the median real time of each repeated benchmark, so a
// benchmark program can print its ratio to a peer's time after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrin::bench {

// Keeps the median real time of each benchmark, in seconds, and its median CPU time (of
// the whole process where the benchmark measures that).
class MedianReporter : public benchmark::ConsoleReporter {
public:
  std::vector<std::pair<std::string, double>> medians;
  std::vector<std::pair<std::string, double>> cpu_medians;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.aggregate_name == "median") {
        medians.emplace_back(r.run_name.function_name, r.GetAdjustedRealTime() / 1000.0);
        cpu_medians.emplace_back(r.run_name.function_name, r.GetAdjustedCPUTime() / 1000.0);
      }
    ConsoleReporter::ReportRuns(runs);
  }

  // The median of the named benchmark in `times` (medians or cpu_medians); 0 when it did
  // not run. Interleaved repetitions report in no fixed order, so look them up by name.
  static double of(const std::vector<std::pair<std::string, double>>& times, std::string_view name) {
    for (const auto& [n, seconds] : times)
      if (n == name) return seconds;
    return 0;
  }
};

}  // namespace kestrin::bench
