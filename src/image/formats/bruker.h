// Bruker CCD frames (".ccd", type 7): 80-byte ASCII header lines, then a 1024 x 1024 frame
// of little-endian 16-bit words at byte 11776.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "image/formats/decoded_image.h"

namespace kestrin {

constexpr int32_t kBrukerSide = 1024;
constexpr size_t kBrukerDataOffset = 11776;  // 23 blocks of 512 bytes

// A 10-byte header field as an integer, blanks on both sides ignored.
std::optional<int32_t> bruker_field(std::string_view field);

// The frame; its pixel sizes are 1.0 mm whatever the locks say. Rows are never reversed.
DecodedImage decode_bruker_image(std::span<const uint8_t> bytes, ImageData storage = {});

}  // namespace kestrin
