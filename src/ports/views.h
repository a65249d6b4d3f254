// The window ports: what Qt-free code asks of the windows besides their controls, one port
// per window it reaches. The program's windows implement them; the defaults do nothing,
// which is what tests and the harness need. A window that Qt-free code reaches for the
// first time gets its port here.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrin {

// Every window can be shown (and raised).
class WindowPort {
public:
  virtual ~WindowPort() = default;
  virtual void show() {}
};

// TfrmLog.
class LogWindowPort : public WindowPort {};

// TfrmImage.
class ImageWindowPort : public WindowPort {
public:
  // Repaints the image and its overlays.
  virtual void redraw_image() {}
  // The loader's view steps after a successful load: scroll bars, zoom, display range,
  // the caption.
  virtual void image_loaded() {}
  // Rebuilds the image and mask palettes: the grey ramp in the given direction and the mask
  // colour as the display colours hold it now. They show at the next redraw.
  virtual void set_image_palette(bool reverse) { (void)reverse; }
};

// TfrmNaxGraph.
class GraphWindowPort : public WindowPort {
public:
  // Redraws the graph from the current pattern.
  virtual void draw_nax_graph() {}
  // Draws one line on the graph's picture in the given colour (0x00BBGGRR) and leaves the
  // picture's pen colour as it was: peak markers are drawn and erased this way.
  virtual void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) {
    (void)x1, (void)y1, (void)x2, (void)y2, (void)colour;
  }
};

// TfrmPeak.
class PeakWindowPort : public WindowPort {
public:
  // Refills the peak list from the peak table.
  virtual void show_peak_list() {}
};

// TfrmPeakFitting.
class FitWindowPort : public WindowPort {
public:
  // Refills the window's lists from the fit tables.
  virtual void show_fit_results() {}
};

// TfrmBG: the background image's view.
class BgWindowPort : public WindowPort {
public:
  // The view's bitmaps and scroll bars follow the background image's size and the
  // background view state (after a load and when a background is made).
  virtual void bg_image_resized() {}
  // Draws the background levels at the view origin (draw_bg_view at BgScrollX, BgScrollY).
  virtual void redraw_bg_view() {}
  virtual void set_caption(std::string_view caption) { (void)caption; }
};

// TfrmSpot.
class SpotWindowPort : public WindowPort {
public:
  // Refills the spot grid from the spot list.
  virtual void show_spot_list() {}
};

// TfrmCake.
class CakeWindowPort : public WindowPort {
public:
  // Draws the cake picture (cake_state()) on the window's image.
  virtual void draw_cake() {}
};

}  // namespace kestrin
