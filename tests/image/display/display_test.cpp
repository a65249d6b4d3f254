// Display levels, palettes, zoom arithmetic and the view renderer.
#include <gtest/gtest.h>

#include <random>

#include "base/lanes.h"
#include "image/display/display.h"
#include "image/image_store.h"

namespace kestrin {
namespace {

TEST(DisplayLevels, EdgesUseRoundedTableValuesNotCodes) {
  ImageStore img;
  build_overflow_tables(img, 8.0f);
  img.set_size(5, 1, 2);
  // Linear: intensities 100, 99, 600, 32768+20 (=160), 1100.
  img.image_codes = {100, 99, 600, 32768 + 20, 1100};
  DisplayScale s;
  s.LowEdge = 100;
  s.HighEdge = 1100;
  UninitVector<uint8_t> lv;
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, s, lv);
  EXPECT_EQ(lv, (std::vector<uint8_t>{0, 0, 128, 15, 255}));  // 127.5 rounds to even 128; 60/1000*255 = 15.3
  // Log mode reads the rounded log-table entries.
  s.DisplayMode = 0;
  s.LowEdge = 0;
  s.HighEdge = 10000;
  img.image_codes = {0, 65535, 32768, 1, 1};
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, s, lv);
  EXPECT_EQ(lv[0], 0);
  EXPECT_EQ(lv[1], 255);
  EXPECT_EQ(lv[2], 0);
}

// An image of several 2 MB lanes gets, on any number of threads, the level of each pixel's
// code that a one-row image of every code gives.
TEST(DisplayLevels, LanesOfALargeImageGiveEveryPixelTheLevelOfItsCode) {
  ImageStore img;
  build_tiff_tables(img, 16);
  DisplayScale s;
  s.DisplayMode = 0;
  s.LowEdge = 1500;
  s.HighEdge = 9000;
  img.set_size(65536, 1, 2);
  for (size_t c = 0; c < img.image_codes.size(); ++c) img.image_codes[c] = uint16_t(c);
  UninitVector<uint8_t> of_code;
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, s, of_code);
  img.set_size(2100, 1100, 2);  // 2.3 million pixels: two lanes
  std::mt19937 rng(9);
  for (uint16_t& c : img.image_codes) c = uint16_t(rng());
  struct DefaultThreadsAfter {
    ~DefaultThreadsAfter() { set_worker_threads(0); }
  } restore;
  for (int threads : {1, 2, 5}) {
    set_worker_threads(threads);
    UninitVector<uint8_t> lv;
    build_display_levels({img.image_codes, img.log_table, img.intensity_table}, s, lv);
    ASSERT_EQ(lv.size(), img.image_codes.size());
    size_t wrong = 0;
    for (size_t i = 0; i < lv.size(); ++i) wrong += lv[i] != of_code[img.image_codes[i]];
    EXPECT_EQ(wrong, 0u) << threads;
  }
}

TEST(DisplayRange, LinearBoundByImageMaximum) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 255},      {255, 255},     {256, 2000},    {5000, 2000},
                                               {5001, 10000}, {20000, 10000}, {20001, 30000}, {50000, 30000},
                                               {60000, 777}};
  for (auto [max, bound] : cases) EXPECT_EQ(linear_display_bound(max, 777), bound) << max;
}

TEST(DisplayPalette, OmitBlueEntryFollowsTheReversalAndMaskXorShowsTheMaskColour) {
  auto normal = image_palette(false, true);
  EXPECT_EQ(normal[0], 0xFF0000);
  EXPECT_EQ(normal[255], 0x000000);
  EXPECT_EQ(normal[1], rgb_to_color(254, 254, 254));
  auto reversed = image_palette(true, true);
  EXPECT_EQ(reversed[255], 0xFF0000);
  EXPECT_EQ(reversed[0], 0);
  EXPECT_EQ(image_palette(false, false)[0], 0xFFFFFF);
  const TColor mask = 0x008000;
  auto m = mask_palette(mask);
  EXPECT_EQ(m[0], 0);
  EXPECT_EQ(0xFFFFFF ^ m[1], mask);
}

TEST(DisplayZoom, WholeViewOfAWideImageAndOtherZooms) {
  ImageView v;
  auto r = set_image_zoom(v, 0, 2000, 1000);
  EXPECT_DOUBLE_EQ(v.Zoom, 0.3);
  EXPECT_EQ(v.ViewCols, 2000);
  EXPECT_EQ(v.ViewRows, 2000);
  EXPECT_EQ(v.DrawRows, 1000);
  EXPECT_EQ(r.combo_index, 0);
  EXPECT_TRUE(r.reset_scroll);
  EXPECT_EQ(v.FrameWidth, 256);  // 2000 image columns fit the 2000 view columns exactly
  r = set_image_zoom(v, 3.0, 2000, 1000);
  EXPECT_EQ(r.combo_index, -1);
  EXPECT_EQ(v.ViewCols, 200);
  EXPECT_EQ(r.scroll_max_x, 1800);
  r = set_image_zoom(v, 2.0, 2000, 1000);
  EXPECT_EQ(r.combo_index, 2);
  EXPECT_DOUBLE_EQ(v.PreviousZoom, 3.0);
  v.ScrollX = 100;
  EXPECT_EQ(image_to_screen_x(v, 100), 0);
  EXPECT_EQ(image_to_screen_x(v, 110), 20);
}

