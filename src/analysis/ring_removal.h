// The ring removal: the base line under each listed ring, fitted on the whole image's 2theta
// pattern, written into the ring's pixels.
#pragma once

namespace kestrin {

// For the ring list of the shared state: the region becomes the rectangle FULL (through
// the main window's controls), the windows handle their events and the 2theta pattern of
// the whole image is made. For each ring a peak is added at its middle (0.005 towards the
// higher neighbour bin when none can be added there) and fitted over the ring's bins. Then,
// in one pass over the pixels, every pixel whose 2theta lies in a ring whose fit converged
// with a base line above 0 over the whole ring (the last such ring where rings overlap;
// the others are logged and left as they are) gets the code of the fitted base line's
// intensity there: (base + slope * 2theta) * cos^3(2theta) / 10, by the image's own law.
// The display levels follow, the image is redrawn and the windows handle their events.
void remove_rings();

}  // namespace kestrin
