// The pattern save routines: the checks and report lines around the file forms.
#include <stdexcept>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/files/pattern_files.h"
#include "image/files/pattern_writer.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

std::string upper_ascii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

void say_refusal(PatternKindClass kind, const std::string& proc, const std::string& name_part, Report& report) {
  switch (kind) {
    case PatternKindClass::kPixel:
      report.say(Format(" %s() : %s Bad extension for pixel data.", {proc, name_part}));
      break;
    case PatternKindClass::kAngle:
      report.say(Format(" save_nax_proc() : %s Bad extension for angle data", {name_part}));
      break;
    default:
      report.say(Format(" save_nax_proc() : %s Bad extension for sector data.", {name_part}));
      break;
  }
}

// The form the name's extension asks for, after the folder and name lines; nothing (and
// the reason said) when the name or the pattern's kind refuses it.
PatternForm form_of_name(const std::string& name, const std::string& proc, Report& report) {
  ImageStore& image = current_image();
  NaxPattern& pattern = state().nax_pattern;
  image.PatternFolder = folder_of(name);
  if (image.PatternFolder.empty()) {
    report.say(Format(" save_nax_proc() : %s doesnot have explicit path.", {name}));
    return PatternForm::kNone;
  }
  pattern.FilePath = name;
  pattern.PatternName = file_name_of(name);
  report.say(Format(" Directory     = %s", {image.PatternFolder}));
  report.say(Format(" Nax file name = %s", {pattern.PatternName}));
  const std::string ext = upper_ascii(extension_of(name));
  if (ext.empty()) {
    report.say(Format(" %s(); %s is bad file name. ", {proc, name}));
    return PatternForm::kNone;
  }
  const PatternForm form = choose_pattern_form(pattern, ext);
  if (form == PatternForm::kNone) say_refusal(pattern_kind_class(pattern), proc, pattern.PatternName, report);
  return form;
}

// The steps shared by both routines; `theta` holds the window of the second one.
void save_pattern(const std::string& name, const std::string& proc, const double* theta, Report& report) {
  if (name.empty()) return;
  SharedState& st = state();
  const NaxPattern& pattern = st.nax_pattern;
  if (pattern.empty()) {
    report.say(" save_nax_proc() : 1D pattern does not exist. ");
    return;
  }
  const PatternForm form = form_of_name(name, proc, report);
  if (form == PatternForm::kNone) return;
  report.say(pattern_form_banner(form));
  if (const auto overflow = find_field_overflow(form, pattern)) {
    report.say(Format(" %s() : Intensity %d at point %d does not fit the %d columns of this format. Nothing is written.",
                      {proc, overflow->value, overflow->point, overflow->width}));
    return;
  }
  const ImageStore& image = current_image();
  const PatternSource source{pattern, st.sector_patterns, st.peak_table, st.integration_params, image.ImageFileName};
  AngleWindow window;
  if (theta) window = angle_window(pattern, st.integration_params, theta[0], theta[1]);
  std::string error;
  if (!write_file_bytes(name, pattern_file_text(form, source, theta ? &window : nullptr), &error))
    throw std::runtime_error("I/O error writing " + name + ": " + error);
  report.say(" Completed.");
}

}  // namespace

void save_nax_proc(const std::string& file_name, Report& report) {
  save_pattern(file_name, "save_nax_proc", nullptr, report);
}

void save_nax_proc2(const std::string& file_name, double theta1, double theta2, Report& report) {
  const double theta[2] = {theta1, theta2};
  save_pattern(file_name, "save_nax_proc2", theta, report);
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
