// Finding spots: pixels whose intensity lies four standard deviations or more from the mean
// of their ring are covered by small mask discs.
#pragma once

#include <cstdint>

namespace kestrin {

class Report;

// The spot finder's banner, and without an image the line saying so: true when there is
// an image to work on.
bool announce_find_spot(Report& report);

// Over the integration area, among pixels with a display level other than 0: ring bins by
// the tilt-corrected distance, then a disc of diameter 2 in the mask on every outlier; the
// centre, tilt and area are said. 0 when done, 1 without an image (silent), 2 when the area
// was refused (centre still at 0, 0).
int32_t find_spot(Report& report);

}  // namespace kestrin
