// The oscillation analysis window's commands.
#include "commands/osc_ana_commands.h"

#include <optional>

#include "analysis/osc_batch.h"
#include "analysis/spot_csv.h"
#include "analysis/spot_tables.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/program_files.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "model/state.h"
#include "ports/names/osc_ana_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

FileDialogSetup open_setup(const char* filter) {
  FileDialogSetup s;
  s.must_exist = true;
  s.folder = state().dialog_slots.folder[kSlotImageSave];
  s.filter = filter;
  s.filter_index = 1;
  return s;
}

void set_batch_state(BatchStateValue v) { state().BatchState = v; }

// The batch's search settings from the window's edits; nothing when one is not a number.
std::optional<OscSettings> read_osc_settings() {
  const Controls& c = controls();
  const auto s = TryStrToInt(c.text(frmOscAna::edtCenterSize));
  const auto b = TryStrToInt(c.text(frmOscAna::edtBGSize));
  const auto ratio = TryStrToFloat(c.text(frmOscAna::edtShikii1));
  const auto tolerance = TryStrToFloat(c.text(frmOscAna::edtShikii2));
  const auto d = TryStrToInt(c.text(frmOscAna::edtSameSpotDistance));
  const auto distance = TryStrToInt(c.text(frmOscAna::edtSearchDistance));
  const auto discard = TryStrToInt(c.text(frmOscAna::edtSpotDiscardDistance));  // checked, not used
  if (!s || !b || !ratio || !tolerance || !d || !distance || !discard) return std::nullopt;
  return OscSettings{*s, *b, *ratio, *tolerance, *d, *distance};
}

}  // namespace

void osc_ana_form_create() {
  state().OscOutputFolder.clear();
  if (!file_exists(config_folder() + kOscIniFile)) return;
  try {
    state().OscOutputFolder = read_program_file_line(kOscIniFile);
  } catch (const EInOutError& e) {
    log_line(std::string(" ") + kOscIniFile + " : " + e.what());
  }
}

std::string run_spot_csv_open_dialog() {
  const FileDialogChoice choice = file_dialogs().run_window_dialog(frmOscAna::opdImageFile, open_setup(kSpotCsvOpenFilter));
  return choice.files.empty() ? std::string() : choice.files.front();
}

void osc_load_spot_list_command() {
  const std::string name = run_spot_csv_open_dialog();
  if (!name.empty()) load_spot_reference_list(name);
}

void load_spot_reference_list(const std::string& file_name) {
  struct ShowAfter {
    ~ShowAfter() {
      state().reference_grid = spot_reference_grid();
      osc_window().show_spot_reference();
    }
  } show;
  load_spot_reference(file_name);
}

void osc_select_files_command() {
  FileDialogSetup s = open_setup(kOscImageFilter);
  s.must_exist = false;
  s.multi_select = true;
  append_target_files(file_dialogs().run_window_dialog(frmOscAna::opdImageFile, s).files);
}

void append_target_files(std::vector<std::string> names) {
  if (names.empty()) return;
  sort_strings(names, int(names.size()) - 1);
  std::vector<std::string> lines = split_lines(controls().text(frmOscAna::memFileName));
  lines.insert(lines.end(), names.begin(), names.end());
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  controls().set_text(frmOscAna::memFileName, text);
}

std::vector<std::string> target_files() {
  std::vector<std::string> files;
  for (const std::string& line : split_lines(controls().text(frmOscAna::memFileName)))
    if (line.find_first_not_of(" \t") != std::string::npos) files.push_back(line);
  return files;
}

void osc_execute_command() {
  const std::vector<std::string> files = target_files();
  if (files.empty()) {
    log_line(" osc_ana_batch() : No image file in the list.");
    return;
  }
  std::string folder = state().OscOutputFolder;
  if (!file_dialogs().select_folder(kOscFolderCaption, folder)) return;
  run_osc_ana_batch(files, folder, controls().text(frmOscAna::edtAddString));
}

void run_osc_ana_batch(const std::vector<std::string>& files, const std::string& folder, const std::string& suffix) {
  run_long("osc_ana_batch", [&] {
    state().OscOutputFolder = folder;
    set_batch_state(kBatchRun);
    try {
      osc_ana_batch_with_settings(files, folder, suffix);
    } catch (...) {
      write_program_file_line(kOscIniFile, state().OscOutputFolder);  // remembered all the same
      throw;
    }
    write_program_file_line(kOscIniFile, state().OscOutputFolder);
  });
}

int32_t osc_ana_batch_with_settings(const std::vector<std::string>& files, const std::string& folder,
                                    const std::string& suffix) {
  const std::optional<OscSettings> settings = read_osc_settings();
  if (!settings) {
    log_line("Spot Search setting read errro!");
    return 1;
  }
  Report report = log_report();
  const OscSteps steps{[](const std::string& name) { return load_image_command(name); },
                       [] { image_window().redraw_image(); }};
  return osc_ana_batch(files, folder, suffix, *settings, steps, report);
}

void batch_pause_command() { set_batch_state(kBatchPause); }
void batch_continue_command() { set_batch_state(kBatchRun); }
void batch_cancel_command() { set_batch_state(kBatchStop); }
void batch_toggle_pause_command() { set_batch_state(state().BatchState == kBatchRun ? kBatchPause : kBatchRun); }

}  // namespace kestrin
