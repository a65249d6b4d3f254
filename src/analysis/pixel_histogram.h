// The pixel histograms: mean intensity against the tilt-corrected distance from the beam
// centre in whole pixels, over a box, a slanted band or a sector, and the cake window's
// sector variant that leaves the drawing to its caller.
#pragma once

#include <cstdint>

namespace kestrin {

void calc_pixel_histogram();
void calc_slant_pixel_histogram();
void calc_slant_pixel_histogram_sector();
// The sector variant without the graph drawing; always 0.
int32_t calc_cake_slant_pixel_histogram();

}  // namespace kestrin
