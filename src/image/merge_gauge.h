// The merge window's grey-level gauge: its range and its low and high edges, the rules by
// which its edits and a drag move them, and the gauge's picture. Values map to columns by
// truncation, with rules of the merge window's own (the image window's gauge rounds).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrin {

struct MergeGauge {
  int32_t min = 0, max = 1000;    // the range the gauge spans
  int32_t low = 0, high = 1000;   // the values shown as level 0 and level 255
};

// Enter in the low edge's edit with value v: when v < max, min := v; then low := min when it
// was below it; then high := low + 1 when it was at or below min.
void enter_low_edge(MergeGauge& g, int32_t v);
// Enter in the high edge's edit with value v: when v > min, max := v; then high := max when
// it was above it; then low := min when it was at or above max.
void enter_high_edge(MergeGauge& g, int32_t v);

// A drag across the gauge, from the press to the release.
struct MergeGaugeDrag {
  bool held = false;
  bool chosen = false;  // the first move chose an edge
  bool high = false;    // the high edge was chosen, else the low one
  bool moved = false;   // an edge took a value
};

// The value under gauge column x: Trunc((max - min) x / width + min).
int32_t gauge_value(const MergeGauge& g, int32_t x, int32_t width);
// One move of a held drag to value v. The first move chooses the high edge when
// |v - low| >= |v - high|, else the low edge. The high edge takes v only when
// low < v <= max and v > min; the low edge only when min <= v < high and v < max. True when
// the edge took v.
bool drag_gauge(MergeGauge& g, MergeGaugeDrag& drag, int32_t v);

// The gauge's picture: every row holds these levels (0 up to the low edge's column, a ramp
// to the high edge's column, 255 beyond), and the two edges are marked at their columns.
struct GaugePicture {
  std::vector<uint8_t> row;
  int32_t low_column = 0, high_column = 0;
};
// Value v sits at column Trunc(width (v - min) / (max - min)). Nothing is drawn when
// min = max, when the edges are out of order (low < min, high > max or low >= high) or when
// their columns are equal or adjacent.
std::optional<GaugePicture> gauge_picture(const MergeGauge& g, int32_t width);

}  // namespace kestrin
