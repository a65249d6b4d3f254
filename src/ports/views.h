// The window ports: what Qt-free code asks of the windows besides their controls, one port
// per window it reaches. The program's windows implement them; the defaults do nothing,
// which is what tests and the harness need. A window that Qt-free code reaches for the
// first time gets its port here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
  // Renders the part view from the display levels and the mask, draws the overlays over it
  // and redraws the thumbnail.
  virtual void redraw_image() {}
  // Shows the last rendered part view again with fresh overlays (only the overlays changed).
  virtual void repaint_image_view() {}
  // The loader's view steps after a successful load: scroll bars, zoom, display range,
  // the caption.
  virtual void image_loaded() {}
  // Rebuilds the image and mask palettes: the grey ramp in the given direction and the mask
  // colour as the display colours hold it now. They show at the next redraw.
  virtual void set_image_palette(bool reverse) { (void)reverse; }
  // The scroll bars' positions, and their maxima and page steps. Setting a bar runs its
  // change handler: callers hold ScrollLock while they move the bars themselves.
  virtual void set_scroll_positions(int32_t x, int32_t y) { (void)x, (void)y; }
  virtual void set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y) {
    (void)max_x, (void)max_y, (void)large_x, (void)large_y;
  }
  // Redraws the gradation gauge from the display scale.
  virtual void draw_gradation_gauge() {}
  // Sizes the part view to width x height screen pixels and the window around it.
  virtual void set_view_size(int32_t width, int32_t height) { (void)width, (void)height; }
  virtual void set_caption(const std::string& caption) { (void)caption; }
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
  // Refills the fit grid from the fit tables (the window's ShowFitResults).
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
  // Refills the spot grid from state().spot_grid.
  virtual void show_spot_list() {}
  // Selects grid row `row` (columns 0 to 3) and scrolls it to the top, without running the
  // grid's select-cell handler.
  virtual void select_row(int32_t row) { (void)row; }
  // The grid's selected rows (Top, Bottom); (-1, -1) without a grid.
  virtual std::pair<int32_t, int32_t> selected_rows() const { return {-1, -1}; }
};

// TfrmSpotAnalyze.
class SpotAnalysisWindowPort : public WindowPort {
public:
  // Refills the grid from state().spot_analysis_grid.
  virtual void show_grid() {}
  // Writes one cell of the grid (the table is changed first); repaints it.
  virtual void grid_cell_changed(int32_t column, int32_t row) { (void)column, (void)row; }
  // Enables or disables the run buttons.
  virtual void enable_runs(bool on) { (void)on; }
  // Moves the shown graph, peak list and fit list off the window, so that a step's
  // results leave its Next, Retry and Abort buttons in view.
  virtual void uncover() {}
};

// TfrmOscAna.
class OscWindowPort : public WindowPort {
public:
  // Refills the reference grid from state().reference_grid.
  virtual void show_spot_reference() {}
};

// TfrmCake.
class CakeWindowPort : public WindowPort {
public:
  // Draws the cake picture (cake_state()) on the window's image.
  virtual void draw_cake() {}
};

// The texts of a string grid, row by row, row 0 being the headings.
using GridTexts = std::vector<std::vector<std::string>>;

// TfrmMask: the ring grid and the hidden crystal part.
class MaskWindowPort : public WindowPort {
public:
  // Clears every cell of the ring grid and writes `rows` from the top.
  virtual void show_ring_grid(const GridTexts& rows) { (void)rows; }
  // Every cell of the ring grid as it stands, the user's edits included.
  virtual GridTexts ring_grid() const { return {}; }
  // The crystal names as the material list's items.
  virtual void show_materials(const std::vector<std::string>& names) { (void)names; }
  // Clears every cell of the Miller-index grid and writes `rows` from the top.
  virtual void show_miller_grid(const GridTexts& rows) { (void)rows; }
};

}  // namespace kestrin
