// Running the kestrin-harness program on a file of command lines, as the end-to-end tests do.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::test {

// Writes the command lines to `path`, runs the harness on them and returns the numbers of
// its result lines ("= value") in order; `out` receives all it printed. False when the file
// cannot be written or the harness fails.
inline bool run_harness(const std::string& path, const std::string& commands, std::string& out,
                        std::vector<double>& values) {
  if (!write_file_bytes(path, commands)) return false;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  if (run_command(harness + " '" + path + "'", &out) != 0) return false;
  values.clear();
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("= ", 0) == 0) values.push_back(StrToFloat(line.substr(2)));
  return true;
}

}  // namespace kestrin::test
