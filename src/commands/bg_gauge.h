// The background window's grey-scale gauge: its edges and range (BgView's DisplayScale),
// the Enter rules of its two edits, the drag of its markers, and the picture of one row.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/view_state.h"

namespace kestrin {

// The gauge value under x of a gauge `width` pixels wide: Trunc((high - low) x / width + low).
int32_t bg_gauge_value(const DisplayScale& s, int32_t x, int32_t width);

// Enter in the high edit: v above the range's low end becomes its high end; the high edge
// comes down to it, and the low edge goes back to the low end when it is not below it.
void bg_high_edge_entered(DisplayScale& s, int32_t v);
// Enter in the low edit: v below the range's high end becomes its low end; the low edge
// comes up to it, and the high edge goes back to the high end when it is not above it.
void bg_low_edge_entered(DisplayScale& s, int32_t v);

// A drag of a marker: the first move picks the high marker when |v - LowEdge| >=
// |v - HighEdge|, else the low one; each move moves the picked marker when the value is
// allowed there. True when an edge changed.
struct BgGaugeDrag {
  enum Marker { kNone, kLow, kHigh } marker = kNone;
  bool move(DisplayScale& s, int32_t v);
};

// One row of the gauge picture: black left of pLow, a ramp Trunc((x - pLow) 255 /
// (pHigh - pLow - 1)) up to pHigh - 1, white from pHigh on, with pLow and pHigh by Trunc.
// Nothing for a range or edges that cannot be drawn, or when pHigh - pLow is 0 or 1.
struct BgGaugeRow {
  std::vector<uint8_t> levels;
  int32_t low = 0, high = 0;  // the blue and red marker columns
};
std::optional<BgGaugeRow> bg_gauge_row(const DisplayScale& s, int32_t width);

}  // namespace kestrin
