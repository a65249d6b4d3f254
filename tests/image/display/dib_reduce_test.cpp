// Colour reduction: the split rule, the empty ranges, the decision tree, and the three
// reductions against their slow references over a table of synthetic pictures.
#include <gtest/gtest.h>

#include "image/display/dib_reduce.h"
#include "image/display/reference_reduce.h"
#include "support/dib_fixture.h"

namespace kestrin {
namespace {

using test::RefPixel;
using test::read_pixels;

// The split channel of two classes of one count each whose channels differ by (dr, dg, db):
// the variances are dr^2/4 and so on, so the rule compares 4 dg^2 > 3 dr^2, 2 db^2 > 3 dr^2.
TEST(SplitColors, ChannelFollowsTheWeightedVariances) {
  const struct {
    int dr, dg, db;
    uint8_t channel;
  } cases[] = {
      {10, 9, 0, 1},   // 4 x 81 > 3 x 100: green
      {10, 8, 0, 0},   // 4 x 64 < 300: red
      {2, 0, 0, 0},    //
      {0, 0, 1, 2},    // only blue varies
      {10, 0, 13, 2},  // 2 x 169 > 300: blue
      {10, 0, 12, 0},  // 2 x 144 < 300
      {0, 1, 0, 1},    //
      {0, 0, 0, 0},    // no variance: red
      {10, 9, 13, 1},  // green is tested before blue
  };
  for (const auto& c : cases) {
    std::vector<ColorClass> classes = {{100, 100, 100, 1, 0, 0}, {100 + c.dr, 100 + c.dg, 100 + c.db, 1, 1, 0}};
    const SplitResult r = split_colors(classes, 1, {});
    EXPECT_EQ(r.tree[0].channel, c.channel) << c.dr << " " << c.dg << " " << c.db;
  }
}

// Values not above the weighted mean go first; leaves are truncated weighted means; empty
// ranges make no colour but still count their leaves.
TEST(SplitColors, PartitionsAroundTheMeanAndCountsEveryLeaf) {
  std::vector<ColorClass> classes = {{10, 0, 0, 3, 0, 0}, {20, 0, 0, 1, 1, 0}, {13, 0, 0, 1, 2, 0}};
  int steps = 0;
  SplitResult r = split_colors(classes, 1, [&] { ++steps; });
  // Mean of red: (30 + 20 + 13) / 5 = 12.6: 10 goes first, 13 and 20 second.
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(r.tree[0].threshold, 12);
  ASSERT_EQ(r.palette.size(), 2u);
  EXPECT_EQ(r.palette[0], (RGBQuad{0, 0, 10, 0}));
  EXPECT_EQ(r.palette[1], (RGBQuad{0, 0, 16, 0}));  // (20 + 13) / 2 = 16.5 truncated
  for (const ColorClass& c : classes) EXPECT_EQ(c.index, c.key == 0 ? 0u : 1u);

  std::vector<ColorClass> one = {{1, 2, 3, 7, 0, 0}};
  steps = 0;
  r = split_colors(one, 8, [&] { ++steps; });
  EXPECT_EQ(steps, 256);
  EXPECT_EQ(r.palette.size(), 1u);
  EXPECT_EQ(r.tree.size(), 511u);
  std::vector<ColorClass> none;
  steps = 0;
  EXPECT_TRUE(split_colors(none, 4, [&] { ++steps; }).palette.empty());
  EXPECT_EQ(steps, 16);
}

TEST(SplitColors, TheTreeLeadsEveryClassToItsEntry) {
  std::vector<ColorClass> classes;
  for (int i = 0; i < 300; ++i) {
    const uint32_t c = test::hash_color(i, 0, 5);
    classes.push_back({int32_t(c >> 16), int32_t((c >> 8) & 255), int32_t(c & 255), uint32_t(1 + i % 3), uint32_t(i), 0});
  }
  const SplitResult r = split_colors(classes, 8, {});
  for (const ColorClass& c : classes) {
    const uint8_t bgr[3] = {uint8_t(c.blue), uint8_t(c.green), uint8_t(c.red)};
    ASSERT_EQ(walk_split_tree(r.tree, bgr, "Walk"), c.index) << c.key;
  }
  // Each internal node sends values not above its threshold to its first child.
  const SplitNode& root = r.tree[0];
  ASSERT_LT(root.channel, 3);
  std::vector<SplitNode> broken = r.tree;
  broken[0].channel = 4;
  const uint8_t black[3] = {0, 0, 0};
  try {
    walk_split_tree(broken, black, "ConvertTrueColorTo8BitRGBHigh");
    ADD_FAILURE() << "no error";
  } catch (const EKsDIBAssertion& e) {
    EXPECT_STREQ(e.what(), "ConvertTrueColorTo8BitRGBHigh: Invalid DivideID");
  }
}

struct ReducedPicture {
  std::vector<RGBQuad> palette;
  std::vector<int> index;
};

ReducedPicture picture_of(const DibInfo& block) {
  ReducedPicture out;
  out.palette.assign(block.colors.begin(), block.colors.begin() + block.header.biClrUsed);
  const int rows = block.rows();
  for (int y = 0; y < rows; ++y) {
    const int stored = block.header.biHeight > 0 ? rows - 1 - y : y;
    const uint8_t* row = block.row(stored);
    for (int x = 0; x < block.width(); ++x)
      out.index.push_back(block.header.biBitCount == 8 ? row[x] : x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
  }
  return out;
}

void expect_same(const DibInfo& got, const test::RefReduction& want, const std::string& name) {
  const ReducedPicture g = picture_of(got);
  EXPECT_EQ(g.palette, want.palette) << name;
  EXPECT_EQ(g.index, want.index) << name;
  EXPECT_EQ(got.header.biClrUsed, want.palette.size()) << name;
}

struct Picture {
  const char* name;
  int width, height;
  std::function<uint32_t(int, int)> color;
};

const Picture kPictures[] = {
    {"noise 37x11", 37, 11, [](int x, int y) { return test::hash_color(x, y, 1); }},
    {"noise top-down 19x13", 19, -13, [](int x, int y) { return test::hash_color(x, y, 2); }},
    {"gradient 64x9", 64, 9, [](int x, int y) { return uint32_t(x * 4) << 16 | uint32_t(y * 28) << 8 | uint32_t(255 - x * 2); }},
    {"few colours 9x1", 9, 1, [](int x, int) { return x % 3 == 0 ? 0xFF0000u : x % 3 == 1 ? 0x00FF00u : 0x0000FFu; }},
    {"grey 1x3", 1, 3, [](int, int y) { return uint32_t(y * 0x404040); }},
};

TEST(TrueColorReduction, BinnedAndExactMatchTheirReferences) {
  for (const Picture& p : kPictures) {
    const TKsDIB dib = test::make_picture(24, p.width, p.height, p.color);
    const std::vector<RefPixel> pixels = read_pixels(dib);
    for (uint16_t bits : {uint16_t(4), uint16_t(8)}) {
      const int depth = bits == 8 ? 8 : 4;
      int steps = 0;
      const ProgressStep step = [&] { ++steps; };
      const test::RefReduction low = test::reference_low(pixels, depth);
      expect_same(ConvertTrueColorToIndexedLow(dib.internal(), bits, step), low, std::string(p.name) + " low");
      EXPECT_EQ(steps, 1 << depth);
      const test::RefReduction high = test::reference_high(pixels, depth);
      expect_same(ConvertTrueColorToIndexedHigh(dib.internal(), bits, step), high, std::string(p.name) + " high");
      EXPECT_EQ(steps, 2 << depth);
    }
  }
}

TEST(TrueColorReduction, TenColoursKeepTheirOwnEntries) {
  const uint32_t colors[10] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x808000, 0x008080, 0x800080, 0x204060, 0xC0A080};
  const TKsDIB dib = test::make_picture(24, 23, 7, [&](int x, int y) { return colors[(x + 3 * y) % 10]; });
  for (auto convert : {&ConvertTrueColorToIndexedLow, &ConvertTrueColorToIndexedHigh}) {
    const DibInfo out = convert(dib.internal(), 8, {});
    EXPECT_LE(out.header.biClrUsed, 10u);
    const ReducedPicture r = picture_of(out);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 23; ++x) {
        const RGBQuad& q = r.palette[size_t(r.index[size_t(y * 23 + x)])];
        ASSERT_EQ(uint32_t(q.red) << 16 | uint32_t(q.green) << 8 | q.blue, colors[(x + 3 * y) % 10]) << x << "," << y;
      }
  }
  // Colours that share a 5-6-5 bin merge to their mean in the binned reduction.
  const TKsDIB shared = test::make_picture(24, 2, 1, [](int x, int) { return x ? 0x0A0A0Au : 0x080808u; });
  const DibInfo low = ConvertTrueColorToIndexedLow(shared.internal(), 8, {});
  ASSERT_EQ(low.header.biClrUsed, 1u);
  EXPECT_EQ(low.colors[0], (RGBQuad{9, 9, 9, 0}));
}

// Large pictures count their colours in a table of all colours instead of a sorted list;
// a picture of repeated tiles reduces as one tile does (every count scales alike).
TEST(TrueColorReduction, ExactReductionOfALargePictureMatchesItsTile) {
  auto tile_color = [](int x, int y) { return test::hash_color(x % 64, y % 64, 9) & 0xF0F0F0; };
  const TKsDIB tile = test::make_picture(24, 64, 64, tile_color);
  const TKsDIB large = test::make_picture(24, 64 * 17, 64 * 16, tile_color);
  const ReducedPicture small = picture_of(ConvertTrueColorToIndexedHigh(tile.internal(), 8, {}));
  const ReducedPicture big = picture_of(ConvertTrueColorToIndexedHigh(large.internal(), 8, {}));
  EXPECT_EQ(big.palette, small.palette);
  for (int y = 0; y < 64 * 16; y += 37)
    for (int x = 0; x < 64 * 17; x += 13)
      ASSERT_EQ(big.index[size_t(y * 64 * 17 + x)], small.index[size_t((y % 64) * 64 + x % 64)]) << x << "," << y;
}

TEST(IndexedReduction, EightToFourBitsMatchesItsReference) {
  for (const Picture& p : kPictures) {
    const TKsDIB dib = test::make_picture(
        8, p.width, p.height, [&](int x, int y) { return p.color(x, y) % 251; },
        [](int i) { return test::hash_color(i, 0, 3); });
    const test::RefReduction want = test::reference_8_to_4(read_pixels(dib));
    int steps = 0;
    expect_same(Convert8BitRGBTo4BitRGB(dib.internal(), [&] { ++steps; }), want, p.name);
    EXPECT_EQ(steps, 16);
  }
}

TEST(Reductions, RefuseOtherDepthsWithTheirNames) {
  const TKsDIB eight = test::make_picture(8, 3, 3, [](int, int) { return 1u; });
  const TKsDIB true_color = test::make_picture(24, 3, 3, [](int, int) { return 1u; });
  const struct {
    std::function<void()> convert;
    const char* message;
  } cases[] = {
      {[&] { ConvertTrueColorToIndexedLow(eight.internal(), 8, {}); }, "ConvertTrueColorTo8BitRGBLow: Invalid Bitcount"},
      {[&] { ConvertTrueColorToIndexedLow(eight.internal(), 4, {}); }, "ConvertTrueColorTo4BitRGBLow: Invalid Bitcount"},
      {[&] { ConvertTrueColorToIndexedHigh(eight.internal(), 8, {}); }, "ConvertTrueColorTo8BitRGBHigh: Invalid Bitcount"},
      {[&] { Convert8BitRGBTo4BitRGB(true_color.internal(), {}); }, "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression"},
  };
  for (const auto& c : cases) {
    try {
      c.convert();
      ADD_FAILURE() << c.message;
    } catch (const EKsDIBBadDIBType& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kestrin
