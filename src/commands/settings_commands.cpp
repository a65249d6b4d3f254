// The settings file's lines shown in the main window's controls and taken from them.
#include "commands/settings_commands.h"

#include <cstdio>

#include "base/convert.h"
#include "commands/parameter_controls.h"
#include "image/files/settings_file.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The control a line shows: a choice's radio button, or the row's own control.
ControlName control_of_line(const SettingsEntry& e) {
  const ParameterControl& c = control_of(*e.row);
  return e.radio ? c.radios[size_t(e.radio - e.row->radios.data())] : c.control;
}

// Shows one table line: an edit's text always, a number only when it converted; a combo's
// item is read back into the field (an index beyond the items reads back as -1).
void show_line(const SettingsControlLine& line) {
  Controls& c = controls();
  const Parameter& p = *line.entry->row;
  const ControlName control = control_of_line(*line.entry);
  switch (p.kind) {
    case ParameterKind::kReal:
    case ParameterKind::kInteger: c.set_text(control, line.text); break;
    case ParameterKind::kIndex:
      if (!line.number) return;
      c.set_item_index(control, *line.number);
      state().integration_params.*p.integer = c.item_index(control);
      break;
    case ParameterKind::kChoice:
    case ParameterKind::kCheckBox:
      if (line.number) c.set_checked(control, *line.number == 1);
      break;
  }
}

// The text a table line takes from its control; a header lock's from the model.
std::string line_text(const SettingsEntry& e) {
  const Controls& c = controls();
  const ControlName control = control_of_line(e);
  switch (e.row->kind) {
    case ParameterKind::kReal:
    case ParameterKind::kInteger: return c.text(control);
    case ParameterKind::kIndex: return Format("%d", {c.item_index(control)});
    case ParameterKind::kChoice: return c.checked(control) ? "1" : "0";
    case ParameterKind::kCheckBox: return lock_checked(*e.row) ? "1" : "0";
  }
  return {};
}

}  // namespace

void read_settings_lines(const std::vector<std::string>& lines) {
  state().LoadingFlag = true;
  for (const SettingsControlLine& line : read_settings_values(lines)) show_line(line);
  state().LoadingFlag = false;
}

void read_settings_file(const std::string& path) {
  const auto lines = settings_file_contents(path);
  if (!lines) {
    state().LoadingFlag = false;
    return;
  }
  read_settings_lines(*lines);
}

std::vector<std::string> settings_file_lines() {
  std::vector<std::string> table_lines;
  for (const SettingsEntry& e : settings_entries()) table_lines.push_back(line_text(e));
  return settings_lines_of(std::move(table_lines));
}

bool save_settings_file(const std::string& path) {
  std::string error;
  if (write_settings_file(path, settings_file_lines(), error)) return true;
  // At exit the log window may be gone with the program: say it where a user still sees it.
  const std::string message = "The settings could not be saved to " + path + ": " + error;
  log_line(message);
  std::fprintf(stderr, "%s\n", message.c_str());
  return false;
}

}  // namespace kestrin
