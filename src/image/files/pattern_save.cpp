// The pattern save commands: the checks and log lines around the file forms.
#include <stdexcept>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/files/pattern_files.h"
#include "image/files/pattern_writer.h"
#include "image/image_store.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The extension that each filter index of the save dialog names.
std::string_view extension_of_filter(int index) {
  static const char* const kExtensions[] = {".t", ".xy", ".rie", ".wpp", ".raw", ".pil", ".csv", ".sec", ".npd"};
  if (index < 1 || index > 9) return {};
  return kExtensions[index - 1];
}

std::string upper_ascii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// Adds the extension of the dialog's filter to a name without one; false when the user
// declines to overwrite the file it then names.
bool complete_name(std::string& name) {
  if (!extension_of(name).empty()) return true;
  name += extension_of_filter(file_dialogs().save_filter_index());
  if (file_exists(name) && !prompts().confirm("Overwrite " + name + "?")) return false;
  return true;
}

void log_refusal(PatternKindClass kind, const std::string& proc, const std::string& name_part) {
  switch (kind) {
    case PatternKindClass::kPixel:
      log_line(Format(" %s() : %s Bad extension for pixel data.", {proc, name_part}));
      break;
    case PatternKindClass::kAngle:
      log_line(Format(" save_nax_proc() : %s Bad extension for angle data", {name_part}));
      break;
    default:
      log_line(Format(" save_nax_proc() : %s Bad extension for sector data.", {name_part}));
      break;
  }
}

// The steps shared by both commands; `theta` holds the window of the second one.
void save_pattern(std::string name, const std::string& proc, const double* theta) {
  SharedState& st = state();
  st.dialog_slots.folder[kSlotPatternSave] = folder_of(name);
  st.dialog_slots.filter_index[kSlotPatternSave] = file_dialogs().save_filter_index();
  if (name.empty()) return;
  NaxPattern& pattern = st.nax_pattern;
  if (pattern.empty()) {
    log_line(" save_nax_proc() : 1D pattern does not exist. ");
    return;
  }
  if (!complete_name(name)) return;
  ImageStore& image = current_image();
  image.PatternFolder = folder_of(name);
  if (image.PatternFolder.empty()) {
    log_line(Format(" save_nax_proc() : %s doesnot have explicit path.", {name}));
    return;
  }
  pattern.FilePath = name;
  pattern.PatternName = file_name_of(name);
  log_line(Format(" Directory     = %s", {image.PatternFolder}));
  log_line(Format(" Nax file name = %s", {pattern.PatternName}));
  const std::string ext = upper_ascii(extension_of(name));
  if (ext.empty()) {
    log_line(Format(" %s(); %s is bad file name. ", {proc, name}));
    return;
  }
  const PatternForm form = choose_pattern_form(pattern, ext);
  if (form == PatternForm::kNone) {
    log_refusal(pattern_kind_class(pattern), proc, pattern.PatternName);
    return;
  }
  log_line(pattern_form_banner(form));
  if (const auto overflow = find_field_overflow(form, pattern)) {
    log_line(Format(" %s() : Intensity %d at point %d does not fit the %d columns of this format. Nothing is written.",
                    {proc, overflow->value, overflow->point, overflow->width}));
    return;
  }
  const PatternSource source{pattern, st.sector_patterns, st.peak_table, st.integration_params, image.ImageFileName};
  AngleWindow window;
  if (theta) window = angle_window(pattern, st.integration_params, theta[0], theta[1]);
  std::string error;
  if (!write_file_bytes(name, pattern_file_text(form, source, theta ? &window : nullptr), &error))
    throw std::runtime_error("I/O error writing " + name + ": " + error);
  log_line(" Completed.");
}

}  // namespace

void save_nax_proc(const std::string& file_name) { save_pattern(file_name, "save_nax_proc", nullptr); }

void save_nax_proc2(const std::string& file_name, double theta1, double theta2) {
  const double theta[2] = {theta1, theta2};
  save_pattern(file_name, "save_nax_proc2", theta);
}

std::optional<std::string> pattern_path_beside_image(const std::string& ext, const int* number) {
  for (const char* image_ext : {"", "img", "stl", "osc", "ccd", "tif"})
    if (ext == image_ext) return std::nullopt;
  const ImageStore& image = current_image();
  std::string path = image.ImageFolder;
  if (path.empty() || path.back() != '/') path += '/';
  path += image.ImageBaseName;
  if (number) {
    path += '_';
    path += Format("%3d", {*number});
  }
  path += '.';
  path += ext;
  return path;
}

}  // namespace kestrin
