// Every cell of the pixel format matrix, on small pictures of odd widths, one and three rows,
// bottom-up and top-down, against what the slow reader and the reference reductions expect.
#include <gtest/gtest.h>

#include "image/display/dib_convert.h"
#include "image/display/ksdib.h"
#include "image/display/reference_reduce.h"
#include "support/dib_fixture.h"

namespace kestrin {
namespace {

using test::RefPixel;
using test::read_pixels;

constexpr KsPixelFormat kFormats[] = {KsPixelFormat::Bit1,  KsPixelFormat::Bit4,    KsPixelFormat::Bit4RLE,
                                      KsPixelFormat::Bit8,  KsPixelFormat::Bit8RLE, KsPixelFormat::Bit24};

bool is_rle(KsPixelFormat f) { return f == KsPixelFormat::Bit4RLE || f == KsPixelFormat::Bit8RLE; }

uint32_t palette_color(int i) { return test::hash_color(i, 0, 11); }

// A picture of the format with runs of 8 pixels; 24-bit pixels take palette colours.
TKsDIB source_picture(KsPixelFormat f, int width, int height) {
  const int depth = depth_of(f);
  TKsDIB d = test::make_picture(
      depth, width, height,
      [&](int x, int y) {
        const uint32_t v = test::runs_picture(x, y, depth == 24 ? 256 : 1 << depth);
        return depth == 24 ? palette_color(int(v)) : v;
      },
      palette_color);
  if (is_rle(f)) d.SetPixelFormat(f);
  return d;
}

struct Expected {
  std::vector<RefPixel> pixels;
  uint32_t colors = 0;
};

Expected from_reduction(const test::RefReduction& r) {
  Expected e;
  e.colors = uint32_t(r.palette.size());
  for (int i : r.index) {
    const RGBQuad& q = r.palette[size_t(i)];
    e.pixels.push_back(RefPixel{i, q.red, q.green, q.blue});
  }
  return e;
}

// What converting a picture of `from` (its pixels, its colour count) to `to` must give.
Expected expected(KsPixelFormat from, KsPixelFormat to, const std::vector<RefPixel>& src, uint32_t colors, uint8_t mode,
                  uint32_t mono) {
  const int a = depth_of(from), b = depth_of(to);
  Expected e;
  if (b == 1 && a != 1) {
    e.colors = 2;
    for (const RefPixel& p : src) {
      const bool set = (uint32_t(p.red) << 16 | uint32_t(p.green) << 8 | p.blue) == mono;
      e.pixels.push_back(set ? RefPixel{1, 255, 255, 255} : RefPixel{0, 0, 0, 0});
    }
  } else if (b == 24) {
    for (RefPixel p : src) e.pixels.push_back(RefPixel{0, p.red, p.green, p.blue});
  } else if (a <= b) {
    e = {src, colors};
  } else if (a == 8) {
    e = from_reduction(test::reference_8_to_4(src));
  } else {
    const int levels = b == 8 ? 8 : 4;
    e = from_reduction(mode == 0 ? test::reference_low(src, levels) : test::reference_high(src, levels));
  }
  return e;
}

TEST(PixelFormatMatrix, EveryCellMatchesTheReference) {
  const struct {
    int width, height;
  } geometries[] = {{17, 1}, {17, 3}, {17, -3}, {25, 1}, {25, -3}};
  for (const auto& g : geometries)
    for (KsPixelFormat from : kFormats)
      for (KsPixelFormat to : kFormats)
        for (uint8_t mode : {0, 1}) {
          if (from == to || (mode == 1 && depth_of(from) != 24)) continue;
          const std::string cell = std::string(pixel_format_name(from)) + " -> " + pixel_format_name(to) + " mode " +
                                   std::to_string(mode) + " " + std::to_string(g.width) + "x" + std::to_string(g.height);
          TKsDIB d = source_picture(from, g.width, g.height);
          const std::vector<RefPixel> src = read_pixels(d);
          const uint32_t mono = uint32_t(src[3].red) << 16 | uint32_t(src[3].green) << 8 | src[3].blue;
          d.SetConversionMode(mode);
          d.SetMonoColor(rgb_to_color(uint8_t(mono >> 16), uint8_t(mono >> 8), uint8_t(mono)));
          const Expected want = expected(from, to, src, d.internal().header.biClrUsed, mode, mono);
          const int32_t source_height = d.internal().header.biHeight;  // run-length sources are bottom-up
          d.SetPixelFormat(to);
          const BitmapInfoHeader& h = d.internal().header;
          EXPECT_EQ(d.PixelFormat(), to) << cell;
          EXPECT_EQ(read_pixels(d), want.pixels) << cell;
          EXPECT_EQ(h.biClrUsed, want.colors) << cell;
          EXPECT_EQ(h.biSizeImage, is_rle(to) ? d.internal().bits.size() : 0u) << cell;
          EXPECT_EQ(h.biHeight, is_rle(to) ? std::abs(g.height) : source_height) << cell;
          EXPECT_EQ(d.Width(), g.width) << cell;
        }
}

TEST(PixelFormatMatrix, NoMonoColourGivesAllZerosAndBadModesAssert) {
  for (KsPixelFormat from : {KsPixelFormat::Bit4, KsPixelFormat::Bit8RLE, KsPixelFormat::Bit24}) {
    TKsDIB d = source_picture(from, 17, 3);
    d.SetMonoColor(0x123457);  // in no palette entry and no pixel
    d.SetPixelFormat(KsPixelFormat::Bit1);
    for (const RefPixel& p : read_pixels(d)) ASSERT_EQ(p.index, 0) << pixel_format_name(from);
    EXPECT_EQ(d.Color(0), 0x000000);
    EXPECT_EQ(d.Color(1), 0xFFFFFF);
  }
  TKsDIB d = source_picture(KsPixelFormat::Bit24, 17, 1);
  d.SetConversionMode(2);
  try {
    d.SetPixelFormat(KsPixelFormat::Bit8);
    ADD_FAILURE() << "no error";
  } catch (const EKsDIBAssertion& e) {
    EXPECT_STREQ(e.what(), "TKsIntenalDIB.SetPixelsFormat: PixelFormat Error");
  }
  EXPECT_EQ(d.PixelFormat(), KsPixelFormat::Bit24);
}

// A format that a header's bit count and compression do not make raises.
TEST(PixelFormatMatrix, InvalidCombinationsNameTheirDepth) {
  const struct {
    uint16_t bits;
    uint32_t compression;
    const char* message;
  } cases[] = {
      {1, BI_RLE8, "TKsInternalDIB.GetPixelFormat: Invalid DIB(1Bit)"},
      {4, BI_RLE8, "TKsInternalDIB.GetPixelFormat: Invalid DIB(4Bit)"},
      {8, BI_RLE4, "TKsInternalDIB.GetPixelFormat: Invalid DIB(8Bit)"},
      {24, BI_RLE8, "TKsInternalDIB.GetPixelFormat: Invalid DIB(24Bit)"},
      {16, BI_RGB, "TKsInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)"},
  };
  for (const auto& c : cases) {
    BitmapInfoHeader h;
    h.biBitCount = c.bits;
    h.biCompression = c.compression;
    try {
      pixel_format_of(h);
      ADD_FAILURE() << c.message;
    } catch (const EKsDIBInvalidDIB& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kestrin
