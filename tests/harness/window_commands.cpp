// Harness-only commands of the windows that need no widgets: FitResultRows prints the peak
// fitting window's grid, one row a line, cells joined by "|", the headings first.
#include <vector>

#include "commands/peak_fitting_commands.h"
#include "harness/harness.h"
#include "ports/log.h"

namespace kestrin::harness {

namespace {

MethodResult fit_result_rows_command(const MethodArgs&) {
  for (const std::vector<std::string>& row : fit_result_rows()) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) line += (c ? "|" : "") + row[c];
    log_line(line);
  }
  return {};
}

}  // namespace

std::span<const KestrinMethod> window_commands() {
  static const std::vector<KestrinMethod> commands = {{"FitResultRows", 0, &fit_result_rows_command}};
  return commands;
}

}  // namespace kestrin::harness
