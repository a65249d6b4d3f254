// The background image's loader, display levels, click readout and writer.
#include "image/bg_image.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/convert.h"
#include "base/paths.h"
#include "image/display/display.h"
#include "image/formats/fuji.h"
#include "image/formats/hipic.h"
#include "image/formats/tiff.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "image/image_writers.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr const char* kBgImageFilter =
    "Rigaku R-AXIS5 or FUJI or HiPiC (*.img)|*.IMG|Rigaku R-AXIS4 (*.stl)|*.stl|Rigaku R-AXIS (*.osc)|*.osc|"
    "Bruker CCD Image (*.ccd)|*.ccd|TIFF Image (*.tif)|*.tif";

// The background's R-AXIS reader takes only the wavelength and the camera length.
HeaderFields bg_fields(int32_t type) {
  const bool raxis = type == kTypeRaxis || type == kTypeRigaku || type == kTypeRaxisCS;
  return raxis ? HeaderFields::WavelengthAndCameraLength : HeaderFields::All;
}

// A reader's line as the background's twin of that reader says it.
std::string bg_words(const std::string& line) {
  if (line == " tiff file error") return "BG: tiff file error";
  static constexpr std::string_view kReaders[] = {"rigaku", "hipic", "fuji", "tiff", "tiff_float", "gel", "bruker",
                                                   "information", "infomation"};
  for (std::string_view reader : kReaders) {
    const size_t at = line.find("read_" + std::string(reader) + "_file");
    if (at != std::string::npos) return line.substr(0, at) + "read_bg_" + line.substr(at + 5);
  }
  return line;
}

// The background view starts at zoom 1 from the top-left corner, as large as the image view.
void reset_bg_view() {
  BgView& v = state().bg_view;
  const ImageView& image = state().image_view;
  v.Zoom = 1.0;
  v.ScrollX = v.ScrollY = 0;
  v.ViewWidth = image.ViewWidth;
  v.ViewHeight = image.ViewHeight;
}

bool is_fuji_type(int32_t type) {
  return type == kTypeBA100 || type == kTypeBAS2000 || type == kTypeBAS2500 || type == kTypeMacToBas;
}

void say_written(const WriteResult& written, Report& report) {
  for (const std::string& line : written.lines) report.say(line);
}

}  // namespace

bool load_bg_img_proc(const std::string& name, Report& report) {
  ImageStore& bg = bg_image();
  if (!decode_into_store(bg, name, {"load_bg_img_proc", &bg_fields, &bg_words}, report)) return false;
  bg.NoImageFlag = 0;
  state().made_bg_codes.clear();
  say_image_statistics(bg, "BG:", "BG Saturated points were found.", report);
  reset_bg_view();
  return true;
}

const char* bg_image_filter() { return kBgImageFilter; }

bool build_bg_display_levels() {
  const ImageStore& bg = bg_image();
  if (bg.NoImageFlag == 1) return false;
  DisplayLevels& levels = state().bg_levels;
  build_display_levels({bg.image_codes, bg.log_table, bg.intensity_table}, state().bg_view.scale, levels.level);
  levels.width = bg.ImageWidth;
  levels.height = bg.ImageHeight;
  return true;
}

void find_bg_local_maximum(double& x, double& y, Report& report) {
  const ImageStore& bg = bg_image();
  const int32_t W = bg.ImageWidth, H = bg.ImageHeight;
  if (bg.NoImageFlag == 1 || bg.image_codes.size() != size_t(W) * size_t(H) || W < 1 || H < 1) return;
  int32_t hx = 6, hy = 6;
  if (x == 0) x = Round(W / 2.0), hx = 11;
  if (y == 0) y = Round(H / 2.0), hy = 11;
  if (!(std::fabs(x) < 1e9 && std::fabs(y) < 1e9)) return;
  const int32_t cx = Round(x), cy = Round(y);
  auto inside = [&](int64_t px, int64_t py) { return px >= 0 && py >= 0 && px < W && py < H; };
  double maximum = 0;
  int32_t mx = cx, my = cy;
  for (int32_t dy = -hy; dy <= hy; ++dy) {
    std::string line;
    for (int32_t dx = -hx; dx <= hx; ++dx) {
      if (!inside(int64_t(cx) + dx, int64_t(cy) + dy)) continue;
      const double v = bg.intensity(cx + dx, cy + dy);
      line += Format("%5d", {round_saturated(v)});
      if (v > maximum) maximum = v, mx = cx + dx, my = cy + dy;
    }
    report.say(line);
  }
  const bool reverse = state().options.VerticalReverse == 1;
  report.say("Maximum (" + Format("%4d", {mx}) + "," + Format("%4d", {reverse ? H - 1 - my : my}) +
             ") Intensity = " + Format("%7.2f", {maximum}));
  double sx = 0, sy = 0, sw = 0;
  for (int32_t dy = -9; dy <= 9; ++dy)
    for (int32_t dx = -9; dx <= 9; ++dx) {
      if (!inside(int64_t(mx) + dx, int64_t(my) + dy)) continue;
      const double v = bg.intensity(mx + dx, my + dy);
      if (!(v >= 0.1 * maximum)) continue;
      sw += v;
      sx += v * dx;
      sy += v * dy;
    }
  if (sw != 0) {
    x = mx + sx / sw;
    y = my + sy / sw;
  }
  report.say(" Fitted " + Format("%10.5f", {x}) + "," + Format("%10.5f", {reverse ? H - 1 - y : y}));
}

void save_processed_image(const std::string& name, Report& report) {
  const ImageStore& img = current_image();
  const ImageStore& bg = bg_image();
  const bool reverse = state().options.VerticalReverse == 1;
  switch (img.image_type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS: save_rigaku_file(name, 0, report); return;
    case kTypeTiff: say_written(save_tiff_file(bg, img.ImageFilePath, name, reverse), report); return;
    case kTypeHipic: say_written(save_hipic_file(bg, img.ImageFilePath, name, reverse), report); return;
    default: break;
  }
  if (is_fuji_type(img.image_type)) {
    say_written(save_fuji_file(bg, find_side_file(img.InfFileName).value_or(img.InfFileName), name, reverse), report);
    return;
  }
  report.say(Format(" save_processed_image() : Images of type %d cannot be written.", {img.image_type}));
}

std::string bg_caption() { return "KES for Windows (BG) " + bg_image().ImageFileName; }

}  // namespace kestrin
