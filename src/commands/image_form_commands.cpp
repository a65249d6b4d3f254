// The image window's mouse tools, grey-scale controls and buttons.
#include "commands/image_form_commands.h"

#include <algorithm>
#include <cmath>

#include "analysis/pixel_readout.h"
#include "analysis/spot_find.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/image_view_commands.h"
#include "commands/main_form_commands.h"
#include "commands/spot_commands.h"
#include "image/display/display.h"
#include "image/display/gauge.h"
#include "image/display/mask_paint.h"
#include "image/display_levels.h"
#include "image/image_mask.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/image_form_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/merge_image_names.h"
#include "ports/names/spot_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kPaint = 0, kErase = 1;

ImageTools& tools() { return state().image_tools; }

bool has(kgui::TShiftState shift, kgui::TShiftStateElem key) { return (shift & (1u << key)) != 0; }

// The image's levels rebuilt from the display scale, then the image redrawn; nothing while
// no image is loaded.
void rebuild_levels() {
  if (update_display_levels()) image_window().redraw_image();
}

// The image pixel under a paint-box point, when an image is loaded and the point lies on it.
std::optional<ImagePoint> pixel_under(int32_t X, int32_t Y) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) return std::nullopt;
  const ImagePoint p = screen_to_image(state().image_view, X, Y);
  if (!inside_image(p, img.ImageWidth, img.ImageHeight)) return std::nullopt;
  return p;
}

void brush(ImagePoint p, int32_t mode) {
  paint_mask_disc(p.x, p.y, mode, tools().PenSize);
  image_window().redraw_image();
}

// Ctrl-click: the cursor readouts, as they stand, become the beam centre.
void take_cursor_as_centre() {
  if (!prompts().confirm("Input current cursor position to CenterX, CenterY ?")) return;
  controls().set_text(frmMain::edtCenterX0, controls().text(frmImage::edtCursorX));
  controls().set_text(frmMain::edtCenterY0, controls().text(frmImage::edtCursorY));
  read_parameters(current_image().ImageHeight);
  image_window().redraw_image();
}

void left_press(kgui::TShiftState shift, ImagePoint p) {
  if (has(shift, kgui::ssShift)) {
    Report report = log_report();
    return pixel_information(p.x, p.y, report);
  }
  if (has(shift, kgui::ssAlt)) {
    spot_list_select(p.x, p.y);
    return image_window().repaint_image_view();
  }
  if (has(shift, kgui::ssCtrl)) return take_cursor_as_centre();
  ImageTools& t = tools();
  t.left_held = true;
  if (t.MouseMode == kAreaMode) {
    t.area_x = p.x, t.area_y = p.y;
    state().selected_area.AreaX0 = p.x;
    state().selected_area.AreaY0 = p.y;
  } else if (t.MouseMode == kMaskMode) {
    brush(p, kPaint);
  }
}

void right_press(int32_t X, int32_t Y, ImagePoint p) {
  ImageTools& t = tools();
  t.right_held = true;
  if (t.MouseMode == kAreaMode) {
    const ImageView& v = state().image_view;
    t.pan_x = X, t.pan_y = Y, t.pan_scroll_x = v.ScrollX, t.pan_scroll_y = v.ScrollY;
  } else if (t.MouseMode == kMaskMode) {
    brush(p, kErase);
  }
}

// The area from the press point to the cursor, corners in order; the spot and merge
// windows' rectangle edits show it.
void drag_area(ImagePoint p) {
  const ImageTools& t = tools();
  SelectedArea& a = state().selected_area;
  a.AreaX0 = std::min(t.area_x, p.x), a.AreaX1 = std::max(t.area_x, p.x);
  a.AreaY0 = std::min(t.area_y, p.y), a.AreaY1 = std::max(t.area_y, p.y);
  const int32_t values[] = {a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1};
  const ControlName spot[] = {frmSpot::edtX0, frmSpot::edtY0, frmSpot::edtX1, frmSpot::edtY1};
  const ControlName merge[] = {frmMergeImage::edtX0, frmMergeImage::edtY0, frmMergeImage::edtX1, frmMergeImage::edtY1};
  for (size_t i = 0; i < 4; ++i) {
    controls().set_text(spot[i], Format("%d", {values[i]}));
    controls().set_text(merge[i], Format("%d", {values[i]}));
  }
  image_window().repaint_image_view();
}

// The view follows the cursor from the press: the image moves with the mouse.
void pan(int32_t X, int32_t Y) {
  const ImageTools& t = tools();
  ImageView& v = state().image_view;
  const ImageStore& img = current_image();
  const int32_t x = limit_scroll(double(v.ViewCols) * (t.pan_x - X) / v.ViewWidth + t.pan_scroll_x, img.ImageWidth, v.ViewCols);
  const int32_t y = limit_scroll(double(v.ViewRows) * (t.pan_y - Y) / v.ViewHeight + t.pan_scroll_y, img.ImageHeight, v.ViewRows);
  v.ScrollX = x, v.ScrollY = y;
  {
    ViewLock lock;
    image_window().set_scroll_positions(x, y);
  }
  image_window().redraw_image();
  controls().set_text(frmImage::edtCursorX, "CX=" + Format("%d", {saturate_int32(std::nearbyint(x + v.ViewCols / 2.0))}));
  controls().set_text(frmImage::edtCursorY, "CY=" + Format("%d", {saturate_int32(std::nearbyint(y + v.ViewRows / 2.0))}));
}

void redraw_gauge_and_levels() {
  image_window().draw_gradation_gauge();
  rebuild_levels();
}

}  // namespace

