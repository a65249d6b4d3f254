// The image loader: the name checks, the whole log of a load, the header geometry under the
// locks, and the steps after a good load.
#include "image/image_loader.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "base/convert.h"
#include "base/paths.h"
#include "image/display/display.h"
#include "image/display/gauge.h"
#include "image/display_levels.h"
#include "image/files/param_file.h"
#include "image/formats/image_file.h"
#include "image/image_mask.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/spot_form_names.h"

namespace kestrin {

namespace {

// A header value replaces the parameter unless locked; one that is not a positive finite
// number is refused with a line.
void take(const std::optional<double>& value, bool locked, double& field, const char* what, const std::string& prefix) {
  if (!value || locked) return;
  if (std::isfinite(*value) && *value > 0.0) field = *value;
  else log_line(prefix + "Header " + what + " " + FloatToStr(*value) + " is not usable; the value in use is kept.");
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
  state().image_mask.fit(img.ImageWidth, img.ImageHeight);
  if (state().options.ClearMask == 1) clear_mask();
}

// The display range after a load: linear scale 0 to a bound chosen by the image maximum,
// log scale 0 to the log saturation; the edges take the same values, the image window's
// gauge edits show them, and the display levels are rebuilt.
void set_display_range(const ImageStore& img) {
  DisplayScale& d = state().display_scale;
  if (d.DisplayMode == 1)
    set_linear_scale(d, img.LinearMax);
  else
    set_log_scale(d, img.LogSaturation);
  show_display_edges();
  update_display_levels();
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

// The name checks, in order; a refused name logs its line. The folder test comes after the
// folder and path are stored.
bool name_accepted(const std::string& name, ImageStore& img, const std::string& routine) {
  const std::string prefix = " " + routine + "() : ";
  if (name.empty()) {
    log_line(prefix + "No file selected. ");
    return false;
  }
  if (!is_image_extension(name)) {
    log_line(prefix + name + " is not a image file.. ");
    return false;
  }
  img.ImageFolder = folder_of(name);
  img.ImageFilePath = name;
  if (img.ImageFolder.find('/') == std::string::npos) {
    log_line(Format(routine + "() : %s does not have explicit path.", {name}));
    return false;
  }
  return true;
}

// The names that follow from an accepted name.
void set_names(ImageStore& img, const std::string& name) {
  img.ImageFileName = name;
  img.ImageBaseName = base_name_of(name);
  img.InfFileName = img.ImageFolder + img.ImageBaseName + ".inf";
}

void log_names(const ImageStore& img) {
  log_line(" Directory = " + img.ImageFolder);
  log_line(" Inf  name = " + img.InfFileName);
  log_line(" Img  name = " + img.ImageFilePath);
  log_line(" Base name = " + img.ImageBaseName);
}

// The store lends its pixel buffers and tables to the decode (see DecodedImage).
ImageData lend_buffers(ImageStore& img) { return std::move(static_cast<ImageData&>(img)); }

// The line that says why a file gave no image.
std::string failure_line(const ImageFileDecode& file, const std::string& name, const std::string& prefix) {
  if (!file.open_error.empty()) return prefix + ("Cannot open " + name + ": " + file.open_error + ".");
  return prefix + (reader_kind(file.type) + (" image file " + name + " load error."));
}

// Logs the reader's lines, takes the header geometry and installs a good image. A file that
// cannot be read or a refused image logs its line, and the store gets its buffers back as
// the decode left them.
bool take_image(ImageStore& img, const std::string& name, ImageFileDecode&& file, const LoaderVoice& voice) {
  const std::string prefix = " " + voice.routine + "() : ";
  DecodedImage& decoded = file.image;
  if (file.open_error.empty()) {
    for (const std::string& line : decoded.lines) log_line(voice.reword(line));
    apply_header_geometry(decoded.geometry, voice.fields(file.type), prefix);
  }
  if (!file.open_error.empty() || !decoded.ok) {
    static_cast<ImageData&>(img) = std::move(decoded.data);
    log_line(failure_line(file, name, prefix));
    return false;
  }
  install_image(img, std::move(decoded));
  return true;
}

HeaderFields all_fields(int32_t) { return HeaderFields::All; }
std::string same_words(const std::string& line) { return line; }

}  // namespace

DecodeOptions decode_options(const std::string& name) {
  DecodeOptions o;
  o.reverse_rows = state().options.VerticalReverse == 1;
  o.prior_bits = current_image().BitsPerPixel;
  o.name = name;
  return o;
}

void apply_header_geometry(const HeaderGeometry& g, HeaderFields fields, const std::string& prefix) {
  using P = IntegrationParams;
  P& p = state().integration_params;
  take(g.wavelength, header_locked(&P::wavelength), p.wavelength, "wavelength", prefix);
  take(g.camera_length, header_locked(&P::Lo), p.Lo, "camera length", prefix);
  if (fields != HeaderFields::All) return;
  const bool locks_apply = !g.pixel_sizes_unlocked;
  if (g.pixel_x_follows_y) {
    take(g.pixel_y, locks_apply && header_locked(&P::pixel_y), p.pixel_y, "pixel size Y", prefix);
    if (!(locks_apply && header_locked(&P::pixel_x))) p.pixel_x = p.pixel_y;
    return;
  }
  take(g.pixel_x, locks_apply && header_locked(&P::pixel_x), p.pixel_x, "pixel size X", prefix);
  take(g.pixel_y, locks_apply && header_locked(&P::pixel_y), p.pixel_y, "pixel size Y", prefix);
}

bool decode_into_store(ImageStore& img, const std::string& name, const LoaderVoice& voice) {
  if (!name_accepted(name, img, voice.routine)) return false;
  img.image_type = kTypeUndetermined;
  set_names(img, name);
  const DecodeOptions options = decode_options(name);
  ImageFileDecode file = decode_image_file(name, img.InfFileName, options, lend_buffers(img));
  img.image_type = file.type;
  for (const std::string& line : file.type_lines) log_line(voice.reword(line));
  log_names(img);
  img.NoImageFlag = 1;
  return take_image(img, name, std::move(file), voice);
}

void log_image_statistics(const ImageStore& img, const std::string& prefix, const std::string& saturated_line) {
  log_line(prefix + Format("Min to Max / Saturated intensity(log) = %d to %d / %d", {img.LogMin, img.LogMax, img.LogSaturation}));
  log_line(prefix + Format("Min to Max / Saturated intensity(linear) = %d to %d / %d",
                           {img.LinearMin, img.LinearMax, img.LinearSaturation}));
  if (img.LinearMax == img.LinearSaturation) log_line(saturated_line);
}

bool load_current_image(const std::string& name) {
  ImageStore& img = current_image();
  if (!decode_into_store(img, name, {"load_img_proc", &all_fields, &same_words})) return false;
  img.NoImageFlag = 0;
  log_image_statistics(img, "", " Saturated points were found.");
  read_image_parameters(img);
  finish_load(img);
  return true;
}

int load_img_proc(const std::string& name) {
  load_current_image(name);
  return -1;
}

bool read_image_file(const std::string& name, ImageStore& store, const std::string& routine) {
  store.NoImageFlag = 1;
  if (!name_accepted(name, store, routine)) return false;
  set_names(store, name);
  ImageFileDecode file = decode_image_file(name, store.InfFileName, decode_options(name), lend_buffers(store));
  store.image_type = file.type;
  if (!file.open_error.empty() || !file.image.ok) {
    for (const std::string& line : file.type_lines) log_line(line);
    for (const std::string& line : file.image.lines) log_line(line);
    static_cast<ImageData&>(store) = std::move(file.image.data);
    log_line(failure_line(file, name, " " + routine + "() : "));
    return false;
  }
  install_image(store, std::move(file.image));
  store.NoImageFlag = 0;
  return true;
}

}  // namespace kestrin
