// Merging images: the picture's size per rotation, each rotation's pixel order against numpy
// on files written by fabio, the area checks of the first and of every later image, the
// display levels and the gauge's rules. The current image never changes.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "image/image_store.h"
#include "image/loading_fixture.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "ports/log.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class MergeTest : public LoadingTest {
protected:
  Report log_ = log_report();
  // An R-AXIS image whose code at (x, y) is 100 y + x + base.
  std::string ramp(const std::string& name, int32_t w, int32_t h, uint16_t base = 0) {
    RaxisFixture f;
    f.width = w;
    f.height = h;
    f.codes.resize(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) f.codes[size_t(x + w * y)] = uint16_t(100 * y + x + base);
    return f.write(dir_.file(name));
  }
  MergeState& m() { return merge_state(); }
  uint16_t code(int32_t x, int32_t y) { return m().MergeCodes[size_t(x) + size_t(m().width) * size_t(y)]; }
};

TEST_F(MergeTest, ThreeRectanglesStackBelowEachOtherTurnedOrNot) {
  const Lines files = {ramp("a.img", 120, 60), ramp("b.img", 120, 60, 1), ramp("c.img", 120, 60, 2)};
  const MergeArea area{0, 0, 99, 49};
  ASSERT_TRUE(merge_images(files, area, kRotate0, 1, log_));
  EXPECT_EQ(m().width, 100);
  EXPECT_EQ(m().height, 150);
  EXPECT_EQ(m().MergeDIB.Width(), 100);
  EXPECT_EQ(m().MergeDIB.Height(), 150);
  EXPECT_EQ(m().MergeDIB.BitCount(), 8);
  EXPECT_EQ(code(7, 3), 307);
  EXPECT_EQ(code(7, 53), 308);   // the second file's block
  EXPECT_EQ(code(99, 149), 5001);  // the third's last pixel
  ASSERT_TRUE(merge_images(files, area, kRotate90, 1, log_));
  EXPECT_EQ(m().width, 50);
  EXPECT_EQ(m().height, 300);
  EXPECT_TRUE(m().Merged);
  EXPECT_TRUE(log().empty()) << log().front();
  EXPECT_EQ(img().NoImageFlag, 1);  // the current image is untouched
}

// Each rotation of two 3 x 2 images written by fabio, against numpy's rotations.
TEST_F(MergeTest, EachRotationsPixelOrderMatchesNumpy) {
  KESTRIN_REQUIRE_PEER("fabio");
  std::string out;
  const std::string script = "import numpy as np, fabio.tifimage, os\nos.chdir('" + dir_.path() + "')\n" + R"(
p = [np.array([[1, 2, 3], [4, 5, 6]], dtype=np.uint16), np.array([[11, 12, 13], [14, 15, 16]], dtype=np.uint16)]
for i, q in enumerate(p):
    fabio.tifimage.tifimage(data=q).write('p%d.tif' % i)
for turn in (lambda q: q, lambda q: np.rot90(q, -1), lambda q: q[::-1, ::-1], lambda q: np.rot90(q, 1)):
    m = np.vstack([turn(q) for q in p])
    print(m.shape[1], m.shape[0], ' '.join(str(v) for v in m.flatten()))
)";
  ASSERT_EQ(run_peer_script(dir_, script, &out), 0) << out;
  std::istringstream expected(out);
  for (int32_t rotation = kRotate0; rotation <= kRotate270; ++rotation) {
    SCOPED_TRACE(rotation);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(expected >> w >> h) << out;
    ASSERT_TRUE(merge_images({dir_.file("p0.tif"), dir_.file("p1.tif")}, {0, 0, 2, 1}, rotation, 1, log_));
    ASSERT_EQ(m().width, w);
    ASSERT_EQ(m().height, h);
    for (uint16_t c : m().MergeCodes) {
      int v = 0;
      ASSERT_TRUE(expected >> v);
      EXPECT_EQ(c, v);
    }
  }
}

TEST_F(MergeTest, TheRectangleMustLieInsideTheFirstImage) {
  const Lines files = {ramp("a.img", 40, 30)};
  const MergeArea refused[] = {{5, 5, 5, 20},  {5, 5, 20, 5},   {-1, 0, 10, 10}, {0, -1, 10, 10},
                               {0, 0, 40, 10}, {0, 0, 10, 30}, {20, 0, 10, 10}};
  for (const MergeArea& a : refused) {
    SCOPED_TRACE(testing::Message() << a.left << "," << a.top << "," << a.right << "," << a.bottom);
    the_log().clear_history();
    EXPECT_FALSE(merge_images(files, a, kRotate0, 1, log_));
    EXPECT_EQ(log(), Lines{"Create Merge Image. Area Error."});
    EXPECT_FALSE(m().Merged);
  }
  EXPECT_TRUE(merge_images(files, {0, 0, 39, 29}, kRotate0, 1, log_));  // the whole image
}

TEST_F(MergeTest, AnEmptyListIsRefusedAndABlankFirstLineStopsSilently) {
  EXPECT_FALSE(merge_images({}, {0, 0, 1, 1}, kRotate0, 1, log_));
  EXPECT_EQ(log(), Lines{"Create Merge Image. File Num Error."});
  the_log().clear_history();
  EXPECT_FALSE(merge_images({" \t\r", ramp("a.img", 4, 4)}, {0, 0, 1, 1}, kRotate0, 1, log_));
  EXPECT_TRUE(log().empty());
  EXPECT_FALSE(m().Merged);
}

