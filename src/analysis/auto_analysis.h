// The automatic analysis: the main steps from a loaded image to its radial pattern.
#pragma once

namespace kestrin {

// Without an image logs " auto_analysis() : Image data does not exist."; otherwise reads
// the parameters, puts the centre on the direct-beam spot, makes the 16-sector patterns and
// searches their peaks, refines the tilt from them, then makes the pixel histogram of the
// current settings and searches its peaks. Each step logs and records its macro line as on
// its own; a step that finds nothing does not stop the later ones.
void auto_analysis();

}  // namespace kestrin
