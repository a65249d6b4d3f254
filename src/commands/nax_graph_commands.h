// What the pattern graph window does without its widgets: the graph's layout (start size,
// the scales and margins derived from the view ranges, clicks turned into data positions),
// the peak markers, the window's own layout on resize, its edits and buttons, and the mouse:
// adding and deleting peaks, the readout and the zoom by a middle-button drag.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/peak_edit.h"
#include "base/colour.h"

namespace kestrin {

constexpr TColor kMarkerColour = rgb_to_color(0, 0, 255);
constexpr TColor kEraserColour = rgb_to_color(255, 255, 220);

// The graph image starts at 500 by 400 pixels (derived margins follow).
void init_graph_size();
// GraphWidth and GraphHeight for a picture of that size: Trunc((size - 50) 0.9) each.
void set_graph_size_for_picture(int32_t picture_width, int32_t picture_height);

// What a draw derives before drawing: the fallbacks of the view ranges (written back into
// integration_params), the active ranges of the current pattern kind, margins and scales.
void update_graph_layout();

// The data position of a click at picture column click_x: range start + (click_x - 0.1 W) / sx
// (pixels or degrees by pattern kind); nothing while the scale is not set.
std::optional<double> click_to_data(int32_t click_x);

// A line on the graph picture.
struct GraphLine {
  int32_t x1, y1, x2, y2;
};
// The mark of a peak at (position, intensity + offset): a 10-pixel vertical line 2 pixels
// above the point; nothing when the point lies outside the plot area.
std::optional<GraphLine> peak_marker_line(double position, double intensity, int32_t offset);
// The marker drawn on the graph window's picture in colour.
void draw_peak_marker(double position, double intensity, int32_t offset, TColor colour);
// The markers of an edit's peaks, each sector's stacked at its offset.
void mark_peaks(const PeakEdit& edit, TColor colour);

// The sectors the graph stacks: those of the last sectored result the sector store holds
// (not the division angle's count, which the user may have changed since).
int32_t graph_sector_count();
// The vertical offset of sector s in the stacked sector graph: Trunc(s ymax / (sectors + 4)).
int32_t sector_graph_offset(int32_t s);

// Left-button release at picture column click_x: adds at most one peak (one per sector)
// and marks it; after an edit of the sector lists the graph is redrawn.
void add_peak_proc(int32_t click_x);
// Right-button release at click_x: deletes at most one peak (one per sector) and erases
// its marker.
void delete_peak_at_click(int32_t click_x);

// The peak search as the "Peak Search" buttons and the script run it: records
// "Kestrin.PeakSearch();", searches with its lines in the log and shows what it found.
// Returns peak_search's status.
int32_t peak_search_and_show();
// What follows a peak search that gave `status`: its macro line, then after a search of
// the current pattern the peak list and the graph shown, after one of the sectors the graph.
void peak_search_done(int32_t status);

// ---- The window ----

// The window's layout for an outer size: the button panel's top, the range panel's size and
// the picture's size. Nothing unless the window is wider than 300 and higher than 337.
struct GraphWindowLayout {
  int32_t buttons_top, base_width, base_height, picture_width, picture_height;
};
std::optional<GraphWindowLayout> graph_window_layout(int32_t form_width, int32_t form_height,
                                                     int32_t buttons_height);

// "Default Region": the range edits for the current pattern kind, then a draw.
void default_region_command();
// A key in one of the six range edits: Enter draws (the draw reads the edits).
void graph_range_edit_key(int key);
// A key in the SAMEPEAK edit: Enter takes its text as SamePeakTolerance.
void same_peak_edit_key(int key);

// The mouse on the picture, in picture coordinates. Nothing happens without a pattern.
enum class GraphButton { kLeft, kRight, kMiddle };
// A middle press starts a zoom drag at the point.
void graph_mouse_down(GraphButton button, int32_t x, int32_t y);
// A move (x below 0 counts as 0, y held to 0..GraphHeight) updates the drag's rectangle and
// the readout lblCurValue.
void graph_mouse_move(int32_t x, int32_t y);
// A left release adds a peak at x, a right release deletes one; a middle release that ends a
// drag zooms to its rectangle and draws.
void graph_mouse_up(GraphButton button, int32_t x, int32_t y);
// The readout for a picture point: the position and the intensity under it by the ranges and
// scales of the last draw; empty without a pattern or before the first draw.
std::string graph_readout(int32_t x, int32_t y);
// The rubber band of a drag: its press point and current corner; nothing when not dragging.
struct RubberBand {
  int32_t x1, y1, x2, y2;
};
std::optional<RubberBand> graph_rubber_band();

}  // namespace kestrin
