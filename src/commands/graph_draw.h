// Drawing the pattern graph on a canvas: the plot area with its frame, ticks, numbered axes
// and title, the curve of the current pattern or the stacked curves of the sectors, the fitted
// peak curves and a mark over each peak. The screen graph and the printed graph run the same
// code with their own style.
#pragma once

#include <cstdint>
#include <functional>

#include "base/colour.h"
#include "platform/classes/canvas.h"

namespace kestrin {

// What tells the printed graph from the screen graph.
struct GraphStyle {
  // GraphWidth, GraphHeight and the font height are multiplied by it while drawing; with a
  // scale other than 1 the graph layout is restored afterwards, so the screen graph's mouse
  // conversions stay valid.
  int32_t scale = 1;
  TColor plot_fill = rgb_to_color(255, 255, 220);
  bool fitted_curves = true;
  // The two y-axis numbers: ymin at (left W, ymin_top H), ymax at (left W, ymax_top H).
  double y_numbers_left = 0.04, ymin_top = 1.01, ymax_top = 0.07;
  // The sectored kinds mark the peaks of every sector's list.
  bool sector_peak_marks = true;
};

// Clips one segment in plot coordinates (y up from the baseline) to 0 <= y <= ymax: an end
// beyond the range moves to where the segment crosses the edge, and a segment wholly beyond it
// runs along the edge. The products are exact before the division.
void clip_graph_segment(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, int32_t ymax);

// The axis routines, for a nominal plot of W x H picture pixels with the graph's current
// scale. Ticks every `step` units, rising `fraction` H from the baseline and hanging from the
// top edge; labels of every step below the plot, alternating between two rows on pixel axes,
// and the axis title; the y ticks (pixel and 2theta patterns only) and the two y numbers.
void draw_x_ticks(kgui::Canvas& canvas, int32_t W, int32_t H, double fraction, int32_t step, double xmax,
                  double xmin);
void draw_x_labels(kgui::Canvas& canvas, int32_t W, int32_t H, int32_t step, double xmax, double xmin);
void draw_y_axis(kgui::Canvas& canvas, int32_t W, int32_t H, double ymax, double ymin,
                 const GraphStyle& style = {});

// The graph of the current pattern on a canvas whose picture is already clear: reads the
// parameters (main window and graph ranges), lays out the graph and draws it in the style.
// `sector_drawn` runs after each sector's curve. 1 without a pattern (nothing drawn), else 0.
int32_t draw_graph_on_canvas(kgui::Canvas& canvas, const GraphStyle& style,
                             const std::function<void()>& sector_drawn = {});

// The graph window's draw: shows the window while WindowShow is 1; with a pattern, clears the
// whole picture white and draws the screen graph. 1 without a pattern (the picture stays).
int32_t draw_nax_graph(kgui::Canvas& canvas, int32_t picture_width, int32_t picture_height,
                       const std::function<void()>& sector_drawn = {});

}  // namespace kestrin
