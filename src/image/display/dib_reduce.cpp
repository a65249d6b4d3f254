// The variance split and the three reductions built on it. Every sum is an exact integer, so the
// order of the classes and the chunks of rows never change a result.
#include "image/display/dib_reduce.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/runtime_errors.h"

namespace kestrin {
namespace {

using Wide = __int128;

struct Stats {
  uint64_t n = 0;
  uint64_t sum[3] = {0, 0, 0};  // red, green, blue, weighted by the counts
  uint64_t squares[3] = {0, 0, 0};
};

int32_t channel_value(const ColorClass& c, int channel) {
  return channel == 0 ? c.red : channel == 1 ? c.green : c.blue;
}

Stats stats_of(std::span<const ColorClass> range) {
  Stats s;
  for (const ColorClass& c : range) {
    s.n += c.count;
    for (int ch = 0; ch < 3; ++ch) {
      const uint64_t v = uint64_t(channel_value(c, ch));
      s.sum[ch] += v * c.count;
      s.squares[ch] += v * v * c.count;
    }
  }
  return s;
}

// n^2 times the weighted variance of a channel.
Wide spread(const Stats& s, int channel) {
  return Wide(s.n) * Wide(s.squares[channel]) - Wide(s.sum[channel]) * Wide(s.sum[channel]);
}

// Green when 4 var(green) > 3 var(red), else blue when 2 var(blue) > 3 var(red), else red.
int split_channel(const Stats& s) {
  const Wide red = spread(s, 0);
  if (4 * spread(s, 1) > 3 * red) return 1;
  if (2 * spread(s, 2) > 3 * red) return 2;
  return 0;
}

class Splitter {
public:
  Splitter(int depth, const ProgressStep& step) : depth_(depth), step_(step) {}

  int32_t split(std::span<ColorClass> range, int level) {
    const auto node = int32_t(result.tree.size());
    result.tree.emplace_back();
    if (level == depth_) {
      make_leaf(range, node);
      if (step_) step_();
      return node;
    }
    size_t cut = 0;
    if (!range.empty()) {
      const Stats s = stats_of(range);
      const int channel = split_channel(s);
      // For integer values, v <= sum / n exactly when v <= floor(sum / n).
      const auto threshold = int32_t(s.sum[channel] / s.n);
      const auto middle = std::partition(range.begin(), range.end(), [&](const ColorClass& c) {
        return channel_value(c, channel) <= threshold;
      });
      cut = size_t(middle - range.begin());
      result.tree[size_t(node)].channel = uint8_t(channel);
      result.tree[size_t(node)].threshold = threshold;
    } else {
      result.tree[size_t(node)].channel = 0;  // no pixel reaches an empty range
    }
    const int32_t first = split(range.first(cut), level + 1);
    const int32_t second = split(range.subspan(cut), level + 1);
    result.tree[size_t(node)].first = first;
    result.tree[size_t(node)].second = second;
    return node;
  }

  SplitResult result;

private:
  void make_leaf(std::span<ColorClass> range, int32_t node) {
    if (range.empty()) return;
    const Stats s = stats_of(range);
    const auto index = uint8_t(result.palette.size());
    result.palette.push_back(RGBQuad{uint8_t(s.sum[2] / s.n), uint8_t(s.sum[1] / s.n), uint8_t(s.sum[0] / s.n), 0});
    for (ColorClass& c : range) c.index = index;
    result.tree[size_t(node)].index = index;
  }

