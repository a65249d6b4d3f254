// The ring removal: the base line under each listed ring, fitted on the whole image's 2theta
// pattern, written into the ring's pixels.
#pragma once

namespace kestrin {

class Report;

// For the ring list of the shared state, on the current 2theta pattern (the caller makes it
// of the whole image): for each ring a peak is added at its middle (0.005 towards the
// higher neighbour bin when none can be added there) and fitted over the ring's bins. Then,
// in one pass over the pixels, every pixel whose 2theta lies in a ring whose fit converged
// with a base line above 0 over the whole ring (the last such ring where rings overlap;
// the others are said and left as they are) gets the code of the fitted base line's
// intensity there: (base + slope * 2theta) * cos^3(2theta) / 10, by the image's own law,
// and the display levels follow. True when pixels were written; false without an image or
// a 2theta pattern, or when no ring was fitted.
bool remove_rings(Report& report);

}  // namespace kestrin
