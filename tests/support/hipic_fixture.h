// HiPiC files made by code: the 14-byte header, a comment, and pixels at 64 + comment length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrin::test {

// `pixels` are the pixel bytes as they stand in the file.
std::vector<uint8_t> make_hipic(uint16_t width, uint16_t height, uint16_t kind, uint16_t comment_length,
                                const std::vector<uint8_t>& pixels);

}  // namespace kestrin::test
