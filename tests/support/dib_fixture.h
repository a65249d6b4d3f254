// Synthetic bitmaps for the bitmap library's tests and benchmarks, and a slow, obvious
// reader of any bitmap's pixels (run-length data included) to check results against.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/display/ksdib.h"

namespace kestrin::test {

struct RefPixel {
  int index = 0;  // the palette index; 0 for 24-bit pixels
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const RefPixel&) const = default;
};
std::ostream& operator<<(std::ostream& os, const RefPixel& p);

// An uncompressed bitmap of 1, 4, 8 or 24 bits; a negative height is stored top-down.
// value(x, y) gives pixel (x, y) counted from the top: the index of indexed pixels, 0xRRGGBB
// of 24-bit ones. Indexed bitmaps get palette(i) as colour i.
TKsDIB make_picture(int bits, int width, int height, const std::function<uint32_t(int x, int y)>& value,
                    const std::function<uint32_t(int i)>& palette = {});

// Every pixel, top row first, with its colour; run-length data is decoded by a plain loop.
std::vector<RefPixel> read_pixels(const TKsDIB& dib);

// A packed 0xRRGGBB colour from a small hash of (x, y, seed).
uint32_t hash_color(int x, int y, uint32_t seed);

// Rows of runs of 8 pixels with a literal stretch now and then (pictures that run-length
// encoding shrinks), values below `values`.
uint32_t runs_picture(int x, int y, int values);

}  // namespace kestrin::test