// A later image that is smaller than the rectangle, or that does not load, leaves its block
// at code 0 with a line naming it; the others are merged.
TEST_F(MergeTest, ALaterImageWithoutTheRectangleLeavesItsBlockBlack) {
  const std::string missing = dir_.file("missing.img");
  const Lines files = {ramp("a.img", 20, 10, 1), ramp("small.img", 8, 10, 1), missing, "", ramp("b.img", 20, 10, 2)};
  ASSERT_TRUE(merge_images(files, {2, 1, 11, 4}, kRotate0, 1, log_));
  ASSERT_EQ(m().height, 20);
  for (int32_t block : {1, 2, 3})
    for (int32_t y = 4 * block; y < 4 * block + 4; ++y)
      for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(code(x, y), 0) << x << "," << y;
  EXPECT_EQ(code(0, 0), 103);
  EXPECT_EQ(code(9, 19), 413);
  EXPECT_EQ(log(), (Lines{"Create Merge Image. Area Error. " + files[1],
                          " merge_images() : Cannot open " + missing + ": No such file or directory.",
                          "Create Merge Image. Area Error. " + missing, " merge_images() : No file selected. ",
                          "Create Merge Image. Area Error. "}));
}

TEST_F(MergeTest, LevelsTruncateBetweenTheEdgesThroughTheLastImagesTable) {
  RaxisFixture f;
  f.width = 8;
  f.height = 2;
  f.overflow_ratio = 4.0f;
  // Intensities 0, 99, 100, 101, 150, 199, 200, 201, then 32768 + 30 (120) and 32768 + 60 (240).
  f.codes = {0, 99, 100, 101, 150, 199, 200, 201, 32798, 32828, 0, 0, 0, 0, 0, 0};
  const std::string path = f.write(dir_.file("levels.img"));
  m().gauge = MergeGauge{0, 1000, 100, 200};
  ASSERT_TRUE(merge_images({path}, {0, 0, 7, 1}, kRotate0, 1, log_));
  const uint8_t* row0 = m().MergeDIB.ScanLine(0);
  const uint8_t* row1 = m().MergeDIB.ScanLine(1);
  const std::vector<int> expected = {0, 0, 0, 2, 127, 252, 255, 255};
  for (size_t x = 0; x < 8; ++x) EXPECT_EQ(row0[x], expected[x]) << x;
  EXPECT_EQ(row1[0], 51);   // Trunc((120 - 100) / 100 * 255)
  EXPECT_EQ(row1[1], 255);
  // The log scale reads the log table: Trunc of each code's log value.
  m().gauge = MergeGauge{0, 10000, 0, 10000};
  build_merge_levels(m(), 0);
  const double log_of_150 = m().log_table[150];
  EXPECT_EQ(m().MergeDIB.ScanLine(0)[4], uint8_t(std::trunc(std::trunc(log_of_150) / 10000 * 255)));
}

TEST_F(MergeTest, TheGaugeEdgeRules) {
  MergeGauge g;
  MergeGaugeDrag d{true};
  // A drag near the low edge moves the low edge; the first move's choice holds.
  EXPECT_TRUE(drag_gauge(g, d, gauge_value(g, 40, 400)));
  EXPECT_EQ(g.low, 100);
  EXPECT_FALSE(d.high);
  EXPECT_TRUE(drag_gauge(g, d, gauge_value(g, 399, 400)));
  EXPECT_EQ(g.low, 997);
  EXPECT_FALSE(drag_gauge(g, d, 1000));  // onto the high edge: refused
  EXPECT_EQ(g.low, 997);
  // The high edge cannot reach the low one.
  g = MergeGauge{0, 1000, 500, 900};
  d = MergeGaugeDrag{true};
  EXPECT_TRUE(drag_gauge(g, d, 800));
  EXPECT_TRUE(d.high);
  EXPECT_FALSE(drag_gauge(g, d, 500));
  EXPECT_FALSE(drag_gauge(g, d, 400));
  EXPECT_TRUE(drag_gauge(g, d, 501));
  EXPECT_EQ(g.high, 501);
  EXPECT_FALSE(drag_gauge(g, d, 1001));  // past the range
  // A tie takes the high edge.
  g = MergeGauge{0, 1000, 400, 600};
  d = MergeGaugeDrag{true};
  drag_gauge(g, d, 500);
  EXPECT_TRUE(d.high);

  // The edits' rules.
  g = MergeGauge{0, 1000, 100, 200};
  enter_low_edge(g, 300);
  EXPECT_EQ(g.min, 300);
  EXPECT_EQ(g.low, 300);
  EXPECT_EQ(g.high, 301);
  enter_low_edge(g, 1000);  // not below max: the range stays
  EXPECT_EQ(g.min, 300);
  enter_high_edge(g, 250);  // not above min: the range stays
  EXPECT_EQ(g.max, 1000);
  g = MergeGauge{0, 1000, 700, 900};
  enter_high_edge(g, 600);
  EXPECT_EQ((std::array{g.min, g.max, g.low, g.high}), (std::array{0, 600, 0, 600}));
}

TEST_F(MergeTest, TheGaugePictureTruncatesColumnsAndDrawsNothingOutOfOrder) {
  const std::optional<GaugePicture> p = gauge_picture({0, 1000, 250, 751}, 10);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->low_column, 2);   // Trunc(2.5)
  EXPECT_EQ(p->high_column, 7);  // Trunc(7.51)
  EXPECT_EQ(p->row, (std::vector<uint8_t>{0, 0, 0, 63, 127, 191, 255, 255, 255, 255}));
  const MergeGauge nothing[] = {{5, 5, 5, 5}, {0, 1000, 600, 500}, {100, 1000, 50, 500}, {0, 1000, 0, 1001},
                                {0, 1000, 500, 550}, {0, 1000, 500, 600}};
  for (const MergeGauge& g : nothing) EXPECT_FALSE(gauge_picture(g, 10)) << g.min << " " << g.max << " " << g.low << " " << g.high;
}

}  // namespace
}  // namespace kestrin::test