  int depth_;
  const ProgressStep& step_;
};

void require_true_color(const DibInfo& src, const char* name) {
  if (src.header.biBitCount != 24 || src.header.biCompression != BI_RGB)
    throw EKsDIBBadDIBType(std::string(name) + ": Invalid Bitcount");
}

// The indexed result: 4 or 8 bits, the palette of the split, rows filled by the caller.
DibInfo indexed_result(const DibInfo& src, uint16_t bit_count, const SplitResult& split) {
  DibInfo dst;
  dst.header = src.header;
  dst.header.biBitCount = bit_count;
  dst.header.biCompression = BI_RGB;
  dst.header.biSizeImage = 0;
  dst.header.biClrUsed = uint32_t(split.palette.size());
  std::copy(split.palette.begin(), split.palette.end(), dst.colors.begin());
  dst.allocate_rows();
  return dst;
}

// Fills every row of dst with index(pixel) of the matching 24-bit row of src; 4-bit rows
// take two pixels per byte, the first in the high half.
template <typename Index>
void map_true_color_rows(const DibInfo& src, DibInfo& dst, Index index) {
  const int32_t width = src.width();
  for (int32_t r = 0; r < src.rows(); ++r) {
    const uint8_t* in = src.row(r);
    uint8_t* out = dst.row(r);
    if (dst.header.biBitCount == 8) {
      for (int32_t x = 0; x < width; ++x) out[x] = index(in + 3 * x);
    } else {
      for (int32_t x = 0; x < width; ++x) out[x >> 1] |= x & 1 ? index(in + 3 * x) : uint8_t(index(in + 3 * x) << 4);
    }
  }
}

int palette_depth_of(uint16_t bit_count) { return bit_count == 8 ? 8 : 4; }

uint32_t bin_code(const uint8_t* bgr) { return uint32_t(bgr[2] & 0xF8) << 8 | uint32_t(bgr[1] & 0xFC) << 3 | bgr[0] >> 3; }

// The 5-6-5 bins: per code the pixel count and the sums of the low bits dropped from red,
// green and blue. Rows are binned in chunks into 32-bit counters (a chunk's sums cannot
// overflow) that are added to the 64-bit totals.
struct Bins {
  std::vector<uint64_t> count, low_red, low_green, low_blue;
  Bins() : count(65536), low_red(65536), low_green(65536), low_blue(65536) {}
};

Bins bin_pixels(const DibInfo& src) {
  struct Chunk {
    uint32_t count, red, green, blue;
  };
  constexpr int64_t kChunkPixels = int64_t(1) << 28;  // 7 x 2^28 < 2^32
  Bins bins;
  std::vector<Chunk> chunk(65536);
  const int32_t width = src.width(), rows = src.rows();
  const int32_t chunk_rows = int32_t(std::max<int64_t>(1, kChunkPixels / width));
  for (int32_t r0 = 0; r0 < rows; r0 += chunk_rows) {
    std::fill(chunk.begin(), chunk.end(), Chunk{0, 0, 0, 0});
    for (int32_t r = r0; r < std::min(rows, r0 + chunk_rows); ++r) {
      const uint8_t* p = src.row(r);
      for (int32_t x = 0; x < width; ++x, p += 3) {
        Chunk& c = chunk[bin_code(p)];
        ++c.count;
        c.red += p[2] & 7;
        c.green += p[1] & 3;
        c.blue += p[0] & 7;
      }
    }
    for (size_t k = 0; k < 65536; ++k) {
      bins.count[k] += chunk[k].count;
      bins.low_red[k] += chunk[k].red;
      bins.low_green[k] += chunk[k].green;
      bins.low_blue[k] += chunk[k].blue;
    }
  }
  return bins;
}

// The exact colours of the picture with their counts, in colour order: a sorted list of
// packed colours for small pictures, a table of all 2^24 colours for large ones.
std::vector<ColorClass> distinct_colors(const DibInfo& src) {
  const int32_t width = src.width(), rows = src.rows();
  const int64_t pixels = int64_t(width) * rows;
  auto packed = [](const uint8_t* p) { return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; };
  auto add_class = [](std::vector<ColorClass>& out, uint32_t color, uint32_t count) {
    out.push_back(ColorClass{int32_t(color >> 16), int32_t((color >> 8) & 0xFF), int32_t(color & 0xFF), count, color, 0});
  };
  std::vector<ColorClass> classes;
  if (pixels <= (int64_t(1) << 20)) {
    std::vector<uint32_t> list;
    list.reserve(size_t(pixels));
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t x = 0; x < width; ++x) list.push_back(packed(src.row(r) + 3 * x));
    std::sort(list.begin(), list.end());
    for (size_t i = 0; i < list.size();) {
      size_t j = i;
      while (j < list.size() && list[j] == list[i]) ++j;
      add_class(classes, list[i], uint32_t(j - i));
      i = j;
    }
    return classes;
  }
  std::unique_ptr<uint32_t, decltype(&std::free)> table(static_cast<uint32_t*>(std::calloc(size_t(1) << 24, 4)), &std::free);
  if (!table) throw EOutOfMemory("Out of memory");
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t* p = src.row(r);
    for (int32_t x = 0; x < width; ++x, p += 3) ++table.get()[packed(p)];
  }
  for (uint32_t color = 0; color < (uint32_t(1) << 24); ++color)
    if (table.get()[color]) add_class(classes, color, table.get()[color]);
  return classes;
}

}  // namespace

