// TIFF and GEL images: 8/16-bit integer TIFF (type 8), 32-bit floating-point TIFF
// (type 14), GEL square-root images (type 13), the loader's TIFF type test and the writer
// of processed codes into a copy of a TIFF file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/formats/decoded_image.h"
#include "image/formats/tiff_tags.h"

namespace kestrin {

// The loader's type test: kTypeFloatTiff when the first image has 32-bit IEEE float
// samples, else kTypeTiff (also for bytes that are not a TIFF file). Fills `tags` and adds
// the lines of `read_tiff_tags`.
int sniff_tiff_type(std::span<const uint8_t> bytes, TiffTags& tags, LogLines& lines);

// The readers. Each first line names the reader; a refused image gets a line saying why
// (which layout it is) before the reader's error line. The TIFF rules record SampleFormat
// and do not act on it for 8 and 16 bits, so signed samples load as their codes.
DecodedImage decode_tiff_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage = {});
DecodedImage decode_gel_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage = {});
// Uses the tag record the type test filled for the same bytes.
DecodedImage decode_tiff_float_image(std::span<const uint8_t> bytes, const TiffTags& tags, const DecodeOptions& options,
                                     ImageData storage = {});

// Writes the codes of `image` into the strips of `name`, a copy of `source` (an existing
// `name` keeps its own header and is not replaced by the copy). The target's first image
// must be an uncompressed 8/16-bit image of the same size as `image`. With `reverse_rows`
// the rows are flipped back. Refused with "save tiff file error".
WriteResult save_tiff_file(const ImageData& image, const std::string& source, const std::string& name,
                           bool reverse_rows);

}  // namespace kestrin
