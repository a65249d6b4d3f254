// The file commands: dialog preparation, the call and the recorded script line.
#include "commands/file_commands.h"

#include <exception>
#include <optional>
#include <string_view>

#include "base/convert.h"
#include "base/paths.h"
#include "commands/image_form_commands.h"
#include "image/display_picture.h"
#include "image/files/mask_files.h"
#include "image/files/param_file.h"
#include "image/files/pattern_files.h"
#include "image/files/pattern_reader.h"
#include "image/files/peak_list_procs.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/macro_recorder.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

namespace kestrin {

const char* const kImageFilter =
    "Rigaku R-AXIS5 or FUJI or HiPiC (*.img)|*.IMG|Rigaku R-AXIS4 (*.stl)|*.stl|Rigaku R-AXIS (*.osc)|*.osc|"
    "Bruker CCD Image (*.ccd)|*.ccd|TIFF Image (*.tif)|*.tif|Gel Image File (*.gel)|*.gel";
const char* const kPatternOpenFilter =
    "nax format (*.t)|*.t|xy format (*.xy)|*.XY|Rietan format (*.rie)|*.RIE|Wpp format (*.wpp)|*.WPP|"
    "Rigaku format (*.raw)|*.RAW|pixel-intensity list(*.pil)|*.PIL|CSV format (*.csv)|*.CSV";
const char* const kPatternSaveFilter =
    "nax format (*.t)|*.t|xy format (*.xy)|*.XY|Rietan format (*.rie)|*.RIE|Wpp format (*.wpp)|*.WPP|"
    "Rigaku format (*.raw)|*.RAW|pixel-intensity list(*.pil)|*.PIL|CSV format (*.csv)|*.CSV"
    "|Sectoring format (*.sec)|*.SEC|NPD format (*.npd)|*.NPD";
const char* const kMaskFilter = "mask file (*.bgz)|*.BGZ";
const char* const kParamFilter = "kes parameter file (*.kes)|*.KES";
const char* const kPeakFilter = "Peak files (*.std)|*.STD";
const char* const kFitFilter = "Fit files (*.csv)|*.csv|(*.fit)|*.fit";

namespace {

enum class Kind { kOpen, kSave };

// Step 1 of the image, pattern and mask commands: the whole preparation is replaced.
FileDialogSetup prepare(Kind kind, FileSlot slot, const char* filter) {
  const FileDialogs& d = file_dialogs();
  FileDialogSetup s = kind == Kind::kOpen ? d.open_state() : d.save_state();
  s.must_exist = kind == Kind::kOpen;
  s.overwrite_prompt = kind == Kind::kSave;
  s.folder = state().dialog_slots.folder[slot];
  s.file_name.clear();
  s.filter = filter;
  s.filter_index = state().dialog_slots.filter_index[slot];
  return s;
}

std::string run(Kind kind, const FileDialogSetup& s) {
  return kind == Kind::kOpen ? file_dialogs().run_open(s) : file_dialogs().run_save(s);
}

void record(const char* method, const std::string& name) {
  state().macro.record(std::string("Kestrin.") + method + "(" + js_quote(name) + ");");
}

std::string run_mask_dialog(Kind kind, FileSlot slot) {
  FileDialogSetup s = prepare(kind, slot, kMaskFilter);
  s.default_ext = "bgz";
  return run(kind, s);
}

// The parameter-file commands: only the filter and the file name change.
std::string run_param_dialog(Kind kind) {
  const FileDialogs& d = file_dialogs();
  FileDialogSetup s = kind == Kind::kOpen ? d.open_state() : d.save_state();
  s.filter = kParamFilter;
  s.file_name = "default.kes";
  return run(kind, s);
}

// The extension each filter index of the pattern save dialog (kPatternSaveFilter) names.
std::string_view pattern_save_extension(int index) {
  static const char* const kExtensions[] = {".t", ".xy", ".rie", ".wpp", ".raw", ".pil", ".csv", ".sec", ".npd"};
  if (index < 1 || index > 9) return {};
  return kExtensions[index - 1];
}

// Before a pattern is written: the save dialog's slot remembers the name's folder and the
// dialog's filter index, and a name without an extension takes the filter's, after asking
// before it overwrites the file it then names. False when the user declines. Without a
// name or a pattern there is nothing to ask about: the routine says why it saves nothing.
bool prepare_pattern_save(std::string& name) {
  FileDialogSlots& slots = state().dialog_slots;
  slots.folder[kSlotPatternSave] = folder_of(name);
  slots.filter_index[kSlotPatternSave] = file_dialogs().save_filter_index();
  if (name.empty() || state().nax_pattern.empty() || !extension_of(name).empty()) return true;
  name += pattern_save_extension(file_dialogs().save_filter_index());
  return !file_exists(name) || prompts().confirm("Overwrite " + name + "?");
}

// The open dialog of the peak lists: the peak-open slot's folder with the dialog's own
// filter index, which afterwards goes back to the slot's; the slot keeps the chosen name's
// folder. The chosen name, empty after a cancel.
std::string run_peak_open_dialog() {
  FileDialogs& dialogs = file_dialogs();
  FileDialogSlots& slots = state().dialog_slots;
  FileDialogSetup setup;
  setup.must_exist = true;
  setup.folder = slots.folder[kSlotPeakOpen];
  setup.filter = kPeakFilter;
  setup.filter_index = dialogs.open_filter_index();
  const std::string name = dialogs.run_open(setup);
  dialogs.set_open_filter_index(slots.filter_index[kSlotPeakOpen]);
  slots.folder[kSlotPeakOpen] = folder_of(name);
  slots.filter_index[kSlotPeakOpen] = dialogs.open_filter_index();
  return name;
}

// The save dialog of the peak and fit lists, from and into their remembered folder and
// filter index; the chosen name, empty after a cancel.
std::string run_list_save_dialog(std::string& folder, int& filter_index, const char* filter, const char* ext) {
  FileDialogSetup setup;
  setup.overwrite_prompt = true;
  setup.folder = folder;
  setup.filter_index = filter_index;
  setup.default_ext = ext;
  setup.filter = filter;
  const std::string name = file_dialogs().run_save(setup);
  folder = folder_of(name);
  filter_index = file_dialogs().save_filter_index();
  return name;
}

}  // namespace

void load_img_dialog() {
  const std::string name = run(Kind::kOpen, prepare(Kind::kOpen, kSlotImageOpen, kImageFilter));
  FileDialogSlots& slots = state().dialog_slots;
  slots.folder[kSlotImageOpen] = folder_of(name);
  slots.filter_index[kSlotImageOpen] = file_dialogs().open_filter_index();
  load_img_proc(name);
  record("LoadImageFile", name);
}

void load_nax_dialog() {
  const std::string name = run(Kind::kOpen, prepare(Kind::kOpen, kSlotPatternOpen, kPatternOpenFilter));
  load_nax_command(name);
  record("LoadNaxFile", name);
}

void save_nax_dialog() {
  FileDialogSetup s = prepare(Kind::kSave, kSlotPatternSave, kPatternSaveFilter);
  s.default_ext.clear();
  const std::string name = run(Kind::kSave, s);
  save_nax_command(name);
  record("SaveNaxFile", name);
}

void load_mask_dialog() {
  const std::string name = run_mask_dialog(Kind::kOpen, kSlotMaskOpen);
  load_mask_command(name);
  record("LoadMaskFile", name);
}

void save_mask_dialog() {
  const std::string name = run_mask_dialog(Kind::kSave, kSlotMaskSave);
  save_mask_command(name);
  record("SaveMaskFile", name);
}

void save_nax_command(const std::string& file_name) {
  std::string name = file_name;
  if (!prepare_pattern_save(name)) return;
  Report report = log_report();
  save_nax_proc(name, report);
}

void save_nax_command2(const std::string& file_name, double theta1, double theta2) {
  std::string name = file_name;
  if (!prepare_pattern_save(name)) return;
  Report report = log_report();
  save_nax_proc2(name, theta1, theta2, report);
}

void load_nax_command(const std::string& name) {
  Report report = log_report();
  const auto edits = load_nax_proc(name, file_dialogs().open_filter_index(), report);
  if (!edits) return;
  for (const ShownParameter& e : *edits) e.real ? show_parameter_text(e.real, e.text) : show_parameter_text(e.integer, e.text);
  graph_window().draw_nax_graph();
  peak_window().show_peak_list();
}

void show_loaded_image(const ImageLoad& load) {
  const ImageStore& img = current_image();
  show_parameters_in_edits();
  if (load.mask_cleared) state().macro.record("Kestrin.ClearMask();");
  std::exception_ptr error;
  try {
    read_parameters(img.ImageHeight);
  } catch (...) {
    error = std::current_exception();
  }
  show_display_edges();
  image_window().image_loaded();
  if (state().WindowShow == 1) image_window().show();
  controls().set_text(frmSpot::edtX1, Format("%d", {img.ImageWidth}));
  controls().set_text(frmSpot::edtY1, Format("%d", {img.ImageHeight}));
  if (error) std::rethrow_exception(error);
}

bool load_image_command(const std::string& name) {
  Report report = log_report();
  const ImageLoad load = load_current_image(name, report);
  if (load.loaded) show_loaded_image(load);
  return load.loaded;
}

int load_img_proc(const std::string& name) {
  load_image_command(name);
  return -1;
}

void load_mask_command(const std::string& name) {
  Report report = log_report();
  if (load_mask_proc(name, file_dialogs().open_filter_index(), report)) image_window().redraw_image();
}

void save_mask_command(const std::string& name) {
  Report report = log_report();
  save_mask_proc(name, file_dialogs().save_filter_index(), report);
}

void load_param_command(const std::string& name) {
  if (load_param_proc(name)) show_parameters_in_edits();
}

void save_param_command(const std::string& name) {
  Report report = log_report();
  if (save_param_refused(name, report)) return;
  if (save_param_reads_edits(name)) read_parameters(current_image().ImageHeight);
  save_param_proc(name, report);
}

void load_param_dialog() {
  const std::string name = run_param_dialog(Kind::kOpen);
  if (!name.empty()) load_param_command(name);
  record("LoadParamFile", name);
}

void save_param_dialog() {
  const std::string name = run_param_dialog(Kind::kSave);
  if (!name.empty()) save_param_command(name);
  record("SaveParamFile", name);
}

void load_peak_command() {
  const std::string name = run_peak_open_dialog();
  Report report = log_report();
  const std::optional<std::string> bytes = peak_list_bytes(name, report);
  if (!bytes) return;
  // The wavelength is the main window's, as every calculation takes it.
  read_parameter(*parameter_named("WaveLength"), current_image().ImageHeight);
  if (load_peak_list(*bytes, report)) peak_window().show_peak_list();
}

void save_peak_command() {
  if (state().peak_table.count == 0) {
    log_line("save_peak_proc() : No peak.");
    return;
  }
  FileDialogSlots& slots = state().dialog_slots;
  const std::string name =
      run_list_save_dialog(slots.folder[kSlotPeakSave], slots.filter_index[kSlotPeakSave], kPeakFilter, "std");
  Report report = log_report();
  save_peak_proc(name, report);
}

void save_fit_command() {
  if (state().fit_tables.count == 0) {
    log_line("save_fit_proc() : No fit data.");
    return;
  }
  FileDialogSlots& slots = state().dialog_slots;
  const std::string name = run_list_save_dialog(slots.fit_folder, slots.fit_filter_index, kFitFilter, "csv");
  Report report = log_report();
  save_fit_proc(name, report);
}

FileDialogSetup bitmap_save_setup() {
  const FileDialogSlots& slots = state().dialog_slots;
  FileDialogSetup setup = file_dialogs().save_state();
  setup.folder = slots.folder[kSlotImageSave];
  setup.filter_index = slots.filter_index[kSlotImageSave];
  setup.filter = "BITMAP (*.bmp)|*.BMP";
  setup.default_ext = "bmp";
  setup.file_name.clear();
  return setup;
}

void save_img_command() {
  if (current_image().NoImageFlag == 1) return;
  const std::string name = file_dialogs().run_save(bitmap_save_setup());
  Report report = log_report();
  save_img_proc(name, file_dialogs().save_filter_index(), report);
}

std::string run_result_save_dialog(const char* filter, const char* default_ext) {
  FileDialogSetup s = prepare(Kind::kSave, kSlotImageSave, filter);
  s.default_ext = default_ext;
  const std::string name = run(Kind::kSave, s);
  FileDialogSlots& slots = state().dialog_slots;
  slots.folder[kSlotImageSave] = folder_of(name);
  slots.filter_index[kSlotImageSave] = file_dialogs().save_filter_index();
  return name;
}

}  // namespace kestrin