SplitResult split_colors(std::span<ColorClass> classes, int depth, const ProgressStep& step) {
  Splitter splitter(depth, step);
  splitter.split(classes, 0);
  return std::move(splitter.result);
}

uint8_t walk_split_tree(const std::vector<SplitNode>& tree, const uint8_t bgr[3], const char* name) {
  const SplitNode* node = &tree[0];
  for (;;) {
    switch (node->channel) {
      case 0: node = &tree[size_t(node->threshold >= bgr[2] ? node->first : node->second)]; break;
      case 1: node = &tree[size_t(node->threshold >= bgr[1] ? node->first : node->second)]; break;
      case 2: node = &tree[size_t(node->threshold >= bgr[0] ? node->first : node->second)]; break;
      case 3: return node->index;
      default: throw EKsDIBAssertion(std::string(name) + ": Invalid DivideID");
    }
  }
}

DibInfo ConvertTrueColorToIndexedLow(const DibInfo& src, uint16_t bit_count, const ProgressStep& step) {
  require_true_color(src, bit_count == 8 ? "ConvertTrueColorTo8BitRGBLow" : "ConvertTrueColorTo4BitRGBLow");
  std::vector<ColorClass> classes;
  {
    const Bins bins = bin_pixels(src);
    for (uint32_t k = 0; k < 65536; ++k) {
      const uint64_t n = bins.count[k];
      if (n == 0) continue;
      // The bin's colour: its base plus the mean of the dropped low bits.
      classes.push_back(ColorClass{int32_t((k >> 11) << 3) + int32_t(bins.low_red[k] / n),
                                   int32_t(((k >> 5) & 63) << 2) + int32_t(bins.low_green[k] / n),
                                   int32_t((k & 31) << 3) + int32_t(bins.low_blue[k] / n), uint32_t(n), k});
    }
  }
  const SplitResult split = split_colors(classes, palette_depth_of(bit_count), step);
  std::vector<uint8_t> table(65536);
  for (const ColorClass& c : classes) table[c.key] = uint8_t(c.index);
  DibInfo dst = indexed_result(src, bit_count, split);
  map_true_color_rows(src, dst, [&](const uint8_t* p) { return table[bin_code(p)]; });
  return dst;
}

DibInfo ConvertTrueColorToIndexedHigh(const DibInfo& src, uint16_t bit_count, const ProgressStep& step) {
  const char* name = bit_count == 8 ? "ConvertTrueColorTo8BitRGBHigh" : "ConvertTrueColorTo4BitRGBHigh";
  require_true_color(src, name);
  SplitResult split;
  {
    std::vector<ColorClass> classes = distinct_colors(src);
    split = split_colors(classes, palette_depth_of(bit_count), step);
  }
  DibInfo dst = indexed_result(src, bit_count, split);
  map_true_color_rows(src, dst, [&](const uint8_t* p) { return walk_split_tree(split.tree, p, name); });
  return dst;
}

DibInfo Convert8BitRGBTo4BitRGB(const DibInfo& src, const ProgressStep& step) {
  if (src.header.biBitCount != 8 || src.header.biCompression != BI_RGB)
    throw EKsDIBBadDIBType("Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
  uint64_t used[256] = {};
  for (int32_t r = 0; r < src.rows(); ++r) {
    const uint8_t* row = src.row(r);
    for (int32_t x = 0; x < src.width(); ++x) ++used[row[x]];
  }
  std::vector<ColorClass> classes;
  for (uint32_t i = 0; i < 256; ++i) {
    if (!used[i]) continue;
    const RGBQuad& q = src.colors[i];
    classes.push_back(ColorClass{q.red, q.green, q.blue, uint32_t(used[i]), i});
  }
  const SplitResult split = split_colors(classes, 4, step);
  uint8_t table[256] = {};
  for (const ColorClass& c : classes) table[c.key] = uint8_t(c.index);
  DibInfo dst = indexed_result(src, 4, split);
  for (int32_t r = 0; r < src.rows(); ++r) {
    const uint8_t* in = src.row(r);
    uint8_t* out = dst.row(r);
    for (int32_t x = 0; x < src.width(); ++x) out[x >> 1] |= x & 1 ? table[in[x]] : uint8_t(table[in[x]] << 4);
  }
  return dst;
}

}  // namespace kestrin
