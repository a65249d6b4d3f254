// Clearing the mask and setting single mask bytes.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/image_form_commands.h"
#include "image/display/mask_paint.h"
#include "image/image_mask.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

using ImageMaskTest = StateTest;

void load_masked_image(int32_t w, int32_t h) {
  load_into_current_image(std::vector<uint16_t>(size_t(w) * size_t(h), 1), w, h);
  state().image_mask.resize(w, h);
  std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), uint8_t(1));
}

size_t masked() {
  const auto& b = state().image_mask.bytes;
  return size_t(std::count(b.begin(), b.end(), uint8_t(1)));
}

TEST_F(ImageMaskTest, ClearMaskNeedsAnImageAndItsCommandRecordsIt) {
  state().macro.MacroRecording = true;
  state().image_mask.resize(3, 2);
  state().image_mask.bytes.assign(6, 1);
  EXPECT_FALSE(clear_mask());  // no image: nothing
  clear_mask_command();        // and nothing recorded
  EXPECT_EQ(masked(), 6u);
  EXPECT_TRUE(state().macro.MacroList.empty());

  load_masked_image(5, 4);
  EXPECT_TRUE(clear_mask());
  EXPECT_EQ(masked(), 0u);
  EXPECT_TRUE(state().macro.MacroList.empty());
  state().image_mask.bytes.assign(20, 1);
  clear_mask_command();
  EXPECT_EQ(masked(), 0u);
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.ClearMask();"});
  state().macro.MacroRecording = false;
  clear_mask_command();
  EXPECT_EQ(state().macro.MacroList.size(), 1u);
}

TEST_F(ImageMaskTest, SetMaskPixelInsideOnly) {
  load_masked_image(4, 3);
  clear_mask();
  for (auto [x, y] : std::initializer_list<std::pair<int32_t, int32_t>>{{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {2147483647, 1}})
    set_mask_pixel(x, y, 1);
  EXPECT_EQ(masked(), 0u);
  set_mask_pixel(3, 2, 1);
  set_mask_pixel(0, 0, 1);
  EXPECT_EQ(masked(), 2u);
  EXPECT_TRUE(state().image_mask.masked(3, 2));
  set_mask_pixel(3, 2, 0);
  EXPECT_FALSE(state().image_mask.masked(3, 2));
}

// The disc painted row by row against the literal rule: every pixel with
// sqrt((x - cx)^2 + (y - cy)^2) <= size div 2.
TEST_F(ImageMaskTest, MaskDiscMatchesTheLiteralRule) {
  const int32_t W = 40, H = 30;
  const struct {
    int32_t cx, cy, size;
  } cases[] = {{20, 15, 8}, {0, 0, 8}, {39, 29, 9}, {20, 15, 1}, {20, 15, 2}, {5, 25, 33}, {-6, 10, 16}, {20, 40, 32},
               {20, 15, 256}, {20, 15, 0}, {20, 15, -4}, {13, 7, 17}};
  for (const auto& c : cases) {
    state().image_mask.resize(W, H);
    paint_mask_disc(c.cx, c.cy, 0, c.size);
    const int64_t r = c.size / 2;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        const double dx = x - c.cx, dy = y - c.cy;
        const bool inside = r >= 0 && std::abs(dx) <= double(r) && std::abs(dy) <= double(r) && std::sqrt(dx * dx + dy * dy) <= double(r);
        ASSERT_EQ(state().image_mask.masked(x, y), inside) << c.cx << "," << c.cy << " size " << c.size << " at " << x << "," << y;
      }
    paint_mask_disc(c.cx, c.cy, 1, c.size);  // erasing leaves nothing
    EXPECT_EQ(masked(), 0u);
  }
}

}  // namespace
}  // namespace kestrin::test