TEST(DisplayThumbnail, WideImageLeavesAMarginBandBelow) {
  std::vector<uint8_t> levels(3000 * 1500, 255);
  std::vector<uint32_t> out;
  int32_t w = 0, h = 0;
  render_thumbnail(levels, 3000, 1500, image_palette(false, false), 100, out, &w, &h);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 50);
  EXPECT_EQ(out[49 * 100 + 99], 0u);  // level 255 is black
  EXPECT_EQ(out[50 * 100], to_rgb32(kMarginColour));
  EXPECT_EQ(out[99 * 100 + 99], to_rgb32(kMarginColour));
}

// 4 x 3 levels 0..11, a masked pixel at (1, 1), grey palette reversed (level = grey).
struct Fixture4x3 {
  std::vector<uint8_t> levels{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110};
  std::vector<uint8_t> mask{0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  Palette pal = image_palette(true, false);
  Palette mpal = mask_palette(0x0000FF);
  uint32_t grey(uint8_t g) const { return uint32_t(g) << 16 | uint32_t(g) << 8 | g; }
};

TEST(DisplayRenderer, ZoomTwoRepeatsEachPixelAndDrawsMarginsPastTheImage) {
  Fixture4x3 f;
  ImageView v;
  v.ViewWidth = 10;
  v.ViewHeight = 8;
  set_image_zoom(v, 2.0, 4, 3);  // 5 x 4 view cells: one column and one row past the image
  std::vector<uint32_t> out;
  ASSERT_TRUE(render_image_view(f.levels, f.mask, 4, 3, v, 0, 0, f.pal, f.mpal, out));
  auto at = [&](int x, int y) { return out[size_t(y) * 10 + size_t(x)]; };
  EXPECT_EQ(at(0, 0), f.grey(0));
  EXPECT_EQ(at(2, 0), f.grey(10));
  EXPECT_EQ(at(7, 5), f.grey(110));
  EXPECT_EQ(at(2, 2), f.grey(50) ^ 0x00FFFF);  // masked: grey 50 xor complement of red
  EXPECT_EQ(at(9, 0), to_rgb32(kMarginColour));
  EXPECT_EQ(at(0, 7), to_rgb32(kMarginColour));
}

TEST(DisplayRenderer, ZoomHalfSamplesEveryOtherPixelAndRefusesRowsPastTheImage) {
  Fixture4x3 f;
  ImageView v;
  v.ViewWidth = 2;
  v.ViewHeight = 2;
  set_image_zoom(v, 0.5, 4, 3);  // 4 x 4 view cells, 4 x 3 drawn
  std::vector<uint32_t> out;
  ASSERT_TRUE(render_image_view(f.levels, {}, 4, 3, v, 0, 0, f.pal, f.mpal, out));
  EXPECT_EQ(out[0], f.grey(0));
  EXPECT_EQ(out[1], f.grey(20));
  EXPECT_EQ(out[2], f.grey(80));
  std::vector<uint32_t> untouched = out;
  EXPECT_FALSE(render_image_view(f.levels, {}, 4, 3, v, 0, 1, f.pal, f.mpal, out));
  EXPECT_EQ(out, untouched);
}

// Paint-box points to image pixels: divided by the zoom plus the scroll origin, or scaled by
// ViewCols / ViewWidth in whole view; halves round to even.
TEST(DisplayMapping, PaintBoxPointsToImagePixels) {
  ImageView zoomed;
  set_image_zoom(zoomed, 2.0, 1000, 1000);
  zoomed.ScrollX = 100, zoomed.ScrollY = 7;
  ImageView whole;
  set_image_zoom(whole, 0.0, 2000, 1000);  // zoom 0.3, 2000 image pixels over 600
  const struct {
    const ImageView* view;
    int32_t X, Y, x, y;
  } cases[] = {
      {&zoomed, 0, 0, 100, 7},   {&zoomed, 1, 1, 100, 8},      // 100.5 -> 100, 7.5 -> 8
      {&zoomed, 3, 5, 102, 10},  {&zoomed, 599, 599, 400, 306},  // 399.5 -> 400, 306.5 -> 306
      {&whole, 0, 0, 0, 0},      {&whole, 3, 9, 10, 30},
      {&whole, 599, 599, 1997, 1997},  // beyond the image's last row: the caller's inside test refuses it
  };
  for (const auto& c : cases) {
    const ImagePoint p = screen_to_image(*c.view, c.X, c.Y);
    EXPECT_EQ(p.x, c.x) << c.X << "," << c.Y;
    EXPECT_EQ(p.y, c.y) << c.X << "," << c.Y;
  }
  EXPECT_TRUE(inside_image({1999, 999}, 2000, 1000));
  EXPECT_FALSE(inside_image({2000, 0}, 2000, 1000));
  EXPECT_FALSE(inside_image({0, 1000}, 2000, 1000));
  EXPECT_FALSE(inside_image({-1, 0}, 2000, 1000));
}

}  // namespace
}  // namespace kestrin
