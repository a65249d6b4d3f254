// The six pixel formats of a DIB and the conversion between any two of them: run-length
// decoding, a change of depth, run-length encoding, applied in that order as needed.
#pragma once

#include <cstdint>

#include "base/colour.h"
#include "image/display/dib_reduce.h"
#include "image/display/dib_types.h"

namespace kestrin {

enum class KsPixelFormat { Bit1, Bit4, Bit4RLE, Bit8, Bit8RLE, Bit24 };

// "1Bit", "4Bit", "4BitRLE", "8Bit", "8BitRLE", "24Bit".
const char* pixel_format_name(KsPixelFormat f);
// The format of a header's bit count and compression; other combinations raise
// EKsDIBInvalidDIB ("TKsInternalDIB.GetPixelFormat: Invalid DIB(8Bit)").
KsPixelFormat pixel_format_of(const BitmapInfoHeader& h);
// Bits per pixel of a format: 1, 4, 8 or 24.
int depth_of(KsPixelFormat f);
// True for the conversions that reduce colours (to 4 bits from 8 or 24, to 8 from 24); they
// report progress in 16 or 256 steps.
bool is_reducing(KsPixelFormat from, KsPixelFormat to);

// Converts src (of another format than `to`) to `to`. `mode` chooses the true-colour
// reduction (0 binned, 1 exact; any other value raises EKsDIBAssertion), `mono` is the
// colour that becomes 1 in conversions to 1 bit.
DibInfo convert_pixel_format(const DibInfo& src, KsPixelFormat to, uint8_t mode, TColor mono, const ProgressStep& step);

}  // namespace kestrin
