// Finding the beam centre on the direct-beam spot: the brightest pixel near a position,
// refined to the intensity centroid around it.
#pragma once

#include <cstdint>

namespace kestrin {

// Brightest unmasked pixel of a 13 x 13 window around (X, Y) (23 wide along a coordinate
// that is exactly 0, which is first replaced by the image's middle), logged row by row,
// then the centroid of the 19 x 19 pixels around it that reach a tenth of its intensity.
// X and Y receive the refined position.
void find_local_maximum(double& X, double& Y);

// Records its macro line, refines the centre of integration_params on the image and writes
// it to the centre edits; 0 when done, 1 without an image. A start outside the image, or a
// maximum not above twice the median of the search window (no direct beam there), leaves
// the centre as it was with a log line saying why, and gives 2.
int32_t find_center();

// A row of the image as the windows show it and the centre edits hold it: flipped
// (height - 1 - y) when the images were loaded with VerticalReverse.
double shown_y(double y);

}  // namespace kestrin
