// Timing the peer programs of a benchmark (curl, Python scripts) and printing Kestrin's
// time against theirs.
#pragma once

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "support/temp_dir.h"

namespace kestrin::bench {

// The median wall time of `runs` runs of a shell command; -1 when it fails.
inline double CommandSeconds(const std::string& command, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (test::run_command(command) != 0) return -1;
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// "NAME: ours s; PEER theirs s; time ratio r", or that the peer could not be timed.
inline void ReportRatio(const std::string& name, double ours, const std::string& peer, double theirs) {
  if (theirs <= 0) {
    std::cout << peer << " could not be timed\n";
    return;
  }
  std::cout << Format("%s: %.3f s; %s %.3f s; time ratio %.2f (below 1: Kestrin faster)", {name, ours, peer, theirs, ours / theirs})
            << '\n';
}

}  // namespace kestrin::bench
