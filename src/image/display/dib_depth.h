// Depth changes that keep colours exactly (indexed pixels widened, or replaced by their
// colour at 24 bits) and the two-colour thresholds to 1 bit per pixel.
#pragma once

#include <type_traits>

#include "base/colour.h"
#include "image/display/dib_types.h"

namespace kestrin {

// Widens uncompressed 1- or 4-bit indices to 4 or 8 bits; colour table and biClrUsed kept.
DibInfo ConvertIndexedToWider(const DibInfo& src, uint16_t bit_count);
// Uncompressed 1-, 4- or 8-bit pixels become their colour-table entries (blue, green, red).
DibInfo ConvertIndexedToTrueColor(const DibInfo& src);
// Uncompressed 4-, 8- or 24-bit pixels become 1 where their colour equals ColorToRGB(mono)
// in red, green and blue, else 0; the result's colours are black and white.
DibInfo ConvertToMonochrome(const DibInfo& src, TColor mono);

// Reads an uncompressed 1-, 4- or 8-bit row's pixel x.
inline uint8_t indexed_pixel(const uint8_t* row, int32_t x, int bit_count) {
  switch (bit_count) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
  }
}

// Sets an uncompressed 1-, 4- or 8-bit row's pixel x to v.
inline void set_indexed_pixel(uint8_t* row, int32_t x, int bit_count, uint8_t v) {
  switch (bit_count) {
    case 1: row[x >> 3] = uint8_t((row[x >> 3] & ~(0x80 >> (x & 7))) | (v & 1) << (7 - (x & 7))); break;
    case 4: row[x >> 1] = x & 1 ? uint8_t((row[x >> 1] & 0xF0) | (v & 0x0F)) : uint8_t((row[x >> 1] & 0x0F) | v << 4); break;
    default: row[x] = v;
  }
}

// Calls fn with the depth (1, 4 or 8) as a compile-time constant, so that the row loops
// that read indexed pixels are built once per depth.
template <typename Fn>
void with_indexed_depth(int bit_count, Fn fn) {
  switch (bit_count) {
    case 1: fn(std::integral_constant<int, 1>{}); break;
    case 4: fn(std::integral_constant<int, 4>{}); break;
    default: fn(std::integral_constant<int, 8>{}); break;
  }
}

// A result block with the source's header, biBitCount `bit_count`, BI_RGB, biSizeImage 0
// and zero-filled rows; colours as given by the caller.
DibInfo new_uncompressed_like(const DibInfo& src, uint16_t bit_count);

}  // namespace kestrin
