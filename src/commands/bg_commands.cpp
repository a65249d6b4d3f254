// The background window's commands.
#include "commands/bg_commands.h"

#include "analysis/bg_filter.h"
#include "analysis/bg_subtract.h"
#include "base/convert.h"
#include "commands/file_commands.h"
#include "image/bg_image.h"
#include "image/formats/image_data.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/bg_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

using namespace frmBG;

constexpr int32_t kMadeLogMax = 65535;

int32_t smoothing(ControlName median, ControlName average) {
  if (controls().checked(median)) return kSmoothMedian;
  return controls().checked(average) ? kSmoothAverage : kSmoothNone;
}

// The background's view after its codes changed: scroll ranges, levels, picture.
void refresh_bg() {
  bg_window().bg_image_resized();
  build_bg_display_levels();
}

// The background's codes as Make BG left them, or as its file holds them.
void restore_bg() {
  ImageStore& bg = bg_image();
  const std::vector<uint16_t>& made = state().made_bg_codes;
  if (!made.empty() && made.size() == bg.image_codes.size()) bg.image_codes = made;
  else load_bg_img_proc(bg.ImageFilePath);
}

}  // namespace

void recompute_bg_statistics(int32_t max, int32_t log_max, int32_t min, int32_t log_min) {
  ImageStore& bg = bg_image();
  const ImageStore& img = current_image();
  const std::vector<double>& it = img.intensity_table;
  const std::vector<double>& lt = img.log_table;
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

void make_bg_command() {
  run_long("bg_rank_filter", [] {
    copy_image_to_bg();
    // Whatever the run leaves in the background (a cancelled run, a refused size) is what
    // later subtractions start from, not the file the codes were copied from.
    struct KeepMade {
      ~KeepMade() {
        if (bg_image().NoImageFlag == 0) state().made_bg_codes = bg_image().image_codes;
      }
    } keep;
    const Controls& c = controls();
    const int32_t size = StrToInt(c.text(edtFilterSize));
    if (size % 2 == 0 || size < 3) {
      prompts().message("Filter Size Error");
      return;
    }
    state().BatchState = kBatchRun;
    const int32_t mode = smoothing(rbtnBGSmoothing1, rbtnBGSmoothing2);
    ImageStore& bg = bg_image();
    const ImageStore& img = current_image();
    if (bg.NoImageFlag == 1 || bg.image_codes.size() != img.image_codes.size()) return;
    const int32_t stopped = bg_rank_filter(size, StrToInt(c.text(edtFilterStep)), StrToInt(c.text(edtFilterSelect)),
                                           bg.image_codes, img.image_codes, bg.ImageHeight, bg.ImageWidth,
                                           StrToInt(c.text(edtFilterSize2)), mode);
    if (stopped == 1) return;
    recompute_bg_statistics(9999, 9999, 0, 0);
    state().bg_view.scale.DisplayMode = 1;
    bg.LogMax = kMadeLogMax;
    refresh_bg();
  });
}

bool filter_size_ok() { return check_filter_size(controls().text(edtFilterSize), controls().text(edtFilterStep)); }

void subtract_bg_command() {
  if (controls().text(lblBGFileName) == kNoBgFileCaption) {
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
  const double percent = StrToFloat(c.text(edtSourcePlus));
  const double factor = StrToFloat(c.text(edtBGMagni));
  const int32_t mode = smoothing(rbtnSourceSmoothing1, rbtnSourceSmoothing2);
  const int32_t size = StrToInt(c.text(edtSourceSmoothingFilterSize));
  ImageStore& img = current_image();
  double offset = 0;
  subtract_bg(img.image_codes, bg.image_codes, factor, percent, offset, bg.ImageHeight, bg.ImageWidth, size, mode);
  controls().set_text(edtOffset1, FloatToStr(offset));
  recompute_bg_statistics(0, 0, img.LinearSaturation, img.LogSaturation);
  refresh_bg();
}

void save_bg_command() {
  const std::string name = run_result_save_dialog(kBgSaveFilter, "img");
  if (name.empty()) log_line(" save_bg_proc() : cancel ");
  else save_processed_image(name);
}

}  // namespace kestrin
