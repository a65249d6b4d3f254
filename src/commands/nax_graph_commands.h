// What the pattern graph window does without its widgets: the graph's layout (start size,
// the scales and margins derived from the view ranges, clicks turned into data positions),
// the peak markers, and the mouse commands that add and delete peaks.
#pragma once

#include <cstdint>
#include <optional>

#include "analysis/peak_edit.h"
#include "base/colour.h"

namespace kestrin {

constexpr TColor kMarkerColour = rgb_to_color(0, 0, 255);
constexpr TColor kEraserColour = rgb_to_color(255, 255, 220);

// The graph image starts at 500 by 400 pixels (derived margins follow).
void init_graph_size();

// What a draw derives before drawing: the fallbacks of the view ranges (written back into
// integration_params), the active ranges of the current pattern kind, margins and scales.
void update_graph_layout();

// The data position of a click at picture column click_x: range start + (click_x - 0.1 W) / sx
// (pixels or degrees by pattern kind); nothing while the scale is not set.
std::optional<double> click_to_data(int32_t click_x);

// A peak marker at (position, intensity + offset): a 10-pixel vertical line 2 pixels above
// the point, drawn in colour when the point lies in the plot area.
void draw_peak_marker(double position, double intensity, int32_t offset, TColor colour);
// The markers of an edit's peaks, each sector's stacked at its offset.
void mark_peaks(const PeakEdit& edit, TColor colour);

// The vertical offset of sector s in the stacked sector graph: Trunc(s ymax / (sectors + 4)).
int32_t sector_graph_offset(int32_t s);

// Left-button release at picture column click_x: adds at most one peak (one per sector)
// and marks it; after an edit of the sector lists the graph is redrawn.
void add_peak_proc(int32_t click_x);
// Right-button release at click_x: deletes at most one peak (one per sector) and erases
// its marker.
void delete_peak_at_click(int32_t click_x);

}  // namespace kestrin
