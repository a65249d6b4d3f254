// Straight-line integration: the plain sum of each row or column of a strip that runs from
// the beam centre towards one edge of the image, against the distance along the strip.
#pragma once

#include <cstdint>

#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// The line the straight-line integration says first.
constexpr const char* kLineIntegrationBanner = "<<<<<   Straight Line Integration   >>>>>";

// Direction as in integration_params: 0 TOP, 1 BOTTOM, 3 LEFT, 4 RIGHT; any other gives an
// all-zero pattern with the whole report. Says its lines into `report` and returns what its
// command shows.
PatternShow calc_line_integration(int32_t direction, Report& report);

}  // namespace kestrin
