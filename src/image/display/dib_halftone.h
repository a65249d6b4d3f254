// The halftone forms drawn in palette modes 1 and 2: error diffusion to the shared
// 215-colour palette (a 6 x 7 x 5 cube and five greys and darks) or to black and white.
#pragma once

#include <array>

#include "image/display/dib_types.h"

namespace kestrin {

// The shared palettes, made once: entry r x 35 + g x 5 + b of the colour cube, then five
// further colours; and black, white.
const std::array<RGBQuad, 215>& halftone_palette();
const std::array<RGBQuad, 2>& halftone_bw_palette();

// 1-, 4-, 8- or 24-bit pictures (run-length ones are decoded first) diffused to an 8-bit
// picture of the 215 colours, or to a 1-bit black-and-white one. Other depths raise
// EKsDIBBadDIBType "<name>: Invalid Bit Count", other compressions "<name>: Invalid DIB Format".
DibInfo ConvertToHalfTone(const DibInfo& src);
DibInfo ConvertToHalfToneBW(const DibInfo& src);

}  // namespace kestrin
