// The background window's grey-scale gauge (BgView's DisplayScale): it truncates its
// positions and shares the image window's gauge rules (image/display/gauge.h), but for the
// Enter rule of its low edit.
#pragma once

#include <cstdint>

#include "model/view_state.h"

namespace kestrin {

// Enter in the low edit: v below the range's high end becomes its low end; the low edge
// comes up to it, and the high edge goes back to the high end when it is not above it.
void bg_low_edge_entered(DisplayScale& s, int32_t v);

}  // namespace kestrin
