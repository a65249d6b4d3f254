// Halftones: the shared palettes, the band edges, and the serpentine error diffusion against a
// plain transcription of its rules.
#include <gtest/gtest.h>

#include "image/display/dib_halftone.h"
#include "image/display/ksdib.h"
#include "support/dib_fixture.h"

namespace kestrin {
namespace {

using test::RefPixel;
using test::read_pixels;

TEST(HalftonePalettes, CubeThenFiveColours) {
  const auto& p = halftone_palette();
  EXPECT_EQ(p[0], (RGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(p[34], (RGBQuad{255, 255, 0, 0}));    // red 0, green 6, blue 4
  EXPECT_EQ(p[2 * 35 + 3 * 5 + 1], (RGBQuad{64, 128, 102, 0}));
  EXPECT_EQ(p[209], (RGBQuad{255, 255, 255, 0}));
  EXPECT_EQ(p[210], (RGBQuad{0, 0, 128, 0}));      // $000080: dark red
  EXPECT_EQ(p[212], (RGBQuad{128, 0, 128, 0}));    // $800080
  EXPECT_EQ(p[214], (RGBQuad{128, 128, 128, 0}));
  EXPECT_EQ(halftone_bw_palette()[1], (RGBQuad{255, 255, 255, 0}));
}

// A single pixel carries no error, so its index shows the band of each channel's value.
TEST(Halftone, BandEdges) {
  const struct {
    int channel;  // 0 red, 1 green, 2 blue
    int value;
    int level;
  } cases[] = {
      {0, 25, 0},  {0, 26, 1},  {0, 76, 1},  {0, 77, 2},  {0, 127, 2}, {0, 128, 3}, {0, 178, 3}, {0, 179, 4},
      {0, 230, 4}, {0, 231, 5}, {1, 21, 0},  {1, 22, 1},  {1, 63, 1},  {1, 64, 2},  {1, 106, 2}, {1, 107, 3},
      {1, 149, 3}, {1, 150, 4}, {1, 192, 4}, {1, 193, 5}, {1, 233, 5}, {1, 234, 6}, {2, 31, 0},  {2, 32, 1},
      {2, 95, 1},  {2, 96, 2},  {2, 159, 2}, {2, 160, 3}, {2, 223, 3}, {2, 224, 4}, {2, 255, 4},
  };
  const int weight[3] = {35, 5, 1};
  for (const auto& c : cases) {
    TKsDIB d = test::make_picture(24, 1, 1, [&](int, int) { return uint32_t(c.value) << (16 - 8 * c.channel); });
    d.ConvertToHalfTone();
    EXPECT_EQ(d.ScanLine(0)[0], c.level * weight[c.channel]) << c.channel << " " << c.value;
  }
}

// The rules as written: even stored rows left to right, odd rows right to left; errors of the
// previous row and of the pixel just done (0 at each row's start unless `carry_over_rows`).
std::vector<int> transcription(const TKsDIB& dib, bool black_and_white, bool carry_over_rows = false) {
  const std::vector<RefPixel> pixels = read_pixels(dib);
  const int w = dib.Width(), h = dib.Height();
  const bool bottom_up = dib.internal().header.biHeight > 0;
  auto div32 = [](int v) { return v >= 0 ? v / 32 : -(-v / 32); };
  const int red_edges[] = {26, 77, 128, 179, 231}, green_edges[] = {22, 64, 107, 150, 193, 234}, blue_edges[] = {32, 96, 160, 224};
  const int red_values[] = {0, 51, 102, 153, 204, 255}, green_values[] = {0, 43, 85, 128, 171, 214, 255},
            blue_values[] = {0, 64, 128, 192, 255};
  std::vector<std::vector<int>> previous(3, std::vector<int>(size_t(w) + 2, 0)), current = previous;
  std::vector<int> out(size_t(w * h));
  int carry[3] = {0, 0, 0};
  for (int r = 0; r < h; ++r) {
    const int y = bottom_up ? h - 1 - r : r;  // the picture row of stored row r
    if (!carry_over_rows) carry[0] = carry[1] = carry[2] = 0;
    for (int i = 0; i < w; ++i) {
      const int x = r % 2 == 0 ? i : w - 1 - i;
      const int behind = r % 2 == 0 ? x - 1 : x + 1;
      const RefPixel& p = pixels[size_t(y * w + x)];
      const int value[3] = {p.red, p.green, p.blue};
      int a[3];
      for (int c = 0; c < 3; ++c)
        a[c] = value[c] - div32(12 * previous[size_t(c)][size_t(x + 1)] + 12 * carry[c] + 5 * previous[size_t(c)][size_t(behind + 1)]);
      int error[3];
      if (black_and_white) {
        const bool white = a[0] + a[1] + a[2] >= 384;
        for (int c = 0; c < 3; ++c) error[c] = (white ? 255 : 0) - a[c];
        out[size_t(y * w + x)] = white;
      } else {
        int level[3] = {0, 0, 0};
        for (int e : red_edges) level[0] += a[0] >= e;
        for (int e : green_edges) level[1] += a[1] >= e;
        for (int e : blue_edges) level[2] += a[2] >= e;
        error[0] = red_values[level[0]] - a[0];
        error[1] = green_values[level[1]] - a[1];
        error[2] = blue_values[level[2]] - a[2];
        out[size_t(y * w + x)] = level[0] * 35 + level[1] * 5 + level[2];
      }
      for (int c = 0; c < 3; ++c) current[size_t(c)][size_t(x + 1)] = carry[c] = error[c];
    }
    std::swap(previous, current);
  }
  return out;
}

std::vector<int> indices(const TKsDIB& d) {
  std::vector<int> out;
  for (const RefPixel& p : read_pixels(d)) out.push_back(p.index);
  return out;
}

TEST(Halftone, DiffusionFollowsTheTranscription) {
  const struct {
    const char* name;
    KsPixelFormat format;
    int width, height;
  } cases[] = {
      {"24-bit", KsPixelFormat::Bit24, 23, 9},
      {"24-bit top-down", KsPixelFormat::Bit24, 8, -7},
      {"8-bit", KsPixelFormat::Bit8, 17, 5},
      {"8-bit run-length", KsPixelFormat::Bit8RLE, 25, 4},
      {"4-bit", KsPixelFormat::Bit4, 9, 3},
      {"1-bit", KsPixelFormat::Bit1, 11, 2},
      {"one column", KsPixelFormat::Bit24, 1, 6},
  };
  for (const auto& c : cases) {
    const int depth = depth_of(c.format);
    TKsDIB source = test::make_picture(
        depth, c.width, c.height,
        [&](int x, int y) {
          if (depth == 24) return test::hash_color(x / 3, y, 8);
          return test::runs_picture(x, y, 1 << depth);
        },
        [](int i) { return test::hash_color(i, 1, 8); });
    if (c.format == KsPixelFormat::Bit8RLE) source.SetPixelFormat(c.format);
    TKsDIB colour = source, bw = source;
    colour.ConvertToHalfTone();
    EXPECT_EQ(colour.PixelFormat(), KsPixelFormat::Bit8) << c.name;
    EXPECT_EQ(colour.PaletteSize(), 215) << c.name;
    EXPECT_EQ(indices(colour), transcription(source, false)) << c.name;
    bw.ConvertToHalfToneBW();
    EXPECT_EQ(bw.PixelFormat(), KsPixelFormat::Bit1) << c.name;
    EXPECT_EQ(bw.Color(1), 0xFFFFFF) << c.name;
    EXPECT_EQ(indices(bw), transcription(source, true)) << c.name;
  }
}

// The carried error restarts at each row: a picture where carrying it over would differ.
TEST(Halftone, TheCarriedErrorRestartsOnEachRow) {
  const TKsDIB source = test::make_picture(24, 4, 2, [](int x, int y) { return y == 1 && x == 3 ? 0x686868u : 0x242424u; });
  ASSERT_NE(transcription(source, true), transcription(source, true, true));
  ASSERT_NE(transcription(source, false), transcription(source, false, true));
  TKsDIB colour = source, bw = source;
  colour.ConvertToHalfTone();
  bw.ConvertToHalfToneBW();
  EXPECT_EQ(indices(colour), transcription(source, false));
  EXPECT_EQ(indices(bw), transcription(source, true));
}

TEST(Halftone, RefusesOtherDepthsAndCompressions) {
  DibInfo sixteen;
  sixteen.header.biWidth = 1, sixteen.header.biHeight = 1, sixteen.header.biBitCount = 16;
  DibInfo compressed_24;
  compressed_24.header.biWidth = 1, compressed_24.header.biHeight = 1, compressed_24.header.biBitCount = 24;
  compressed_24.header.biCompression = BI_RLE8;
  const struct {
    const DibInfo& block;
    bool bw;
    const char* message;
  } cases[] = {
      {sixteen, false, "ConvertToHalfTone: Invalid Bit Count"},
      {sixteen, true, "ConvertToHalfToneBW: Invalid Bit Count"},
      {compressed_24, false, "ConvertToHalfTone: Invalid DIB Format"},
      {compressed_24, true, "ConvertToHalfToneBW: Invalid DIB Format"},
  };
  for (const auto& c : cases) {
    try {
      c.bw ? ConvertToHalfToneBW(c.block) : ConvertToHalfTone(c.block);
      ADD_FAILURE() << c.message;
    } catch (const EKsDIBBadDIBType& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kestrin
