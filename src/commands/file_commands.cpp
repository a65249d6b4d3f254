// The file commands: dialog preparation, the call and the recorded script line.
#include "commands/file_commands.h"

#include "base/paths.h"
#include "image/display_picture.h"
#include "image/files/mask_files.h"
#include "image/files/param_file.h"
#include "image/files/pattern_files.h"
#include "image/files/peak_list_procs.h"
#include "image/image_loader.h"
#include "model/macro_recorder.h"
#include "model/state.h"
#include "ports/log.h"
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
  load_nax_proc(name);
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
  load_mask_proc(name);
  record("LoadMaskFile", name);
}

void save_mask_dialog() {
  const std::string name = run_mask_dialog(Kind::kSave, kSlotMaskSave);
  save_mask_proc(name);
  record("SaveMaskFile", name);
}

void load_param_dialog() {
  const std::string name = run_param_dialog(Kind::kOpen);
  if (!name.empty()) load_param_proc(name);
  record("LoadParamFile", name);
}

void save_param_dialog() {
  const std::string name = run_param_dialog(Kind::kSave);
  if (!name.empty()) save_param_proc(name);
  record("SaveParamFile", name);
}

void load_peak_command() { load_peak_proc(); }
void save_peak_command() { save_peak_proc(); }
void save_fit_command() { save_fit_proc(); }

void save_img_command() { save_img_proc(); }

}  // namespace kestrin
