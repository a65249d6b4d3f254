// Reading and writing the ".kes" parameter file.
#include "image/files/param_file.h"

#include <filesystem>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "image/parameters_reader.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

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

bool read_real(TextReader& in, double& field) {
  const std::optional<double> v = TryStrToFloat(in.next_line());
  if (v) field = *v;
  return v.has_value();
}

// Lines 6 to 17, in order; the first line that does not convert ends the reading, as does
// a pixel size X of 0 (the Y/X ratio cannot be formed).
void read_values(TextReader& in) {
  IntegrationParams& p = state().integration_params;
  if (!read_real(in, p.X0) || !read_real(in, p.Y0)) return;
  const std::optional<int32_t> band = TryStrToInt(in.next_line());
  if (!band) return;
  p.band_width = *band;
  if (!read_real(in, p.Beta) || !read_real(in, p.Phi) || !read_real(in, p.pixel_x) || !read_real(in, p.pixel_y))
    return;
  if (p.pixel_x == 0.0) return;
  p.pixel_ratio = p.pixel_y / p.pixel_x;
  for (double* field : {&p.two_theta_begin, &p.two_theta_end, &p.two_theta_step, &p.Lo, &p.wavelength})
    if (!read_real(in, *field)) return;
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

void show_parameters_in_edits() {
  const IntegrationParams& p = state().integration_params;
  Controls& c = controls();
  c.set_text(frmMain::edtCenterX0, Format("%10.5f", {p.X0}));
  c.set_text(frmMain::edtCenterY0, Format("%10.5f", {p.Y0}));
  c.set_text(frmMain::edtBandWidth, Format("%6d", {p.band_width}));
  c.set_text(frmMain::edtPixelX, Format("%10.6f", {p.pixel_x}));
  c.set_text(frmMain::edtPixelY, Format("%10.6f", {p.pixel_y}));
  c.set_text(frmMain::edtBeta, Format("%8.3f", {p.Beta}));
  c.set_text(frmMain::edtPhi, Format("%8.3f", {p.Phi}));
  c.set_text(frmMain::edtLambda, Format("%10.6f", {p.wavelength}));
  c.set_text(frmMain::edtCameraLength, Format("%10.6f", {p.Lo}));
  c.set_text(frmMain::edt2ThetaBegin, Format("%10.6f", {p.two_theta_begin}));
  c.set_text(frmMain::edt2ThetaEnd, Format("%10.6f", {p.two_theta_end}));
  c.set_text(frmMain::edt2ThetaStep, Format("%10.6f", {p.two_theta_step}));
}

void load_param_proc(const std::string& file_name) {
  if (extension_of(file_name) != ".kes") return;
  if (read_param_file(file_name) == 1) return;
  show_parameters_in_edits();
}

std::vector<std::string> param_file_lines() {
  const ImageStore& img = current_image();
  const IntegrationParams& p = state().integration_params;
  return {
      kBanner,
      img.ImageFolder,
      img.ImageFileName,
      img.PatternFolder,
      state().nax_pattern.PatternName,
      Format("%10.5f", {p.X0}),
      Format("%10.5f", {p.Y0}),
      Format("%6d", {p.band_width}),
      Format("%8.3f", {p.Beta}),
      Format("%10.6f", {p.Phi}),
      Format("%10.6f", {p.pixel_x}),
      Format("%10.6f", {p.pixel_y}),
      Format("%10.6f", {p.two_theta_begin}),
      Format("%10.6f", {p.two_theta_end}),
      Format("%10.6f", {p.two_theta_step}),
      Format("%10.6f", {p.Lo}),
      Format("%10.6f", {p.wavelength}),
  };
}

void save_param_proc(const std::string& file_name) {
  const std::string prefix = " save_param_proc() : " + file_name;
  if (extension_of(file_name) != ".kes") {
    log_line(prefix + " is not a param file.. ");
    return;
  }
  if (is_settings_file(file_name)) {
    log_line(prefix + " is the settings file; not written. ");
    return;
  }
  if (file_name_of(file_name) != kSettingsName) run_parameters_reader();
  if (!write_text_file(file_name, param_file_lines())) log_line(prefix + " cannot be written. ");
}

}  // namespace kestrin
