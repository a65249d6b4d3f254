// The cake picture: slices from patterns, their scaling into bands and the brightness.
#include "image/cake_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kestrin {
namespace {

// A slice that is 0 everywhere but `value` in `column`.
CakeSlice peak(int32_t column, double value) {
  CakeSlice s{};
  s[size_t(column)] = value;
  return s;
}

int pixel(const TKsDIB& dib, int32_t x, int32_t y) { return dib.ScanLine(y)[x]; }

TEST(CakeSlice, MeansBinPairsAndReadsBinsPastThePatternAsZero) {
  std::vector<int32_t> values(1600, 0);
  values[400] = 10;
  values[401] = 31;
  values[1000] = 7;  // left from a longer pattern
  const struct {
    int32_t count;
    double column200, column500;
  } cases[] = {
      {1600, 20.5, 3.5},
      {1001, 20.5, 3.5},
      {1000, 20.5, 0.0},  // bin 1000 is past the pattern's points
      {401, 5.0, 0.0},    // bin 401 is past: half of the pair reads 0
      {0, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    const CakeSlice s = cake_slice(values, c.count);
    EXPECT_DOUBLE_EQ(s[200], c.column200) << c.count;
    EXPECT_DOUBLE_EQ(s[500], c.column500) << c.count;
  }
  // A pattern shorter than 1600 values, or a count beyond them, never reads past the values.
  const std::vector<int32_t> short_values(5, 4);
  const CakeSlice s = cake_slice(short_values, 3000);
  EXPECT_DOUBLE_EQ(s[1], 4.0);
  EXPECT_DOUBLE_EQ(s[2], 2.0);
  EXPECT_DOUBLE_EQ(s[3], 0.0);
}

TEST(CakePicture, EachDrawnSliceIsABandScaledToTheDrawnMaximum) {
  std::vector<CakeSlice> slices(33, peak(200, 100.0));
  slices[1][300] = 50.0;
  slices[2][10] = 99.9;
  slices[32][600] = 1000.0;  // computed but not drawn: no effect on the scaling
  const TKsDIB dib = cake_picture(slices, kCake);
  ASSERT_EQ(dib.Width(), 800);
  ASSERT_EQ(dib.Height(), 320);
  ASSERT_EQ(dib.BitCount(), 8);
  for (int32_t y = 0; y < 320; ++y) {
    EXPECT_EQ(pixel(dib, 200, y), 255) << y;
    EXPECT_EQ(pixel(dib, 600, y), 0) << y;
  }
  for (int32_t y = 10; y < 20; ++y) EXPECT_EQ(pixel(dib, 300, y), 127) << y;  // Trunc(127.5)
  for (int32_t y = 20; y < 30; ++y) EXPECT_EQ(pixel(dib, 10, y), 254) << y;   // Trunc(254.745)
  EXPECT_EQ(pixel(dib, 300, 9), 0);
  EXPECT_EQ(pixel(dib, 300, 20), 0);
  for (int i : {0, 100, 255}) EXPECT_EQ(dib.Color(i), TColor(uint32_t(i) * 0x010101u)) << i;
}

TEST(CakePicture, SectorCakeFillsTheTopBandsAndLeavesTheRestBlack) {
  std::vector<CakeSlice> slices(10, peak(50, 8.0));
  slices[9][51] = 4.0;
  const TKsDIB dib = cake_picture(slices, kSectorCake);
  ASSERT_EQ(dib.Height(), 400);
  for (int32_t y = 0; y < 200; ++y) EXPECT_EQ(pixel(dib, 50, y), 255) << y;
  for (int32_t y = 180; y < 200; ++y) EXPECT_EQ(pixel(dib, 51, y), 127) << y;
  for (int32_t y = 200; y < 400; ++y) EXPECT_EQ(pixel(dib, 50, y), 0) << y;
}

TEST(CakePicture, NoPositiveValueGivesABlackPicture) {
  for (double v : {0.0, -5.0}) {
    std::vector<CakeSlice> slices(33, peak(10, v));
    slices[32] = peak(10, 500.0);  // only the ignored slice has light
    const TKsDIB dib = cake_picture(slices, kCake);
    for (int32_t y = 0; y < dib.Height(); ++y)
      for (int32_t x = 0; x < dib.Width(); ++x) ASSERT_EQ(pixel(dib, x, y), 0) << v << " " << x << "," << y;
  }
  // Negative values beside a positive maximum are drawn black, not wrapped round.
  std::vector<CakeSlice> slices(32, peak(10, 10.0));
  slices[0][11] = -3.0;
  EXPECT_EQ(pixel(cake_picture(slices, kCake), 11, 0), 0);
}

TEST(CakeBrightness, SaturatesTheBrightEndOfTheRamp) {
  TKsDIB dib = cake_picture(std::vector<CakeSlice>(32, peak(0, 1.0)), kCake);
  const struct {
    int32_t position, index, grey;
  } cases[] = {{0, 0, 0}, {0, 200, 200}, {10, 0, 10}, {10, 245, 255}, {10, 250, 255}, {255, 0, 255}, {255, 255, 255}};
  for (const auto& c : cases) {
    set_cake_brightness(dib, c.position);
    EXPECT_EQ(dib.Color(c.index), TColor(uint32_t(c.grey) * 0x010101u)) << c.position << " " << c.index;
  }
  set_cake_brightness(dib, 255);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(dib.Color(i), TColor(0xFFFFFFu)) << i;
}

}  // namespace
}  // namespace kestrin