int32_t pen_size_of_entry(int entry) { return entry >= 0 && entry <= 7 ? int32_t(2) << entry : 0; }

void image_mouse_down(kgui::TMouseButton button, kgui::TShiftState shift, int32_t X, int32_t Y) {
  const std::optional<ImagePoint> p = pixel_under(X, Y);
  if (!p) return;
  switch (button) {
    case kgui::mbLeft: left_press(shift, *p); break;
    case kgui::mbRight: right_press(X, Y, *p); break;
    case kgui::mbMiddle: toggle_whole_view(p->x, p->y); break;
  }
}

void show_pixel_readouts(int32_t x, int32_t y) {
  const PixelReadout r = pixel_readout(x, y);
  controls().set_text(frmImage::edtCursorX, r.x);
  controls().set_text(frmImage::edtCursorY, r.y);
  controls().set_text(frmImage::edtIntensity, r.intensity);
  if (r.distance) controls().set_text(frmImage::edtDistance, *r.distance);
  if (r.angle) controls().set_text(frmImage::edtAngle, *r.angle);
}

void image_mouse_move(int32_t X, int32_t Y) {
  const std::optional<ImagePoint> p = pixel_under(X, Y);
  if (!p) return;
  show_pixel_readouts(p->x, p->y);
  const ImageTools& t = tools();
  if (t.MouseMode == kMaskMode) {
    if (t.left_held)
      brush(*p, kPaint);
    else if (t.right_held)
      brush(*p, kErase);
  }
  if (t.MouseMode == kAreaMode && t.left_held) drag_area(*p);
  if (t.MouseMode == kAreaMode && t.right_held) pan(X, Y);
}

void image_mouse_up(kgui::TMouseButton button) {
  if (button == kgui::mbLeft) tools().left_held = false;
  if (button == kgui::mbRight) tools().right_held = false;
}

void pen_size_chosen() {
  const int32_t size = pen_size_of_entry(controls().item_index(frmImage::cmbPenSize));
  if (size > 0) tools().PenSize = size;
}

void mouse_mode_clicked(int32_t mode) { tools().MouseMode = mode; }

void omit_green_clicked() { state().OmitGreen = controls().checked(frmImage::chkOmitGreen); }

void omit_blue_clicked() {
  state().OmitBlue = controls().checked(frmImage::chkOmitBlue);
  image_window().draw_gradation_gauge();
  image_window().redraw_image();
}

void scale_radio_clicked() {
  DisplayScale& d = state().display_scale;
  const ImageStore& img = current_image();
  if (controls().checked(frmImage::rbtnLogScale))
    set_log_scale(d, img.LogSaturation);
  else if (controls().checked(frmImage::rbtnLinearScale))
    set_linear_scale(d, img.LinearMax);
  else
    return;
  show_display_edges();
  redraw_gauge_and_levels();
  show_scale_radios();
}

void show_scale_radios() {
  const int32_t mode = state().display_scale.DisplayMode;
  if (mode != 0 && mode != 1) return;
  const bool log = mode == 0;
  controls().set_checked(log ? frmImage::rbtnLogScale : frmImage::rbtnLinearScale, true);
  controls().set_checked(log ? frmMergeImage::rbtnLogScale : frmMergeImage::rbtnLinearScale, true);
}

void edge_edit_key(ControlName edit, int key) {
  if (key != kEnterKey) return;
  const std::optional<int32_t> v = TryStrToInt(controls().text(edit));
  if (!v) return;
  if (edit == frmImage::edtHighEdge)
    set_gauge_high(state().display_scale, *v);
  else if (edit == frmImage::edtLowEdge)
    set_gauge_low(state().display_scale, *v);
  else
    return;
  // The labels show the edges, which a new range may have moved.
  const DisplayScale& d = state().display_scale;
  controls().set_text(frmImage::lblHighIndex, Format("%d", {d.HighEdge}));
  controls().set_text(frmImage::lblLowIndex, Format("%d", {d.LowEdge}));
  redraw_gauge_and_levels();
}

void gauge_mouse_down() { tools().gauge.held = true; }

void gauge_mouse_move(int32_t X, int32_t width) {
  GaugeDrag& g = tools().gauge;
  DisplayScale& d = state().display_scale;
  const int32_t v = gauge_value(d, X, width, GaugeRounding::kRound);
  if (!drag_gauge_edge(g, d, v)) return;
  controls().set_text(g.high ? frmImage::lblHighIndex : frmImage::lblLowIndex, Format("%d", {v}));
  image_window().draw_gradation_gauge();
}

void gauge_mouse_up() {
  GaugeDrag& g = tools().gauge;
  const bool moved = g.high || g.low;
  g = GaugeDrag{};
  if (moved) rebuild_levels();
}

void show_display_edges() {
  const DisplayScale& d = state().display_scale;
  for (const ControlName& name : {frmImage::edtLowEdge, frmImage::lblLowIndex}) controls().set_text(name, Format("%d", {d.LowEdge}));
  for (const ControlName& name : {frmImage::edtHighEdge, frmImage::lblHighIndex}) controls().set_text(name, Format("%d", {d.HighEdge}));
}

void clear_mask_command() {
  if (current_image().NoImageFlag != 1) state().macro.record("Kestrin.ClearMask();");
  clear_mask();
  image_window().redraw_image();
}

int32_t find_spot_command() {
  state().macro.record("Kestrin.FindSpot();");
  Report report = log_report();
  if (!announce_find_spot(report)) return 1;
  read_parameters(current_image().ImageHeight);
  const int32_t found = find_spot(report);
  if (found == 0) image_window().redraw_image();
  return found;
}

}  // namespace kestrin
