// The background window's commands.
#include "commands/bg_commands.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "analysis/bg_filter.h"
#include "analysis/bg_subtract.h"
#include "analysis/ring_geometry.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/report.h"
#include "commands/file_commands.h"
#include "image/bg_image.h"
#include "image/formats/image_data.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/bg_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kMadeLogMax = 65535;

int32_t smoothing(ControlName median, ControlName average) {
  if (controls().checked(median)) return kSmoothMedian;
  return controls().checked(average) ? kSmoothAverage : kSmoothNone;
}

// The background's view after its codes changed: scroll ranges, levels, picture.
void refresh_bg() {
  bg_window().bg_image_resized();
  show_bg_display_levels();
}

// The background's codes as Make BG left them, or as its file holds them.
void restore_bg() {
  ImageStore& bg = bg_image();
  const UninitVector<uint16_t>& made = state().made_bg_codes;
  if (!made.empty() && made.size() == bg.image_codes.size()) bg.image_codes = made;
  else load_bg_img_command(bg.ImageFilePath);
}

}  // namespace

void show_bg_display_levels() {
  if (build_bg_display_levels()) bg_window().redraw_bg_view();
}

void recompute_bg_statistics(int32_t max, int32_t log_max, int32_t min, int32_t log_min) {
  ImageStore& bg = bg_image();
  const ImageStore& img = current_image();
  const CodeTable& it = img.intensity_table;
  const CodeTable& lt = img.log_table;
  for (uint16_t c : bg.image_codes) {
    if (c >= it.size() || c >= lt.size()) continue;
    if (it[c] > max) {
      max = round_saturated(it[c]);
      log_max = round_saturated(lt[c]);
    }
    if (it[c] < min) {
      min = round_saturated(it[c]);
      log_min = round_saturated(lt[c]);
    }
  }
  bg.LinearMax = max;
  bg.LogMax = log_max;
  bg.LinearMin = min;
  bg.LogMin = log_min;
}

void copy_image_to_bg_command() {
  Report report = log_report();
  if (!copy_image_to_bg(report)) return;
  refresh_bg();
}

void make_bg_command() {
  run_long("bg_rank_filter", [] {
    copy_image_to_bg_command();
    // Whatever the run leaves in the background (a cancelled run, a refused size) is what
    // later subtractions start from, not the file the codes were copied from.
    struct KeepMade {
      ~KeepMade() {
        if (bg_image().NoImageFlag == 0) state().made_bg_codes = bg_image().image_codes;
      }
    } keep;
    const Controls& c = controls();
    const int32_t size = StrToInt(c.text(frmBG::edtFilterSize));
    const int32_t step = StrToInt(c.text(frmBG::edtFilterStep));
    // A negative mesh step leaves no samples in the window: refused as a bad size is.
    if (size % 2 == 0 || size < 3 || step < 0) {
      prompts().message("Filter Size Error");
      return;
    }
    state().BatchState = kBatchRun;
    const int32_t mode = smoothing(frmBG::rbtnBGSmoothing1, frmBG::rbtnBGSmoothing2);
    ImageStore& bg = bg_image();
    const ImageStore& img = current_image();
    if (bg.NoImageFlag == 1 || bg.image_codes.size() != img.image_codes.size()) return;
    Report report = log_report();
    const FilterProgress progress{
        [](int64_t rows) { controls().set_text(frmBG::lblLines, "/" + std::to_string(rows)); },
        [](int32_t done, int64_t seconds) {
          controls().set_text(frmBG::lblCurrentLine, std::to_string(done));
          controls().set_text(frmBG::lblPastSecond, std::to_string(seconds));
        }};
    const int32_t stopped = bg_rank_filter(
        size, step, StrToInt(c.text(frmBG::edtFilterSelect)), bg.image_codes,
        img.image_codes, bg.ImageHeight, bg.ImageWidth, StrToInt(c.text(frmBG::edtFilterSize2)), mode, report,
        progress);
    if (stopped == kFilterNoMemory) prompts().message("Memory Error. Aborted");
    if (stopped == 1) return;
    recompute_bg_statistics(9999, 9999, 0, 0);
    state().bg_view.scale.DisplayMode = 1;
    bg.LogMax = kMadeLogMax;
    refresh_bg();
  });
}

bool filter_size_ok() {
  return check_filter_size(controls().text(frmBG::edtFilterSize), controls().text(frmBG::edtFilterStep));
}

void subtract_bg_command() {
  if (controls().text(frmBG::lblBGFileName) == frmBG::kNoBgFileCaption) {
    prompts().message("Please load BG first.");
    return;
  }
  ImageStore& bg = bg_image();
  if (bg.NoImageFlag == 1) {
    prompts().message("Error. Please load BG first.");
    return;
  }
  restore_bg();
  if (bg.NoImageFlag == 1) return;
  const Controls& c = controls();
  const double percent = StrToFloat(c.text(frmBG::edtSourcePlus));
  const double factor = StrToFloat(c.text(frmBG::edtBGMagni));
  const int32_t mode = smoothing(frmBG::rbtnSourceSmoothing1, frmBG::rbtnSourceSmoothing2);
  const int32_t size = StrToInt(c.text(frmBG::edtSourceSmoothingFilterSize));
  ImageStore& img = current_image();
  double offset = 0;
  Report report = log_report();
  subtract_bg(img.image_codes, bg.image_codes, factor, percent, offset, bg.ImageHeight, bg.ImageWidth, size, mode, report);
  controls().set_text(frmBG::edtOffset1, FloatToStr(offset));
  recompute_bg_statistics(0, 0, img.LinearSaturation, img.LogSaturation);
  refresh_bg();
}

