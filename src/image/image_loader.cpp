// The image loader and the signature tests that choose the reader.
#include "image/image_loader.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>

#include "base/convert.h"
#include "base/paths.h"
#include "image/image_store.h"
#include "image/display/display.h"
#include "image/files/param_file.h"
#include "image/formats/reader_registry.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/image_form_names.h"
#include "ports/names/spot_form_names.h"

namespace kestrin {

namespace {

constexpr const char* kPrefix = " load_img_proc() : ";

bool is_image_extension(const std::string& name) {
  for (const char* ext : {".img", ".stl", ".osc", ".ccd", ".tif", ".gel"})
    if (has_extension(name, ext)) return true;
  return false;
}

int type_by_extension(const std::string& name) {
  int type = kTypeUndetermined;
  if (has_extension(name, ".img") || has_extension(name, ".stl") || has_extension(name, ".osc"))
    type = sniff_raxis_type(name);
  if (has_extension(name, ".ccd")) type = kTypeBruker;
  if (has_extension(name, ".tif")) type = sniff_tiff_type(name);
  if (has_extension(name, ".gel")) type = kTypeGel;
  return type;
}

struct ReaderChoice {
  ImageReaderFn reader;  // null when the format's reader is not available
  const char* kind;      // the word in the failure line
  bool fuji = false;     // the ".inf" header reader runs first and must succeed
};

// Flat dispatch over the image type.
ReaderChoice reader_for(int type) {
  const ReaderRegistry& r = reader_registry();
  switch (type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS: return {r.rigaku, "Rigaku"};
    case kTypeBruker: return {r.bruker, "Bruker"};
    case kTypeTiff: return {r.tiff, "TIFF"};
    case kTypeFloatTiff: return {r.tiff_float, "TIFF2"};
    case kTypeGel: return {r.gel, "GEL"};
    case kTypeHipic: return {r.hipic, "HIPIC"};
    default: return {r.fuji, "Fuji", true};
  }
}

// Runs the chosen reader(s); true on success. A reader that throws counts as failed.
bool run_reader(const ReaderChoice& choice, ImageStore& img, const std::string& name) {
  try {
    if (choice.fuji) {
      const ImageReaderFn header = reader_registry().information;
      if (!header || header(img, img.InfFileName) != 0) return false;
    }
    return choice.reader && choice.reader(img, name) == 0;
  } catch (const std::exception&) {
    return false;
  }
}

void log_statistics(const ImageStore& img) {
  log_line(Format("Min to Max / Saturated intensity(log) = %d to %d / %d", {img.LogMin, img.LogMax, img.LogSaturation}));
  log_line(Format("Min to Max / Saturated intensity(linear) = %d to %d / %d",
                  {img.LinearMin, img.LinearMax, img.LinearSaturation}));
  if (img.LinearMax == img.LinearSaturation) log_line(" Saturated points were found.");
}

// The ".kes" beside the image (exact name, else a unique match ignoring case) replaces
// the geometry; the edits then show the geometry as it stands.
void read_image_parameters(ImageStore& img) {
  img.PatternFolder = img.ImageFolder;
  const std::string wanted = img.PatternFolder + img.ImageBaseName + ".kes";
  const std::optional<std::string> found = find_side_file(wanted);
  if (found && read_param_file(*found) == 0)
    log_line(Format(" Load parameter file %s ", {*found}));
  else
    log_line(Format(" No parameter file %s   Default values are used.", {wanted}));
  show_parameters_in_edits();
}

// The mask follows the image size; the clear-mask option empties it.
void prepare_mask(const ImageStore& img) {
  SharedState& s = state();
  if (s.image_mask.width != img.ImageWidth || s.image_mask.height != img.ImageHeight)
    s.image_mask.resize(img.ImageWidth, img.ImageHeight);
  if (s.options.ClearMask == 1) {
    s.macro.record("Kestrin.ClearMask();");
    std::fill(s.image_mask.bytes.begin(), s.image_mask.bytes.end(), uint8_t(0));
  }
}

// The display range after a load: linear scale 0 to a bound chosen by the image maximum,
// log scale 0 to the log saturation; the edges take the same values, the image window's
// gauge edits show them, and the display levels are rebuilt.
void set_display_range(const ImageStore& img) {
  SharedState& s = state();
  DisplayScale& d = s.display_scale;
  d.GaugeLow = 0;
  d.GaugeHigh = d.DisplayMode == 1 ? linear_display_bound(img.LinearMax, d.GaugeHigh) : img.LogSaturation;
  d.LowEdge = d.GaugeLow;
  d.HighEdge = d.GaugeHigh;
  for (const ControlName& name : {frmImage::edtLowEdge, frmImage::lblLowIndex}) controls().set_text(name, Format("%d", {d.LowEdge}));
  for (const ControlName& name : {frmImage::edtHighEdge, frmImage::lblHighIndex}) controls().set_text(name, Format("%d", {d.HighEdge}));
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, d, s.display_levels.level);
  s.display_levels.width = img.ImageWidth;
  s.display_levels.height = img.ImageHeight;
}

// The view starts at zoom 1 from the top-left corner.
void reset_view() {
  ImageView& v = state().image_view;
  v.Zoom = 1.0;
  v.WholeView = false;
  v.ScrollX = v.ScrollY = 0;
  update_view_extent(v, current_image().ImageWidth, current_image().ImageHeight);
}

// The steps after a good load. A parameter edit that does not convert ends the load with
// its conversion error, but only after the mask and the views follow the new image.
void finish_load(ImageStore& img) {
  prepare_mask(img);
  std::exception_ptr error;
  try {
    read_parameters(img.ImageHeight);
  } catch (...) {
    error = std::current_exception();
  }
  reset_view();
  set_display_range(img);
  image_window().image_loaded();
  if (state().WindowShow == 1) image_window().show();
  controls().set_text(frmSpot::edtX1, Format("%d", {img.ImageWidth}));
  controls().set_text(frmSpot::edtY1, Format("%d", {img.ImageHeight}));
  state().spot_list.SpotCount = 0;
  if (error) std::rethrow_exception(error);
}

}  // namespace

