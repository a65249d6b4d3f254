// The ring removal: the base line under each listed ring, fitted on the whole image's 2theta
// pattern, written into the ring's pixels.
#pragma once

#include <cstdint>

namespace kestrin {

class Report;

// What a ring removal did: whether it wrote pixels, and how many peaks it added to the
// table and how many single-peak fits it ran (the command shows and records those).
struct RingRemoval {
  bool written = false;
  int32_t peaks_added = 0;
  int32_t fits = 0;
};

// For the ring list of the shared state, on the current 2theta pattern (the caller makes it
// of the whole image): for each ring a peak is added at its middle (0.005 towards the
// higher neighbour bin when none can be added there) and fitted over the ring's bins. Then,
// in one pass over the pixels, every pixel whose 2theta lies in a ring whose fit converged
// with a base line above 0 over the whole ring (the last such ring where rings overlap;
// the others are said and left as they are) gets the code of the fitted base line's
// intensity there: (base + slope * 2theta) * cos^3(2theta) / 10, by the image's own law,
// and the display levels follow. Pixels are written unless there is no image or 2theta
// pattern, or no ring was fitted.
RingRemoval remove_rings(Report& report);

}  // namespace kestrin
