// The merge image window's commands.
#include "commands/merge_image_commands.h"

#include "base/convert.h"
#include "base/paths.h"
#include "base/program_files.h"
#include "commands/file_list_commands.h"
#include "commands/image_form_commands.h"
#include "commands/main_form_commands.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "ports/names/merge_image_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

void show_edges(const MergeGauge& g) {
  controls().set_text(frmMergeImage::lblLowIndex, Format("%d", {g.low}));
  controls().set_text(frmMergeImage::lblHighIndex, Format("%d", {g.high}));
}

void rebuild_levels() { build_merge_levels(merge_state(), state().display_scale.DisplayMode); }

}  // namespace

void merge_select_files() {
  const std::vector<std::string> chosen = choose_files(frmMergeImage::opdImageFile, kImageListFilter);
  if (chosen.empty()) return;
  std::vector<std::string> lines = file_list(frmMergeImage::memFileName);
  lines.insert(lines.end(), chosen.begin(), chosen.end());
  set_file_list(frmMergeImage::memFileName, lines);
  merge_state().sort_state = -1;
}

void merge_clear_list() { set_file_list(frmMergeImage::memFileName, {}); }

void merge_sort_list() {
  std::vector<std::string> lines = file_list(frmMergeImage::memFileName);
  int32_t& sort_state = merge_state().sort_state;
  const bool descending = sort_state == 0;
  exchange_sort(lines, int(lines.size()) - 1, [descending](const std::string& a, const std::string& b) {
    return descending ? file_name_of(b) < file_name_of(a) : file_name_of(a) < file_name_of(b);
  });
  sort_state = descending ? 1 : 0;
  set_file_list(frmMergeImage::memFileName, lines);
}

void merge_area_key(int key) {
  if (key != kEnterKey) return;
  SelectedArea& a = state().selected_area;
  a.AreaX0 = StrToInt(controls().text(frmMergeImage::edtX0));
  a.AreaX1 = StrToInt(controls().text(frmMergeImage::edtX1));
  a.AreaY0 = StrToInt(controls().text(frmMergeImage::edtY0));
  a.AreaY1 = StrToInt(controls().text(frmMergeImage::edtY1));
  image_window().redraw_image();
}

bool merge_create() {
  const std::vector<std::string> files = file_list(frmMergeImage::memFileName);
  MergeArea area;
  if (!files.empty()) {
    area.left = StrToInt(controls().text(frmMergeImage::edtX0));
    area.top = StrToInt(controls().text(frmMergeImage::edtY0));
    area.right = StrToInt(controls().text(frmMergeImage::edtX1));
    area.bottom = StrToInt(controls().text(frmMergeImage::edtY1));
  }
  Report report = log_report();
  return merge_images(files, area, controls().item_index(frmMergeImage::cmbRotation),
                      state().display_scale.DisplayMode, report);
}

// The display mode is the image window's too, so it changes with or without a picture; the
// gauge takes the scale's range then too, so that the next picture is made with it.
void merge_scale_clicked(bool log) {
  MergeState& m = merge_state();
  state().display_scale.DisplayMode = log ? 0 : 1;
  const int32_t top = log ? m.log_saturation : 1000;
  m.gauge = MergeGauge{0, top, 0, top};
  controls().set_text(frmMergeImage::edtLowEdge, "0");
  controls().set_text(frmMergeImage::edtHighEdge, Format("%d", {top}));
  show_edges(m.gauge);
  if (m.Merged) rebuild_levels();
  show_scale_radios();
}

void merge_low_edge_key(int key) {
  if (key != kEnterKey) return;
  enter_low_edge(merge_state().gauge, StrToInt(controls().text(frmMergeImage::edtLowEdge)));
  show_edges(merge_state().gauge);
  rebuild_levels();
}

void merge_high_edge_key(int key) {
  if (key != kEnterKey) return;
  enter_high_edge(merge_state().gauge, StrToInt(controls().text(frmMergeImage::edtHighEdge)));
  show_edges(merge_state().gauge);
  rebuild_levels();
}

void merge_gauge_down() { merge_state().drag = MergeGaugeDrag{true}; }

bool merge_gauge_move(int32_t x, int32_t width) {
  MergeState& m = merge_state();
  if (!m.drag.held) return false;
  if (!drag_gauge(m.gauge, m.drag, gauge_value(m.gauge, x, width))) return false;
  show_edges(m.gauge);
  return true;
}

bool merge_gauge_up() {
  MergeState& m = merge_state();
  const bool moved = m.drag.held && m.drag.moved;
  m.drag = MergeGaugeDrag{};
  if (moved) rebuild_levels();
  return moved;
}

void merge_magnification(int32_t position) {
  merge_state().magnification = position;
  controls().set_text(frmMergeImage::Label1, Format("%d", {position}) + "%");
}

void merge_save() {
  MergeState& m = merge_state();
  if (!m.Merged) return;
  FileDialogSetup setup;
  setup.overwrite_prompt = true;
  setup.filter = "BITMAP (*.bmp)|*.BMP";
  setup.default_ext = "bmp";
  const FileDialogChoice choice = file_dialogs().run_window_dialog(frmMergeImage::svdMergeImage, setup);
  const std::string name = choice.files.empty() ? std::string() : choice.files.front();
  FileDialogSlots& slots = state().dialog_slots;
  slots.folder[kSlotImageSave] = folder_of(name);
  slots.filter_index[kSlotImageSave] = choice.filter_index;
  if (name.empty()) {
    log_line(" save_merge_img_proc() : cancel ");
    return;
  }
  m.MergeDIB.SaveToFile(name);
}

}  // namespace kestrin
