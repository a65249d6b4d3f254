// Colour reduction by variance splitting: the binned ("Low") and exact ("High") reductions of
// 24-bit pictures to 16 or 256 colours, and the reduction of 8-bit pictures to 16 colours.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "image/display/dib_types.h"

namespace kestrin {

// Called once per leaf of the split tree: 2^depth times per reduction.
using ProgressStep = std::function<void()>;

// A class of pixels of one colour with its pixel count and its key (the bin code, or the old
// palette index); `index` receives its palette entry. The split reorders the classes.
struct ColorClass {
  int32_t red = 0, green = 0, blue = 0;
  uint32_t count = 0;
  uint32_t key = 0;
  uint32_t index = 0;
};

// One node of the split tree: a channel (0 red, 1 green, 2 blue) and its threshold, pixels
// with a value not above it going to `first`; or a leaf (channel 3) with its palette index.
struct SplitNode {
  uint8_t channel = 3;
  int32_t threshold = 0;
  int32_t first = -1, second = -1;
  uint8_t index = 0;
};

struct SplitResult {
  std::vector<RGBQuad> palette;  // one entry per non-empty leaf, in tree order
  std::vector<SplitNode> tree;   // the root first
};

// Splits the classes recursively to `depth` levels: each range is split on the channel of
// the largest weighted variance (weights red 3, green 4, blue 2) around that channel's
// count-weighted mean; a non-empty range at `depth` becomes one palette entry, the truncated
// weighted means, and its classes get that entry's index. Empty ranges still recurse, so
// `step` runs 2^depth times. The arithmetic is exact in integers.
SplitResult split_colors(std::span<ColorClass> classes, int depth, const ProgressStep& step);

// The palette index the tree gives a colour. A node with a channel outside 0..3 raises
// EKsDIBAssertion "<name>: Invalid DivideID".
uint8_t walk_split_tree(const std::vector<SplitNode>& tree, const uint8_t bgr[3], const char* name);

// 24-bit to 16 (`bit_count` 4) or 256 (8) colours. Low bins the pixels by their 5-6-5 code
// first (65,536 classes at most); High splits the pixels' exact colours and maps each pixel
// through the split tree.
DibInfo ConvertTrueColorToIndexedLow(const DibInfo& src, uint16_t bit_count, const ProgressStep& step);
DibInfo ConvertTrueColorToIndexedHigh(const DibInfo& src, uint16_t bit_count, const ProgressStep& step);
// 8-bit to 16 colours: one class per palette index in use.
DibInfo Convert8BitRGBTo4BitRGB(const DibInfo& src, const ProgressStep& step);

}  // namespace kestrin
