// The pattern graph's layout as the analysis code needs it: the start size, the scales and
// margins derived from the view ranges, the click-to-data conversion and the peak markers.
#pragma once

#include <cstdint>
#include <optional>

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

// The vertical offset of sector s in the stacked sector graph: Trunc(s ymax / (sectors + 4)).
int32_t sector_graph_offset(int32_t s);

}  // namespace kestrin
