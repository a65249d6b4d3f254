// Exact depth changes and the two-colour thresholds, row by row in storage order.
#include "image/display/dib_depth.h"

#include <string>

namespace kestrin {
namespace {

bool uncompressed_with(const DibInfo& d, std::initializer_list<int> depths) {
  if (d.header.biCompression != BI_RGB) return false;
  for (int b : depths)
    if (d.header.biBitCount == b) return true;
  return false;
}

// Writes rows of packed 1-bit pixels from a per-pixel test.
template <typename IsSet>
void pack_bits(DibInfo& dst, const DibInfo& src, IsSet is_set) {
  const int32_t width = src.width();
  for (int32_t r = 0; r < src.rows(); ++r) {
    const uint8_t* in = src.row(r);
    uint8_t* out = dst.row(r);
    for (int32_t x = 0; x < width; ++x)
      if (is_set(in, x)) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
  }
}

}  // namespace

DibInfo new_uncompressed_like(const DibInfo& src, uint16_t bit_count) {
  DibInfo dst;
  dst.header = src.header;
  dst.header.biBitCount = bit_count;
  dst.header.biCompression = BI_RGB;
  dst.header.biSizeImage = 0;
  dst.allocate_rows();
  return dst;
}

DibInfo ConvertIndexedToWider(const DibInfo& src, uint16_t bit_count) {
  const int from = src.header.biBitCount;
  if (!uncompressed_with(src, {1, 4}) || bit_count <= from || (bit_count != 4 && bit_count != 8))
    throw EKsDIBBadDIBType("Convert" + std::to_string(from) + "BitRGBTo" + std::to_string(bit_count) +
                           "BitRGB: Invalid Bitcount or Compression");
  DibInfo dst = new_uncompressed_like(src, bit_count);
  dst.colors = src.colors;
  with_indexed_depth(from, [&](auto depth) {
    for (int32_t r = 0; r < src.rows(); ++r) {
      const uint8_t* in = src.row(r);
      uint8_t* out = dst.row(r);
      for (int32_t x = 0; x < src.width(); ++x) {
        const uint8_t v = indexed_pixel(in, x, depth());
        if (bit_count == 8) out[x] = v;
        else out[x >> 1] |= x & 1 ? v : uint8_t(v << 4);
      }
    }
  });
  return dst;
}

DibInfo ConvertIndexedToTrueColor(const DibInfo& src) {
  const int from = src.header.biBitCount;
  if (!uncompressed_with(src, {1, 4, 8}))
    throw EKsDIBBadDIBType("Convert" + std::to_string(from) + "BitRGBTo24BitRGB: Invalid Bitcount or Compression");
  DibInfo dst = new_uncompressed_like(src, 24);
  dst.header.biClrUsed = 0;
  with_indexed_depth(from, [&](auto depth) {
    for (int32_t r = 0; r < src.rows(); ++r) {
      const uint8_t* in = src.row(r);
      uint8_t* out = dst.row(r);
      for (int32_t x = 0; x < src.width(); ++x) {
        const RGBQuad& q = src.colors[indexed_pixel(in, x, depth())];
        out[3 * x] = q.blue;
        out[3 * x + 1] = q.green;
        out[3 * x + 2] = q.red;
      }
    }
  });
  return dst;
}

DibInfo ConvertToMonochrome(const DibInfo& src, TColor mono) {
  const int from = src.header.biBitCount;
  if (!uncompressed_with(src, {4, 8, 24}))
    throw EKsDIBBadDIBType("Convert" + std::to_string(from) + "BitRGBTo1BitRGB: Invalid Bitcount or Compression");
  const TColor c = ColorToRGB(mono);
  const RGBQuad target{color_blue(c), color_green(c), color_red(c), 0};
  DibInfo dst = new_uncompressed_like(src, 1);
  dst.header.biClrUsed = 2;
  dst.colors[1] = RGBQuad{255, 255, 255, 0};
  if (from == 24) {
    pack_bits(dst, src, [&](const uint8_t* row, int32_t x) {
      return row[3 * x] == target.blue && row[3 * x + 1] == target.green && row[3 * x + 2] == target.red;
    });
    return dst;
  }
  bool matches[256];
  for (size_t i = 0; i < 256; ++i) {
    const RGBQuad& q = src.colors[i];
    matches[i] = q.red == target.red && q.green == target.green && q.blue == target.blue;
  }
  with_indexed_depth(from, [&](auto depth) {
    pack_bits(dst, src, [&](const uint8_t* row, int32_t x) { return matches[indexed_pixel(row, x, depth())]; });
  });
  return dst;
}

}  // namespace kestrin
