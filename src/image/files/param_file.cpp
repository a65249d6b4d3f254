// Reading and writing the ".kes" parameter file.
#include "image/files/param_file.h"

#include <filesystem>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr const char* kBanner = "*******   Configuration for kes   by Kestrin   *******";
constexpr const char* kSettingsName = "Kestrin.kes";
// A parameter file is 17 short lines; a larger file is read no further than this.
constexpr size_t kMaxParamFileBytes = size_t(1) << 20;

// "default.kes" restores the names it records; empty lines keep the current ones. An
// absolute image name stands for the whole path.
void restore_default_names(const std::string& folder, const std::string& file,
                           const std::string& pattern_folder, const std::string& pattern_name) {
  ImageStore& img = current_image();
  NaxPattern& pattern = state().nax_pattern;
  if (!folder.empty()) img.ImageFolder = folder;
  if (!file.empty()) img.ImageFileName = file;
  if (!img.ImageFileName.empty() && img.ImageFileName[0] == '/') {
    img.ImageFilePath = img.ImageFileName;
    img.ImageBaseName = base_name_of(img.ImageFileName);
  } else {
    img.ImageFilePath = img.ImageFolder + img.ImageFileName;
    img.ImageBaseName = img.ImageFileName;
  }
  if (!pattern_folder.empty()) img.PatternFolder = pattern_folder;
  if (!pattern_name.empty()) pattern.PatternName = pattern_name;
  pattern.FilePath = img.PatternFolder + pattern.PatternName;
}

// Lines 6 to 17, in the table's file order; the first line that does not convert ends the
// reading, as does a pixel size X of 0 (the Y/X ratio cannot be formed).
void read_values(TextReader& in) {
  IntegrationParams& ip = state().integration_params;
  for (const Parameter* p : parameters_in_file_order()) {
    const std::string text = in.next_line();
    if (p->kind == ParameterKind::kReal) {
      const std::optional<double> v = TryStrToFloat(text);
      if (!v) return;
      ip.*p->real = *v;
    } else {
      const std::optional<int32_t> v = TryStrToInt(text);
      if (!v) return;
      ip.*p->integer = *v;
    }
    if (p->has(kFormsPixelRatio) && ip.pixel_x == 0.0) return;
  }
}

std::string file_text(const Parameter& p) {
  const IntegrationParams& ip = state().integration_params;
  return p.kind == ParameterKind::kReal ? Format(p.file_format, {ip.*p.real}) : Format(p.file_format, {ip.*p.integer});
}

// True when `name` is the settings file in the configuration folder.
bool is_settings_file(const std::string& name) {
  namespace fs = std::filesystem;
  const std::string settings = config_folder() + kSettingsName;
  std::error_code ec;
  if (fs::equivalent(name, settings, ec)) return true;
  const fs::path a = fs::weakly_canonical(fs::absolute(name, ec), ec);
  const fs::path b = fs::weakly_canonical(fs::absolute(settings, ec), ec);
  return !a.empty() && a == b;
}

}  // namespace

int read_param_file(const std::string& file_name) {
  TextReader in;
  if (!in.open(file_name, kMaxParamFileBytes)) return 1;
  const bool is_default = file_name_of(file_name) == "default.kes";
  in.next_line();
  const std::string folder = in.next_line();
  const std::string file = in.next_line();
  const std::string pattern_folder = in.next_line();
  const std::string pattern_name = in.next_line();
  if (is_default) restore_default_names(folder, file, pattern_folder, pattern_name);
  read_values(in);
  return 0;
}

bool load_param_proc(const std::string& file_name) {
  if (extension_of(file_name) != ".kes") return false;
  return read_param_file(file_name) == 0;
}

std::vector<std::string> param_file_lines() {
  const ImageStore& img = current_image();
  std::vector<std::string> lines = {kBanner, img.ImageFolder, img.ImageFileName, img.PatternFolder,
                                    state().nax_pattern.PatternName};
  for (const Parameter* p : parameters_in_file_order()) lines.push_back(file_text(*p));
  return lines;
}

bool save_param_refused(const std::string& file_name, Report& report) {
  const std::string prefix = " save_param_proc() : " + file_name;
  if (extension_of(file_name) != ".kes") {
    report.say(prefix + " is not a param file.. ");
    return true;
  }
  if (is_settings_file(file_name)) {
    report.say(prefix + " is the settings file; not written. ");
    return true;
  }
  return false;
}

bool save_param_reads_edits(const std::string& file_name) { return file_name_of(file_name) != kSettingsName; }

void save_param_proc(const std::string& file_name, Report& report) {
  if (!write_text_file(file_name, param_file_lines())) report.say(" save_param_proc() : " + file_name + " cannot be written. ");
}

}  // namespace kestrin
