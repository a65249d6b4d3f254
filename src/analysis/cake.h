// The cake: the image unrolled into azimuth and distance, one pixel histogram per angular
// slice, made into the cake window's picture.
#pragma once

#include "image/cake_picture.h"

namespace kestrin {

// Runs the slices of `shape` as a long run: for slice s the region is the sector (the command
// that runs the cake shows it in the radios and runs their click command), the sector edits
// get the decimal texts of s x width and (s + 1) x width, and the sector pixel histogram replaces the current
// pattern; then the windows handle their events once. The picture of the slices replaces
// cake_state()'s and true is returned. A slice that makes no pattern (no image, unusable
// parameters) stops the cake after its own log lines, with the pattern's kind as it was;
// so do a terminate and a refused second long run. The picture stays as it was then.
bool make_cake(const CakeShape& shape);

}  // namespace kestrin
