// The gradation gauge of a grey-scale window: the ramp of display levels between the low and
// high edges, the rules of its two range edits and its scale radios, and the dragging of
// its edges. The image window rounds its gauge positions; other windows truncate them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/view_state.h"

namespace kestrin {

enum class GaugeRounding { kRound, kTrunc };

// The gauge columns of the two edges.
struct GaugeMarks {
  int32_t low = 0, high = 0;  // pL and pH
};

// The edge columns of a gauge `width` pixels wide: pL = W (LowEdge - GaugeLow) / (GaugeHigh -
// GaugeLow) and pH likewise, rounded or truncated. Nothing when the scale is not a valid
// window (GaugeHigh = GaugeLow, negative values, edges outside the range or not rising) or
// the ramp would have fewer than two columns.
std::optional<GaugeMarks> gauge_marks(const DisplayScale& scale, int32_t width, GaugeRounding rounding);

// One row of the gauge (every row is the same): 0 left of pL, the ramp 0..255 from pL to
// pH - 1, 255 from pH on. Returns the marks, or nothing (row untouched) as gauge_marks.
std::optional<GaugeMarks> gauge_row(const DisplayScale& scale, int32_t width, GaugeRounding rounding,
                                    std::vector<uint8_t>& row);

// The high range edit: v above GaugeLow becomes GaugeHigh; then HighEdge is lowered to
// GaugeHigh when above it, and LowEdge falls back to GaugeLow when it reached GaugeHigh.
void set_gauge_high(DisplayScale& scale, int32_t v);
// The low range edit: v below GaugeHigh becomes GaugeLow; then LowEdge is raised to
// GaugeLow when below it, and HighEdge moves to LowEdge + 1 when at or below GaugeLow.
void set_gauge_low(DisplayScale& scale, int32_t v);

// The scale radios: log mode shows 0 .. the log saturation value; linear mode 0 .. the
// bound chosen by the image maximum (linear_display_bound). The edges take the range.
void set_log_scale(DisplayScale& scale, int32_t log_saturation);
void set_linear_scale(DisplayScale& scale, int32_t linear_max);

// The value under gauge column X: (GaugeHigh - GaugeLow) X / width + GaugeLow.
int32_t gauge_value(const DisplayScale& scale, int32_t X, int32_t width, GaugeRounding rounding);

// One move of a held drag to value v. The first move chooses the nearer edge (a tie goes to
// the high edge); the high edge takes v only when LowEdge < v <= GaugeHigh and v > GaugeLow,
// the low edge only when GaugeLow <= v < HighEdge and v < GaugeHigh. Returns true when an
// edge moved. Nothing while the button is not held.
bool drag_gauge_edge(GaugeDrag& drag, DisplayScale& scale, int32_t v);

}  // namespace kestrin
