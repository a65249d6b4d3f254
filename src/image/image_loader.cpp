// The image loader: the name checks, the whole report of a load, the header geometry under
// the locks, and the model's steps after a good load.
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
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"

namespace kestrin {

namespace {

// A header value replaces the parameter unless locked; one that is not a positive finite
// number is refused with a line.
void take(const std::optional<double>& value, bool locked, double& field, const char* what, const std::string& prefix,
          Report& report) {
  if (!value || locked) return;
  if (std::isfinite(*value) && *value > 0.0) field = *value;
  else report.say(prefix + "Header " + what + " " + FloatToStr(*value) + " is not usable; the value in use is kept.");
}

// The ".kes" beside the image (exact name, else a unique match ignoring case) replaces
// the geometry.
void read_image_parameters(ImageStore& img, Report& report) {
  img.PatternFolder = img.ImageFolder;
  const std::string wanted = img.PatternFolder + img.ImageBaseName + ".kes";
  const std::optional<std::string> found = find_side_file(wanted);
  if (found && read_param_file(*found) == 0)
    report.say(Format(" Load parameter file %s ", {*found}));
  else
    report.say(Format(" No parameter file %s   Default values are used.", {wanted}));
}

// The mask follows the image size; the clear-mask option empties it. True when it did.
bool prepare_mask(const ImageStore& img) {
  ImageMask& mask = state().image_mask;
  mask.fit(img.ImageWidth, img.ImageHeight);
  if (state().options.ClearMask != 1) return false;
  std::fill(mask.bytes.begin(), mask.bytes.end(), uint8_t(0));
  return true;
}

// The display range after a load: linear scale 0 to a bound chosen by the image maximum,
// log scale 0 to the log saturation; the edges take the same values and the display levels
// are rebuilt.
void set_display_range(const ImageStore& img) {
  DisplayScale& d = state().display_scale;
  if (d.DisplayMode == 1)
    set_linear_scale(d, img.LinearMax);
  else
    set_log_scale(d, img.LogSaturation);
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

// The model's steps after a good load: the mask, the view, the display range and the spot
// list follow the new image.
ImageLoad finish_load(ImageStore& img) {
  ImageLoad load;
  load.loaded = true;
  load.mask_cleared = prepare_mask(img);
  reset_view();
  set_display_range(img);
  state().spot_list.SpotCount = 0;
  return load;
}

// The name checks, in order; a refused name says its line. The folder test comes after the
// folder and path are stored.
bool name_accepted(const std::string& name, ImageStore& img, const std::string& routine, Report& report) {
  const std::string prefix = " " + routine + "() : ";
  if (name.empty()) {
    report.say(prefix + "No file selected. ");
    return false;
  }
  if (!is_image_extension(name)) {
    report.say(prefix + name + " is not a image file.. ");
    return false;
  }
  img.ImageFolder = folder_of(name);
  img.ImageFilePath = name;
  if (img.ImageFolder.find('/') == std::string::npos) {
    report.say(Format(routine + "() : %s does not have explicit path.", {name}));
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

void say_names(const ImageStore& img, Report& report) {
  report.say(" Directory = " + img.ImageFolder);
  report.say(" Inf  name = " + img.InfFileName);
  report.say(" Img  name = " + img.ImageFilePath);
  report.say(" Base name = " + img.ImageBaseName);
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
bool take_image(ImageStore& img, const std::string& name, ImageFileDecode&& file, const LoaderVoice& voice,
                Report& report) {
  const std::string prefix = " " + voice.routine + "() : ";
  DecodedImage& decoded = file.image;
  if (file.open_error.empty()) {
    for (const std::string& line : decoded.lines) report.say(voice.reword(line));
    apply_header_geometry(decoded.geometry, voice.fields(file.type), prefix, report);
  }
  if (!file.open_error.empty() || !decoded.ok) {
    static_cast<ImageData&>(img) = std::move(decoded.data);
    report.say(failure_line(file, name, prefix));
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

void apply_header_geometry(const HeaderGeometry& g, HeaderFields fields, const std::string& prefix, Report& report) {
  using P = IntegrationParams;
  P& p = state().integration_params;
  take(g.wavelength, header_locked(&P::wavelength), p.wavelength, "wavelength", prefix, report);
  take(g.camera_length, header_locked(&P::Lo), p.Lo, "camera length", prefix, report);
  if (fields != HeaderFields::All) return;
  const bool locks_apply = !g.pixel_sizes_unlocked;
  if (g.pixel_x_follows_y) {
    take(g.pixel_y, locks_apply && header_locked(&P::pixel_y), p.pixel_y, "pixel size Y", prefix, report);
    if (!(locks_apply && header_locked(&P::pixel_x))) p.pixel_x = p.pixel_y;
    return;
  }
  take(g.pixel_x, locks_apply && header_locked(&P::pixel_x), p.pixel_x, "pixel size X", prefix, report);
  take(g.pixel_y, locks_apply && header_locked(&P::pixel_y), p.pixel_y, "pixel size Y", prefix, report);
}

bool decode_into_store(ImageStore& img, const std::string& name, const LoaderVoice& voice, Report& report) {
  if (!name_accepted(name, img, voice.routine, report)) return false;
  img.image_type = kTypeUndetermined;
  set_names(img, name);
  const DecodeOptions options = decode_options(name);
  ImageFileDecode file = decode_image_file(name, img.InfFileName, options, lend_buffers(img));
  img.image_type = file.type;
  for (const std::string& line : file.type_lines) report.say(voice.reword(line));
  say_names(img, report);
  img.NoImageFlag = 1;
  return take_image(img, name, std::move(file), voice, report);
}

void say_image_statistics(const ImageStore& img, const std::string& prefix, const std::string& saturated_line,
                          Report& report) {
  report.say(prefix + Format("Min to Max / Saturated intensity(log) = %d to %d / %d", {img.LogMin, img.LogMax, img.LogSaturation}));
  report.say(prefix + Format("Min to Max / Saturated intensity(linear) = %d to %d / %d",
                             {img.LinearMin, img.LinearMax, img.LinearSaturation}));
  if (img.LinearMax == img.LinearSaturation) report.say(saturated_line);
}

ImageLoad load_current_image(const std::string& name, Report& report) {
  ImageStore& img = current_image();
  if (!decode_into_store(img, name, {"load_img_proc", &all_fields, &same_words}, report)) return {};
  img.NoImageFlag = 0;
  say_image_statistics(img, "", " Saturated points were found.", report);
  read_image_parameters(img, report);
  return finish_load(img);
}

bool read_image_file(const std::string& name, ImageStore& store, const std::string& routine, Report& report) {
  store.NoImageFlag = 1;
  if (!name_accepted(name, store, routine, report)) return false;
  set_names(store, name);
  ImageFileDecode file = decode_image_file(name, store.InfFileName, decode_options(name), lend_buffers(store));
  store.image_type = file.type;
  if (!file.open_error.empty() || !file.image.ok) {
    for (const std::string& line : file.type_lines) report.say(line);
    for (const std::string& line : file.image.lines) report.say(line);
    static_cast<ImageData&>(store) = std::move(file.image.data);
    report.say(failure_line(file, name, " " + routine + "() : "));
    return false;
  }
  install_image(store, std::move(file.image));
  store.NoImageFlag = 0;
  return true;
}

}  // namespace kestrin
