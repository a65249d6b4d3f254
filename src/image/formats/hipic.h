// HiPiC images (".img" whose first bytes hold "IM", type 11): a 14-byte little-endian
// header, a comment, and 1-, 2- or 4-byte little-endian pixels from byte 64 + comment length.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/formats/decoded_image.h"

namespace kestrin {

// The image; the header carries no geometry.
DecodedImage decode_hipic_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage = {});

// Writes the codes of `image` into a copy of `source` at `name` (an existing `name` keeps
// its own header). The header's size must equal the image's. 4-byte pixels are written as
// the code in the low 16 bits and two zero bytes. With `reverse_rows` the rows are flipped
// back.
WriteResult save_hipic_file(const ImageData& image, const std::string& source, const std::string& name,
                            bool reverse_rows);

}  // namespace kestrin
