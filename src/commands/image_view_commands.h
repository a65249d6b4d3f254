// The image window's view without its widgets: the zoom with its combo box and label, the
// scroll bars, centring the view on a pixel, the middle-click toggle between the whole image
// and the last zoom, the thumbnail jump, the view size from the window-setting edits, the
// layout after a resize and the loader's view steps.
#pragma once

#include <cstdint>

namespace kestrin {

// Sets ScrollLock (and RedrawLock) for its lifetime and gives back the values they had:
// while it is set, the scroll bars' change handler and the zoom do not redraw.
class ViewLock {
public:
  explicit ViewLock(bool redraw_too = false);
  ~ViewLock();
  ViewLock(const ViewLock&) = delete;
  ViewLock& operator=(const ViewLock&) = delete;
  // Gives RedrawLock back early (the zoom is done, the redraw follows).
  void release_redraw();

private:
  bool scroll_was_, redraw_was_, redraw_taken_;
};

// The window's zoom: the display engine's zoom (0 fits the whole image), the scroll bars'
// ranges (at 0 for a fit), the view redrawn unless RedrawLock, edtMagni "%4.2f" and the
// combo's entry for whole view or 1, 2, 4, 8. Refused (false, nothing changed) for a fit
// without an image and for a zoom that leaves less than one image pixel in the view.
bool apply_image_zoom(double zoom);

// A scroll origin as the view's handlers limit it: Round(wanted), at most image size minus
// the view's span, then at least 0.
int32_t limit_scroll(double wanted, int32_t image_size, int32_t span);

// Centres the view on image point (x, y) (limited as above) and moves the bars there; the
// caller holds ScrollLock and redraws.
void centre_view_on(double x, double y);

// cmbMagniChange: entry 0 fits the whole image, entries 1..4 zoom 1, 2, 4, 8; the view keeps
// its centre. Choosing the zoom shown (or whole view again) changes nothing.
void magnification_chosen();
// edtMagniKeyDown: Enter zooms to the typed factor; one below the factor that fits the
// whole image shows that factor and the whole view. Not a number: nothing.
void magnification_key(int key);

// scrDispXChange, scrDispYChange: unless ScrollLock, the view scrolls to the bars'
// positions, is redrawn, and the moved bar's readout shows "LT=" or "TP=" and the origin.
void scroll_bar_changed(bool horizontal, int32_t x_position, int32_t y_position);

// A middle click on image pixel (x, y): the whole image when zoomed; else back to the zoom
// before, centred on (x, y). Nothing unless edtMagni holds a number.
void toggle_whole_view(int32_t x, int32_t y);

// A click at (X, Y) on the square thumbnail of `size` pixels centres the view on that
// image pixel; nothing outside the image.
void thumbnail_clicked(int32_t X, int32_t Y, int32_t size);

// The window-setting edits: on Enter, the view takes the width and height and is centred
// on the centre edits; any edit that is not an integer, or a size outside 1..kMaxViewSide,
// is refused with a line in the log.
constexpr int32_t kMaxViewSide = 4096;
void window_size_key(int key);
void set_image_view_size(int32_t width, int32_t height, int32_t cx, int32_t cy);

// The image window's smallest outer size: a view of 200 x 200 beside the whole button panel.
constexpr int32_t kImageFormMinWidth = 624, kImageFormMinHeight = 538;
// Whether a resize of the window to this outer size lays the view out again (when the
// resizes stop): not while the layout itself resizes, only at the smallest size or above
// (the window holds no smaller one) and with an image.
bool layout_wanted(int32_t form_width, int32_t form_height);
// The layout's view steps after the part view took `width` x `height` pixels: the view
// follows, a whole view fits the image again (keeping the zoom before it), else the zoom
// is applied again.
void view_resized(int32_t width, int32_t height);

// The loader's view steps (ImageWindowPort::image_loaded): scroll bars at 0 with their
// ranges, cmbMagni at 100% and edtMagni "1.0", the caption with the file name, the gauge,
// and the redraw.
void show_loaded_image_view();

}  // namespace kestrin
