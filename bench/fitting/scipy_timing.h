// scipy's time on a file of fit jobs (least-squares jobs first, then Poisson jobs), shared by
// the fitting benchmarks.
#pragma once

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/convert.h"

namespace kestrin::bench {

// The seconds scipy takes for all least-squares jobs (median of `repeats` runs) and for all
// Poisson jobs (one run); empty when it fails.
inline std::vector<double> scipy_fit_seconds(const std::string& jobs_text, int repeats) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kestrin_scipy_fit_timing";
  std::filesystem::create_directories(folder);
  const std::string jobs = (folder / "jobs.txt").string();
  std::ofstream(jobs) << jobs_text;
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/fitting/scipy_fit_time.py";
  const std::string command =
      "/usr/bin/python3 '" + script + "' '" + jobs + "' " + std::to_string(repeats) + " 2>/dev/null";
  std::vector<double> seconds;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char line[128];
    while (std::fgets(line, sizeof line, p))
      seconds.push_back(TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1));
    if (pclose(p) != 0) seconds.clear();
  }
  std::filesystem::remove_all(folder);
  if (seconds.size() != 2 || seconds[0] <= 0 || seconds[1] <= 0) return {};
  return seconds;
}

}  // namespace kestrin::bench
