// Finding spots: ring statistics over the shown pixels and mask discs on the outliers;
// the display levels they depend on.
#include <gtest/gtest.h>

#include "analysis/spot_find.h"
#include "base/report.h"
#include "commands/image_form_commands.h"
#include "image/display/display.h"
#include "image/display/mask_paint.h"
#include "image/image_store.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

// The display levels of the current image under a grey scale.
void show_with(const DisplayScale& scale) {
  DisplayLevels& l = state().display_levels;
  const ImageStore& img = current_image();
  build_display_levels({img.image_codes, img.log_table, img.intensity_table}, scale, l.level);
  l.width = current_image().ImageWidth;
  l.height = current_image().ImageHeight;
}

class SpotFindTest : public PeakTest {
protected:
  // A 100 x 100 image from f, centre (50, 50), the whole image as the area.
  template <typename F>
  void image_of(F f, DisplayScale scale = {}) {
    std::vector<uint16_t> codes(100 * 100);
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t x = 0; x < 100; ++x) codes[size_t(x + 100 * y)] = uint16_t(f(x, y));
    load_into_current_image(codes, 100, 100);
    show_with(scale);
    set_centre(50, 50);
    whole_image_region();
  }
  // The finder alone, its lines in `said`.
  int32_t find() { return find_spot(said); }
  Report said;
  bool masked(int32_t x, int32_t y) {
    const auto& b = state().image_mask.bytes;
    return b.size() == 100 * 100 && b[size_t(x + 100 * y)] != 0;
  }
  // Marked pixels within distance 45 of the centre, where every ring bin is a full circle.
  int marked_count() {
    int n = 0;
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t x = 0; x < 100; ++x)
        n += masked(x, y) && (x - 50) * (x - 50) + (y - 50) * (y - 50) <= 45 * 45;
    return n;
  }
};

TEST_F(SpotFindTest, AnOutlierGetsADiscOfTheMaskAndNothingElseDoes) {
  // A checkerboard of 100 and 110 (4 sigma = 20) with one bright pixel at (75, 50). Bins
  // near the corners hold a few pixels of one value (threshold 0) and are marked too.
  image_of([](int32_t x, int32_t y) { return x == 75 && y == 50 ? 200 : 100 + 10 * ((x + y) % 2); });
  ASSERT_EQ(find_spot_command(), 0);
  EXPECT_EQ(marked_count(), 5);
  for (auto [x, y] : {std::pair{75, 50}, {74, 50}, {76, 50}, {75, 49}, {75, 51}}) EXPECT_TRUE(masked(x, y)) << x << "," << y;
  EXPECT_FALSE(state().OmitGreen);  // the mask is not switched on
  EXPECT_EQ(views.redraws, 1);
  const std::vector<std::string> tail(log().end() - 3, log().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Region        = ", "Area    x=   0 to   99", "        y=   0 to   99"}));
  EXPECT_EQ(log()[1], "Center position =  50.00000,   50.00000");
  EXPECT_EQ(log()[2], "Tilt = 0.0000000, Azimuth=324.0");
}

TEST_F(SpotFindTest, UniformBinsMarkEveryPixelOutsideTheCentreDisc) {
  image_of([](int32_t, int32_t) { return 50; });
  ASSERT_EQ(find(), 0);
  EXPECT_TRUE(masked(0, 0));
  EXPECT_TRUE(masked(50, 70));  // distance 20
  EXPECT_FALSE(masked(50, 50));
  EXPECT_FALSE(masked(50, 68));  // distance 18: only discs of its outer neighbours could reach it
}

TEST_F(SpotFindTest, NearTheCentreOnlyHugeIntensitiesAreMarked) {
  image_of([](int32_t x, int32_t y) { return x == 55 && y == 50 ? 2 : x == 45 && y == 50 ? 3 : 100 + 10 * ((x + y) % 2); });
  current_image().intensity_table[2] = 99999.9;
  current_image().intensity_table[3] = 99999.8;
  show_with(DisplayScale{});
  ASSERT_EQ(find(), 0);
  EXPECT_TRUE(masked(55, 50));
  EXPECT_FALSE(masked(45, 50));
  EXPECT_FALSE(masked(50, 50));
}

TEST_F(SpotFindTest, OnlyPixelsShownAboveLevelZeroTakePart) {
  // Edges 150..1000: the checkerboard shows at level 0; the bright pixel alone in its bin
  // has threshold 0 and is marked, its neighbours are not looked at.
  image_of([](int32_t x, int32_t y) { return x == 75 && y == 50 ? 200 : 100 + 10 * ((x + y) % 2); }, DisplayScale{1, 0, 1000, 150, 1000});
  ASSERT_EQ(find(), 0);
  EXPECT_EQ(marked_count(), 5);
  EXPECT_TRUE(masked(75, 50));
}

TEST_F(SpotFindTest, AlmostEdgeOnTiltSkipsDistancesOutsideTheBins) {
  // With a tilt near 90 degrees and a short camera length the tilt term drives distances
  // far past 36000 or below 0 on one side of the centre; those pixels are left out.
  image_of([](int32_t x, int32_t y) { return 100 + 10 * ((x + y) % 2); });
  set_parameter(&IntegrationParams::Phi, 89.99);
  set_parameter(&IntegrationParams::Lo, 0.5);
  set_parameter(&IntegrationParams::Beta, 0);
  ASSERT_EQ(find(), 0);
  EXPECT_EQ(said.lines().back(), "        y=   0 to   99");
}

TEST_F(SpotFindTest, RefusedAreaAndNoImage) {
  state().macro.MacroRecording = true;
  EXPECT_EQ(find_spot_command(), 1);
  EXPECT_EQ(log().back(), "find_spot() : Image data does not exist.");
  image_of([](int32_t, int32_t) { return 50; });
  set_centre(0, 0);
  the_log().clear_history();
  EXPECT_EQ(find_spot_command(), 2);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<    Find Spots    >>>>>"}));
  EXPECT_EQ(marked_count(), 0);
  EXPECT_EQ(state().macro.MacroList, (std::vector<std::string>{"Kestrin.FindSpot();", "Kestrin.FindSpot();"}));
}

TEST_F(SpotFindTest, MaskDiscsAreClippedToTheImage) {
  state().image_mask.resize(10, 10);
  paint_mask_disc(0, 0, 0, 8);
  int n = 0;
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x)
      if (state().image_mask.bytes[size_t(x + 10 * y)]) {
        ++n;
        EXPECT_LE(x * x + y * y, 16);
      }
  EXPECT_EQ(n, 17);  // the quarter disc of radius 4
  paint_mask_disc(1, 1, 1, 2);  // clears (1,1) and its edge neighbours
  EXPECT_EQ(state().image_mask.bytes[11], 0);
  EXPECT_EQ(state().image_mask.bytes[0], 1);
  paint_mask_disc(5, 5, 0, 2147483647);  // huge sizes stay inside the image
  for (uint8_t b : state().image_mask.bytes) EXPECT_EQ(b, 1);
}

}  // namespace
}  // namespace kestrin::test
