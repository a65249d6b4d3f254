// The sectored pixel histograms: the whole image cut into angular sectors round the beam
// centre, one distance pattern per sector in one pass. Sixteen fixed sectors with untilted
// distances rounded to the nearest pixel, or free sectors of the division angle with
// tilt-corrected distances split between two bins.
#pragma once

namespace kestrin {

// Command "Sectoring": records its macro line.
void calc_sectored_histogram();
void calc_free_angle_sectored_pixel_histogram();

}  // namespace kestrin
