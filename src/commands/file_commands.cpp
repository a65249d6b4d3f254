// The file commands: dialog preparation, the call and the recorded script line.
#include "commands/file_commands.h"

#include <exception>

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
  save_nax_proc(name);
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

void load_peak_command() { load_peak_proc(); }
void save_peak_command() { save_peak_proc(); }
void save_fit_command() { save_fit_proc(); }

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