int sniff_raxis_signature(std::string_view first_bytes) {
  const std::string_view s = first_bytes.substr(0, 10);
  auto has = [s](std::string_view text) { return s.find(text) != std::string_view::npos; };
  int type = has("RAXIS") ? kTypeRaxis : kTypeOtherImg;
  if (has("R-AXIS")) type = kTypeRaxis;
  if (has("R-AXIS-CS")) type = kTypeRaxisCS;
  if (has("R-AXIS4")) type = kTypeRaxis;
  if (has("R-AXIS ")) type = kTypeRigaku;
  if (has("RAXIS")) type = kTypeRaxis;
  if (has("IM")) type = kTypeHipic;
  return type;
}

int sniff_raxis_type(const std::string& name) {
  char bytes[10];
  size_t got = 0;
  if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
    got = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
  }
  return sniff_raxis_signature(std::string_view(bytes, got));
}

int sniff_tiff_type(const std::string& name) {
  const TiffFloatTestFn is_float = reader_registry().tiff_is_float;
  try {
    return is_float && is_float(name) ? kTypeFloatTiff : kTypeTiff;
  } catch (const std::exception&) {
    return kTypeTiff;
  }
}

int load_img_proc(const std::string& name) {
  ImageStore& img = current_image();
  if (name.empty()) {
    log_line(std::string(kPrefix) + "No file selected. ");
    return -1;
  }
  if (!is_image_extension(name)) {
    log_line(kPrefix + name + " is not a image file.. ");
    return -1;
  }
  img.ImageFolder = folder_of(name);
  img.ImageFilePath = name;
  if (img.ImageFolder.find('/') == std::string::npos) {
    log_line(Format("load_img_proc() : %s does not have explicit path.", {name}));
    return -1;
  }
  img.image_type = kTypeUndetermined;
  img.ImageFileName = name;
  img.ImageBaseName = base_name_of(name);
  img.image_type = type_by_extension(name);
  img.InfFileName = img.ImageFolder + img.ImageBaseName + ".inf";
  log_line(" Directory = " + img.ImageFolder);
  log_line(" Inf  name = " + img.InfFileName);
  log_line(" Img  name = " + img.ImageFilePath);
  log_line(" Base name = " + img.ImageBaseName);
  img.NoImageFlag = 1;
  const ReaderChoice choice = reader_for(img.image_type);
  if (!run_reader(choice, img, name)) {
    log_line(kPrefix + (choice.kind + (" image file " + name + " load error.")));
    return -1;
  }
  img.NoImageFlag = 0;
  log_statistics(img);
  read_image_parameters(img);
  finish_load(img);
  return -1;
}

}  // namespace kestrin
