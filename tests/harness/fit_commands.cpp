// Harness-only command of the fitting: FitList prints the fit-list lines of the current fit
// tables, so fits can be checked from outside. It records nothing.
#include <string>
#include <vector>

#include "harness/harness.h"
#include "image/files/peak_list_file.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::harness {

namespace {

MethodResult fit_list(const MethodArgs&) {
  const std::string text = fit_list_text(state().fit_tables, state().peak_table.count);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    log_line(text.substr(start, end - start));
  return {};
}

}  // namespace

std::span<const KestrinMethod> fit_commands() {
  static const std::vector<KestrinMethod> commands = {{"FitList", 0, &fit_list}};
  return commands;
}

}  // namespace kestrin::harness
