// The peak list and fit list commands around their dialogs.
#include "image/files/peak_list_procs.h"

#include <stdexcept>

#include "base/convert.h"
#include "base/file_budget.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/files/peak_list_file.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr const char* kPeakFilter = "Peak files (*.std)|*.STD";
// A list of 500 peaks is about 20 kB; the budget leaves room for long lines.
constexpr std::uintmax_t kMaxPeakListBytes = 16u << 20;
constexpr const char* kFitFilter = "Fit files (*.csv)|*.csv|(*.fit)|*.fit";

void write_or_throw(const std::string& name, const std::string& text) {
  std::string error;
  if (!write_file_bytes(name, text, &error)) throw std::runtime_error("I/O error writing " + name + ": " + error);
}

}  // namespace

void load_peak_proc() {
  SharedState& st = state();
  FileDialogs& dialogs = file_dialogs();
  FileDialogSetup setup;
  setup.must_exist = true;
  setup.folder = st.dialog_slots.folder[kSlotPeakOpen];
  setup.filter = kPeakFilter;
  setup.filter_index = dialogs.open_filter_index();
  const std::string name = dialogs.run_open(setup);
  dialogs.set_open_filter_index(st.dialog_slots.filter_index[kSlotPeakOpen]);
  st.dialog_slots.folder[kSlotPeakOpen] = folder_of(name);
  st.dialog_slots.filter_index[kSlotPeakOpen] = dialogs.open_filter_index();
  if (name.empty()) {
    log_line(" load_peak_proc() : No file selected. ");
    return;
  }
  const std::string ext = extension_of(name);
  if (ext != ".std" && ext != ".STD") {
    log_line(" load_peak_proc() : " + name + " is not a peak file.. ");
    return;
  }
  const std::string bytes = read_file_within(name, kMaxPeakListBytes);
  // The wavelength is the main window's, as every calculation takes it.
  read_parameter(*parameter_named("WaveLength"), current_image().ImageHeight);
  PeakListReadResult r = read_peak_list(bytes, st.integration_params.wavelength);
  using Outcome = PeakListReadResult::Outcome;
  switch (r.outcome) {
    case Outcome::kFailed: throw ConversionError(r.message);
    case Outcome::kReadError: log_line(r.message); return;
    case Outcome::kBadSpacing:
      st.peak_table = std::move(r.peaks);
      log_line(r.message);
      return;
    case Outcome::kRead:
      st.peak_table = std::move(r.peaks);
      peak_window().show_peak_list();
      return;
  }
}

void save_peak_proc() {
  SharedState& st = state();
  if (st.peak_table.count == 0) {
    log_line("save_peak_proc() : No peak.");
    return;
  }
  FileDialogs& dialogs = file_dialogs();
  FileDialogSetup setup;
  setup.overwrite_prompt = true;
  setup.folder = st.dialog_slots.folder[kSlotPeakSave];
  setup.filter_index = st.dialog_slots.filter_index[kSlotPeakSave];
  setup.default_ext = "std";
  setup.filter = kPeakFilter;
  const std::string name = dialogs.run_save(setup);
  st.dialog_slots.folder[kSlotPeakSave] = folder_of(name);
  st.dialog_slots.filter_index[kSlotPeakSave] = dialogs.save_filter_index();
  if (name.empty()) {
    log_line(" save_peak_proc() : No file selected. ");
    return;
  }
  if (to_lower_ascii(extension_of(name)) != ".std") {
    log_line(" save_peak_proc() : " + name + " is not a peak file.. ");
    return;
  }
  write_or_throw(name, peak_list_text(st.peak_table));
}

void save_fit_proc() {
  SharedState& st = state();
  if (st.fit_tables.count == 0) {
    log_line("save_fit_proc() : No fit data.");
    return;
  }
  FileDialogs& dialogs = file_dialogs();
  FileDialogSetup setup;
  setup.overwrite_prompt = true;
  setup.folder = st.dialog_slots.fit_folder;
  setup.filter_index = st.dialog_slots.fit_filter_index;
  setup.default_ext = "csv";
  setup.filter = kFitFilter;
  const std::string name = dialogs.run_save(setup);
  st.dialog_slots.fit_folder = folder_of(name);
  st.dialog_slots.fit_filter_index = dialogs.save_filter_index();
  if (name.empty()) {
    log_line(" save_fit_proc() : No file selected. ");
    return;
  }
  const std::string ext = to_lower_ascii(extension_of(name));
  if (ext != ".csv" && ext != ".fit") {
    log_line(" save_fit_proc() : " + name + " is not a fit file.. ");
    return;
  }
  write_or_throw(name, fit_list_text(st.fit_tables, st.peak_table.count));
}

}  // namespace kestrin
