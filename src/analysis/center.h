// Finding the beam centre on the direct-beam spot: the brightest pixel near a position,
// refined to the intensity centroid around it.
#pragma once

#include <cstdint>

namespace kestrin {

class Report;

// Brightest unmasked pixel of a 13 x 13 window around (X, Y) (23 wide along a coordinate
// that is exactly 0, which is first replaced by the image's middle), its rows said one by
// one, then the centroid of the 19 x 19 pixels around it that reach a tenth of its
// intensity. X and Y receive the refined position.
void find_local_maximum(double& X, double& Y, Report& report);

// The centre search's banner, and without an image the line saying so: true when there is
// an image to search.
bool announce_find_center(Report& report);

// Refines the centre of integration_params on the image: 0 when done (the new centre is in
// integration_params), 1 without an image (silent). A start outside the image, or a maximum
// not above twice the median of the search window (no direct beam there), leaves the centre
// as it was with a line saying why, and gives 2.
int32_t find_center(Report& report);

// A row of the image as the windows show it and the centre edits hold it: flipped
// (height - 1 - y) when the images were loaded with VerticalReverse.
double shown_y(double y);


}  // namespace kestrin
