// The image window's zoom, scrolling, view size and load steps.
#include "commands/image_view_commands.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/image_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

ImageView& view() { return state().image_view; }

bool has_image() {
  const ImageStore& img = current_image();
  return img.NoImageFlag == 0 && img.ImageWidth > 0 && img.ImageHeight > 0;
}

// A zoom that leaves at least one image pixel across the view each way.
bool zoom_fits_view(double z) {
  const ImageView& v = view();
  return z > 0.0 && std::isfinite(z) && std::nearbyint(v.ViewWidth / z) >= 1.0 && std::nearbyint(v.ViewHeight / z) >= 1.0;
}

// The zoom that fits the whole image (the larger ratio decides, a tie takes the width).
double fit_zoom() {
  const ImageView& v = view();
  const double w = current_image().ImageWidth, h = current_image().ImageHeight;
  return h / v.ViewHeight <= w / v.ViewWidth ? v.ViewWidth / w : v.ViewHeight / h;
}

// Set while the window's own steps resize it, so the resize handler leaves the layout alone.
struct BusyLayout {
  BusyLayout() { view().LayoutBusy = true; }
  ~BusyLayout() { view().LayoutBusy = false; }
};

}  // namespace

ViewLock::ViewLock(bool redraw_too)
    : scroll_was_(view().ScrollLock), redraw_was_(view().RedrawLock), redraw_taken_(redraw_too) {
  view().ScrollLock = true;
  if (redraw_too) view().RedrawLock = true;
}

ViewLock::~ViewLock() {
  view().ScrollLock = scroll_was_;
  if (redraw_taken_) view().RedrawLock = redraw_was_;
}

void ViewLock::release_redraw() {
  if (!redraw_taken_) return;
  view().RedrawLock = redraw_was_;
  redraw_taken_ = false;
}

bool apply_image_zoom(double z) {
  const ImageStore& img = current_image();
  if (z == 0.0 ? !has_image() : !zoom_fits_view(z)) return false;
  ImageView& v = view();
  const ZoomResult r = set_image_zoom(v, z, img.ImageWidth, img.ImageHeight);
  image_window().set_scroll_ranges(r.scroll_max_x, r.scroll_max_y, r.large_change_x, r.large_change_y);
  if (r.reset_scroll) {
    ViewLock lock;
    image_window().set_scroll_positions(0, 0);
  }
  if (!v.RedrawLock) image_window().redraw_image();
  controls().set_text(frmImage::edtMagni, Format("%4.2f", {v.Zoom}));
  if (r.combo_index >= 0) controls().set_item_index(frmImage::cmbMagni, r.combo_index);
  return true;
}

int32_t limit_scroll(double wanted, int32_t image_size, int32_t span) {
  const int32_t limited = std::min(saturate_int32(std::nearbyint(wanted)), image_size - span);
  return std::max(limited, 0);
}

void centre_view_on(double x, double y) {
  ImageView& v = view();
  const ImageStore& img = current_image();
  v.ScrollX = limit_scroll(x - v.ViewCols / 2.0, img.ImageWidth, v.ViewCols);
  v.ScrollY = limit_scroll(y - v.ViewRows / 2.0, img.ImageHeight, v.ViewRows);
  image_window().set_scroll_positions(v.ScrollX, v.ScrollY);
}

void magnification_chosen() {
  ImageView& v = view();
  const int index = controls().item_index(frmImage::cmbMagni);
  if (index < 0 || index > 4) return;
  const double z = index == 0 ? 0.0 : std::ldexp(1.0, index - 1);
  if (index == 0 ? v.WholeView : z == v.Zoom) return;
  const double cx = std::nearbyint(v.ScrollX + v.ViewCols / 2.0), cy = std::nearbyint(v.ScrollY + v.ViewRows / 2.0);
  ViewLock lock(true);
  if (!apply_image_zoom(z)) return;
  lock.release_redraw();
  centre_view_on(cx, cy);
  image_window().redraw_image();
}

void magnification_key(int key) {
  if (key != kEnterKey) return;
  const std::optional<double> z = TryStrToFloat(controls().text(frmImage::edtMagni));
  if (!z) return;
  if (has_image() && *z < fit_zoom()) {
    controls().set_text(frmImage::edtMagni, Format("%4.2f", {fit_zoom()}));
    controls().set_item_index(frmImage::cmbMagni, 0);
    magnification_chosen();
    return;
  }
  apply_image_zoom(*z);
}

