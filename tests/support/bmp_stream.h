// Small BMP streams for the picture tests: 24-bit, bottom-up unless asked, rows padded.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/byte_reader.h"

namespace kestrin::test {

// A 24-bit BMP stream of w x h pixels; rgb(x, y) is 0xRRGGBB of pixel (x, y) from the top.
inline std::vector<uint8_t> make_bmp24(int w, int h, const std::function<uint32_t(int x, int y)>& rgb,
                                       bool top_down = false) {
  const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) / 4 * 4;
  const uint32_t offset = 14 + 40;
  std::vector<uint8_t> b(offset + row * static_cast<uint32_t>(h), 0);
  b[0] = 'B';
  b[1] = 'M';
  put_u32le(&b[2], static_cast<uint32_t>(b.size()));
  put_u32le(&b[10], offset);
  put_u32le(&b[14], 40);
  put_u32le(&b[18], static_cast<uint32_t>(w));
  put_u32le(&b[22], static_cast<uint32_t>(top_down ? -h : h));
  put_u16le(&b[26], 1);
  put_u16le(&b[28], 24);
  put_u32le(&b[34], row * static_cast<uint32_t>(h));
  for (int y = 0; y < h; ++y) {
    const int stored_row = top_down ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = rgb(x, y);
      uint8_t* p = &b[offset + static_cast<uint32_t>(stored_row) * row + static_cast<uint32_t>(x) * 3];
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  }
  return b;
}

}  // namespace kestrin::test
