// The spot window's commands.
#include "commands/spot_commands.h"

#include <algorithm>

#include "analysis/spot_csv.h"
#include "analysis/spot_list.h"
#include "analysis/spot_search.h"
#include "analysis/spot_tables.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/file_commands.h"
#include "commands/osc_ana_commands.h"
#include "commands/spot_analysis_commands.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr double kSelectDistance2 = 9999.0;

// The rectangle of the edits; the area keeps whether it is shown.
SelectedArea area_of_edits() {
  const Controls& c = controls();
  SelectedArea a = state().selected_area;
  a.AreaX0 = StrToInt(c.text(frmSpot::edtX0));
  a.AreaY0 = StrToInt(c.text(frmSpot::edtY0));
  a.AreaX1 = StrToInt(c.text(frmSpot::edtX1));
  a.AreaY1 = StrToInt(c.text(frmSpot::edtY1));
  return a;
}

void show_and_repaint() {
  show_spot_list();
  image_window().redraw_image();
}

}  // namespace

void spot_search_with_settings(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool add) {
  const Controls& c = controls();
  const int32_t s = StrToInt(c.text(frmSpot::edtCenterSize));
  const int32_t b = StrToInt(c.text(frmSpot::edtBGSize));
  const double ratio = StrToFloat(c.text(frmSpot::edtShikii1));
  const double tolerance = StrToFloat(c.text(frmSpot::edtShikii2));
  const int32_t d = StrToInt(c.text(frmSpot::edtSameSpotDistance));
  auto search = add ? &spot_search_add : &spot_search;
  Report report = log_report();
  search(current_image().ImageWidth, s, b, ratio, tolerance, d, x0, y0, x1, y1, report);
}

void show_spot_list() {
  state().spot_grid = spot_list_grid();
  spot_window().show_spot_list();
  spot_window().show();
}

void spot_search_new_command() {
  const ImageStore& img = current_image();
  spot_search_with_settings(0, 0, img.ImageWidth - 1, img.ImageHeight - 1, false);
  show_and_repaint();
}

void spot_search_area_command() {
  if (state().image_tools.MouseMode == kAreaMode) {
    const SelectedArea a = area_of_edits();
    const ImageStore& img = current_image();
    if (a.AreaX0 < 0 || a.AreaY0 < 0 || a.AreaX1 > img.ImageWidth - 1 || a.AreaY1 > img.ImageHeight - 1) return;
    state().selected_area = a;
    spot_search_with_settings(a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1, true);
  }
  show_and_repaint();
}

void area_edit_entered() {
  state().selected_area = area_of_edits();
  image_window().redraw_image();
}

void delete_spots_in_area_command() {
  const SelectedArea& a = state().selected_area;
  delete_spots_in_area(a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1);
  show_and_repaint();
}

void delete_listed_spots_command() {
  const auto [top, bottom] = spot_window().selected_rows();
  if (top - 1 >= 0 && bottom - 1 >= 0) delete_spot_range(top - 1, bottom - 1);
  show_and_repaint();
}

void delete_same_spots_command() {
  delete_same_spots();
  show_and_repaint();
}

void delete_all_spots_command() {
  const ImageStore& img = current_image();
  delete_spots_in_area(0, 0, img.ImageWidth - 1, img.ImageHeight - 1);
  show_and_repaint();
}

void save_spot_list_command() {
  const std::string name = run_result_save_dialog(kSpotListSaveFilter, "csv");
  if (name.empty()) log_line(" save_spot_proc() : cancel ");
  else write_spot_list(name);
}

void load_spot_list_command() {
  if (!prompts().confirm(kDiscardSpotsQuestion)) return;
  const std::string name = run_spot_csv_open_dialog();
  if (name.empty()) return;
  struct ShowAfter {
    ~ShowAfter() { show_spot_list(); }
  } show;
  load_spot_csv(name);
}

void spot_grid_cell_selected(int32_t row) {
  SpotList& list = state().spot_list;
  if (row < 1 || row > list.SpotCount) return;
  list.FocusedSpot = row - 1;
  ImageView& v = state().image_view;
  if (!v.WholeView) {
    const ImageStore& img = current_image();
    auto centred = [](double at, int32_t view, int32_t size) {
      return std::clamp(Trunc(at) - view / 2, 0, std::max(0, size - view));
    };
    v.ScrollLock = true;
    v.ScrollX = centred(list.SpotX[size_t(row - 1)], v.ViewCols, img.ImageWidth);
    v.ScrollY = centred(list.SpotY[size_t(row - 1)], v.ViewRows, img.ImageHeight);
    v.ScrollLock = false;
  }
  image_window().redraw_image();
}

std::optional<int32_t> nearest_spot(double x, double y) {
  const SpotList& list = state().spot_list;
  std::optional<int32_t> best;
  double best_d2 = kSelectDistance2;
  for (int32_t i = 0; i < list.SpotCount; ++i) {
    const double dx = list.SpotX[size_t(i)] - x, dy = list.SpotY[size_t(i)] - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < best_d2) {
      best_d2 = d2;
      best = i;
    }
  }
  return best;
}

void spot_list_select(double x, double y) {
  const std::optional<int32_t> spot = nearest_spot(x, y);
  if (!spot) return;
  spot_window().select_row(*spot + 1);
  state().spot_list.FocusedSpot = *spot;
  image_window().repaint_image_view();
}

}  // namespace kestrin
