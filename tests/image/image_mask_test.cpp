// Clearing the mask and setting single mask bytes.
#include <gtest/gtest.h>

#include <numeric>

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

TEST_F(ImageMaskTest, ClearMaskNeedsAnImageAndRecordsBeforeClearing) {
  state().macro.MacroRecording = true;
  state().image_mask.resize(3, 2);
  state().image_mask.bytes.assign(6, 1);
  clear_mask();  // no image: nothing, and nothing recorded
  EXPECT_EQ(masked(), 6u);
  EXPECT_TRUE(state().macro.MacroList.empty());

  load_masked_image(5, 4);
  clear_mask();
  EXPECT_EQ(masked(), 0u);
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.ClearMask();"});
  state().macro.MacroRecording = false;
  clear_mask();
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

}  // namespace
}  // namespace kestrin::test
