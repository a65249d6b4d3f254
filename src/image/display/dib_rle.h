// The run-length codecs of the BMP format (BI_RLE8, BI_RLE4) as pixel format converters.
#pragma once

#include "image/display/dib_types.h"

namespace kestrin {

// Encodes uncompressed 8-bit (4-bit) rows. Rows are written bottom-up whatever the source's
// order, so the result is a bottom-up DIB; an encoding that would not fit into the size of
// the uncompressed rows raises EKsDIBCompressionFailed. The colour table is kept.
DibInfo Convert8BitRGBTo8BitRLE(const DibInfo& src);
DibInfo Convert4BitRGBTo4BitRLE(const DibInfo& src);

// Decodes BI_RLE8 (BI_RLE4) data into uncompressed rows in the same storage order; pixels
// the data skips stay 0, and data that ends before its end-of-bitmap mark ends the picture
// there. Runs that leave the picture raise EKsDIBInvalidDIB ("Bad RLE Data n").
DibInfo Convert8BitRLETo8BitRGB(const DibInfo& src);
DibInfo Convert4BitRLETo4BitRGB(const DibInfo& src);

}  // namespace kestrin