ImageView bg_image_view() {
  const BgView& b = state().bg_view;
  const ImageStore& bg = bg_image();
  ImageView v;
  v.ViewWidth = b.ViewWidth;
  v.ViewHeight = b.ViewHeight;
  v.Zoom = b.Zoom;
  v.ScrollX = b.ScrollX;
  v.ScrollY = b.ScrollY;
  if (b.Zoom == 0.0 && bg.ImageWidth > 0 && bg.ImageHeight > 0) set_image_zoom(v, 0.0, bg.ImageWidth, bg.ImageHeight);
  else update_view_extent(v, std::max(bg.ImageWidth, 1), std::max(bg.ImageHeight, 1));
  return v;
}

ZoomResult set_bg_zoom(int32_t item) {
  static constexpr double kZooms[] = {0.0, 1.0, 2.0, 4.0, 8.0};
  BgView& b = state().bg_view;
  const ImageStore& bg = bg_image();
  ImageView v = bg_image_view();
  const double zoom = kZooms[std::clamp(item, 0, 4)];
  const ZoomResult r = set_image_zoom(v, zoom, std::max(bg.ImageWidth, 1), std::max(bg.ImageHeight, 1));
  b.Zoom = zoom;
  b.ScrollX = std::clamp(v.ScrollX, 0, r.scroll_max_x);
  b.ScrollY = std::clamp(v.ScrollY, 0, r.scroll_max_y);
  return r;
}

void bg_scale_clicked(bool log) {
  DisplayScale& s = state().bg_view.scale;
  s.DisplayMode = log ? 0 : 1;
  s.GaugeLow = s.LowEdge = 0;
  s.GaugeHigh = s.HighEdge = log ? current_image().LogSaturation : 1000;
  Controls& c = controls();
  c.set_text(frmBG::edtLowEdge, "0");
  c.set_text(frmBG::lblLowIndex, "0");
  c.set_text(frmBG::edtHighEdge, Format("%d", {s.GaugeHigh}));
  c.set_text(frmBG::lblHighIndex, Format("%d", {s.GaugeHigh}));
  show_bg_display_levels();
}

namespace {

// The background pixel under view pixel (px, py), when there is one.
std::optional<std::pair<int32_t, int32_t>> bg_pixel_at(int32_t px, int32_t py) {
  const ImageStore& bg = bg_image();
  if (bg.NoImageFlag == 1) return std::nullopt;
  const ImageView v = bg_image_view();
  const int32_t x = (v.WholeView ? 0 : v.ScrollX) + Trunc(px / v.Zoom);
  const int32_t y = (v.WholeView ? 0 : v.ScrollY) + Trunc(py / v.Zoom);
  if (x < 0 || y < 0 || x >= bg.ImageWidth || y >= bg.ImageHeight) return std::nullopt;
  return std::pair{x, y};
}

double bg_intensity(int32_t x, int32_t y) {
  const ImageStore& bg = bg_image();
  const uint16_t code = bg.image_codes[size_t(x) + size_t(bg.ImageWidth) * size_t(y)];
  return code < bg.intensity_table.size() ? bg.intensity_table[code] : 0.0;
}

}  // namespace

BgReadout bg_readout(int32_t px, int32_t py) {
  const auto pixel = bg_pixel_at(px, py);
  if (!pixel) return {"###", "###", "###", "###"};
  const auto [x, y] = *pixel;
  const int32_t shown_y = state().options.VerticalReverse ? bg_image().ImageHeight - 1 - y : y;
  const double distance = calc_pixel_2theta(state().options.DistanceSetting, x, y);
  return {Format("%d", {x}), Format("%d", {shown_y}), FloatToStr(bg_intensity(x, y)),
          std::isfinite(distance) ? Format("%4.3f", {distance}) : "###"};
}

void bg_pixel_information(int32_t px, int32_t py) {
  const auto pixel = bg_pixel_at(px, py);
  if (!pixel) return;
  const auto [x, y] = *pixel;
  log_line("");
  log_line(" <<<<<   Pixel information   >>>>>");
  log_line(Format(" Clicked (%5d, %5d)  Intensity = %.4f", {x, y, bg_intensity(x, y)}));
  log_line(Format(" x = %9.3f(pixel), 2theta =%8.4f(degree)",
                  {calc_pixel_2theta(kPixelRho, x, y), calc_pixel_2theta(kPixelTwoTheta, x, y)}));
}

void save_bg_command() {
  const std::string name = run_result_save_dialog(kBgSaveFilter, "img");
  Report report = log_report();
  if (name.empty()) report.say(" save_bg_proc() : cancel ");
  else save_processed_image(name, report);
}

void load_bg_img_command(const std::string& name) {
  Report report = log_report();
  if (!load_bg_img_proc(name, report)) return;
  controls().set_item_index(frmBG::cmbMagni, 1);
  controls().set_text(frmBG::edtMagni, "1.0");
  refresh_bg();
  bg_window().set_caption(bg_caption());
}

void load_bg_img_dialog() {
  FileDialogs& dialogs = file_dialogs();
  FileDialogSetup s = dialogs.open_state();
  FileDialogSlots& slots = state().dialog_slots;
  s.must_exist = true;
  s.overwrite_prompt = false;
  s.folder = slots.folder[kSlotImageOpen];
  s.filter_index = slots.filter_index[kSlotImageOpen];
  s.file_name.clear();
  s.filter = bg_image_filter();
  const std::string name = dialogs.run_open(s);
  slots.folder[kSlotImageOpen] = folder_of(name);
  slots.filter_index[kSlotImageOpen] = dialogs.open_filter_index();
  load_bg_img_command(name);
}

}  // namespace kestrin