void scroll_bar_changed(bool horizontal, int32_t x_position, int32_t y_position) {
  ImageView& v = view();
  if (v.ScrollLock) return;
  v.ScrollX = x_position;
  v.ScrollY = y_position;
  image_window().redraw_image();
  if (horizontal)
    controls().set_text(frmImage::edtCursorX, "LT=" + Format("%d", {v.ScrollX}));
  else
    controls().set_text(frmImage::edtCursorY, "TP=" + Format("%d", {v.ScrollY}));
}

void toggle_whole_view(int32_t x, int32_t y) {
  if (!TryStrToFloat(controls().text(frmImage::edtMagni))) return;
  ImageView& v = view();
  ViewLock lock(true);
  if (!v.WholeView) {
    if (!apply_image_zoom(0.0)) return;
    lock.release_redraw();
    v.ScrollX = v.ScrollY = 0;
    image_window().set_scroll_positions(0, 0);
  } else {
    if (!apply_image_zoom(v.PreviousZoom)) return;
    lock.release_redraw();
    centre_view_on(x, y);
  }
  image_window().redraw_image();
}

void thumbnail_clicked(int32_t X, int32_t Y, int32_t size) {
  const ImageStore& img = current_image();
  if (!has_image() || size <= 0) return;
  const double k = std::max(img.ImageWidth, img.ImageHeight);
  const ImagePoint p{saturate_int32(std::nearbyint(X * k / size)), saturate_int32(std::nearbyint(Y * k / size))};
  if (!inside_image(p, img.ImageWidth, img.ImageHeight)) return;
  ViewLock lock;
  centre_view_on(p.x, p.y);
  image_window().redraw_image();
}

void window_size_key(int key) {
  if (key != kEnterKey) return;
  const auto w = TryStrToInt(controls().text(frmImage::edtImageWindowWidth));
  const auto h = TryStrToInt(controls().text(frmImage::edtImageWindowHeight));
  const auto cx = TryStrToInt(controls().text(frmImage::edtImageWindowCX));
  const auto cy = TryStrToInt(controls().text(frmImage::edtImageWindowCY));
  if (!w || !h || !cx || !cy) {
    log_line(" ImageWindowSetting : Width, Height, CX and CY must be integers.");
    return;
  }
  if (*w < 1 || *h < 1 || *w > kMaxViewSide || *h > kMaxViewSide) {
    log_line(Format(" ImageWindowSetting : The view size %d x %d is refused: width and height must be 1 to %d.",
                    {*w, *h, kMaxViewSide}));
    return;
  }
  set_image_view_size(*w, *h, *cx, *cy);
}

void set_image_view_size(int32_t width, int32_t height, int32_t cx, int32_t cy) {
  ImageView& v = view();
  const BusyLayout busy;
  image_window().set_view_size(width, height);
  v.ViewWidth = width;
  v.ViewHeight = height;
  update_view_extent(v, current_image().ImageWidth, current_image().ImageHeight);
  {
    ViewLock lock(true);
    apply_image_zoom(v.Zoom);
    v.ScrollX = limit_scroll(cx - v.ViewCols / 2.0, current_image().ImageWidth, v.ViewCols);
    v.ScrollY = limit_scroll(cy - v.ViewRows / 2.0, current_image().ImageHeight, v.ViewRows);
    image_window().set_scroll_positions(v.ScrollX, v.ScrollY);
  }
  image_window().redraw_image();
}

bool layout_wanted(int32_t form_width, int32_t form_height) {
  return !view().LayoutBusy && form_width >= kImageFormMinWidth && form_height >= kImageFormMinHeight && has_image();
}

void view_resized(int32_t width, int32_t height) {
  ImageView& v = view();
  v.ViewWidth = std::max(width, 1);
  v.ViewHeight = std::max(height, 1);
  update_view_extent(v, current_image().ImageWidth, current_image().ImageHeight);
  if (v.WholeView) {
    const double before = v.PreviousZoom;
    apply_image_zoom(0.0);
    v.PreviousZoom = before;
  } else {
    apply_image_zoom(v.Zoom);
  }
}

void show_loaded_image_view() {
  ImageView& v = view();
  const ImageStore& img = current_image();
  {
    const BusyLayout busy;
    ViewLock lock;
    image_window().set_scroll_ranges(img.ImageWidth < v.ViewCols ? 0 : img.ImageWidth - v.ViewCols,
                                     img.ImageHeight < v.ViewRows ? 0 : img.ImageHeight - v.ViewRows, v.ViewCols,
                                     v.ViewRows);
    image_window().set_scroll_positions(0, 0);
    controls().set_item_index(frmImage::cmbMagni, 1);
    controls().set_text(frmImage::edtMagni, "1.0");
  }
  image_window().set_caption("KES for Windows (Image) " + img.ImageFileName);
  image_window().draw_gradation_gauge();
  image_window().redraw_image();
}

}  // namespace kestrin
