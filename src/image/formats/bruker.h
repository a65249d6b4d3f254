// Bruker CCD frames (".ccd", type 7): 80-byte ASCII header lines, then a 1024 x 1024 frame
// of little-endian 16-bit words at byte 11776.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "image/image_store.h"

namespace kestrin {

constexpr int32_t kBrukerSide = 1024;
constexpr size_t kBrukerDataOffset = 11776;  // 23 blocks of 512 bytes

// A 10-byte header field as an integer, blanks on both sides ignored.
std::optional<int32_t> bruker_field(std::string_view field);

// 0 on success, 1 on failure (the reason is logged). Sets the pixel sizes to 1.0 mm.
int read_bruker_file(ImageStore& store, const std::string& path);
int decode_bruker_image(ImageStore& store, std::span<const uint8_t> bytes);

}  // namespace kestrin
