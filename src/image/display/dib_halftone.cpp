// Serpentine error diffusion: even storage rows left to right, odd rows right to left. Each
// channel's adjusted value is its value minus (12 e(above) + 12 e(pixel just done) +
// 5 e(above, on the side the scan comes from)) / 32, the division truncating toward zero.
#include "image/display/dib_halftone.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "image/display/dib_depth.h"
#include "image/display/dib_rle.h"

namespace kestrin {
namespace {

constexpr uint8_t kRedLevels[] = {0, 51, 102, 153, 204, 255};
constexpr uint8_t kGreenLevels[] = {0, 43, 85, 128, 171, 214, 255};
constexpr uint8_t kBlueLevels[] = {0, 64, 128, 192, 255};

// Adjusted values are looked up over -256..512.
constexpr int kBandLow = -256, kBandHigh = 512;

// The level of each adjusted value for one channel: level k from lower_edges[k].
struct Bands {
  uint8_t level[kBandHigh - kBandLow + 1];
  int16_t value[kBandHigh - kBandLow + 1];  // the chosen level's channel value
  Bands(std::initializer_list<int> lower_edges, const uint8_t* values) {
    for (int a = kBandLow; a <= kBandHigh; ++a) {
      int k = 0;
      for (int edge : lower_edges)
        if (a >= edge) ++k;
      level[a - kBandLow] = uint8_t(k);
      value[a - kBandLow] = values[k];
    }
  }
};

const Bands& red_bands() {
  static const Bands b({26, 77, 128, 179, 231}, kRedLevels);
  return b;
}
const Bands& green_bands() {
  static const Bands b({22, 64, 107, 150, 193, 234}, kGreenLevels);
  return b;
}
const Bands& blue_bands() {
  static const Bands b({32, 96, 160, 224}, kBlueLevels);
  return b;
}

// The decoded picture of a run-length source; nothing for uncompressed 1, 4, 8 or 24 bits.
std::optional<DibInfo> decoded_source(const DibInfo& src, const char* name) {
  const auto& h = src.header;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24)
    throw EKsDIBBadDIBType(std::string(name) + ": Invalid Bit Count");
  if (h.biCompression == BI_RLE8 && h.biBitCount == 8) return Convert8BitRLETo8BitRGB(src);
  if (h.biCompression == BI_RLE4 && h.biBitCount == 4) return Convert4BitRLETo4BitRGB(src);
  if (h.biCompression != BI_RGB) throw EKsDIBBadDIBType(std::string(name) + ": Invalid DIB Format");
  return std::nullopt;
}

// The channel values of a stored row, chosen once per picture: the bytes of a 24-bit row,
// or planes filled from the colour table for indexed rows.
struct TrueColorValues {
  const uint8_t* row = nullptr;
  void fetch(const DibInfo& src, int32_t r) { row = src.row(r); }
  int operator()(int channel, int32_t x) const { return row[3 * x + 2 - channel]; }
};

struct IndexedValues {
  std::vector<int16_t> plane[3];  // red, green, blue
  explicit IndexedValues(int32_t width) {
    for (auto& p : plane) p.resize(size_t(width));
  }
  void fetch(const DibInfo& src, int32_t r) {
    const uint8_t* row = src.row(r);
    with_indexed_depth(src.header.biBitCount, [&](auto depth) {
      for (int32_t x = 0; x < src.width(); ++x) {
        const RGBQuad& q = src.colors[indexed_pixel(row, x, depth())];
        plane[0][size_t(x)] = q.red;
        plane[1][size_t(x)] = q.green;
        plane[2][size_t(x)] = q.blue;
      }
    });
  }
  int operator()(int channel, int32_t x) const { return plane[channel][size_t(x)]; }
};

// The errors of the previous row and of the current one per channel, each with a spare entry
// at both ends (entry x + 1 belongs to pixel x), and the previous row's part of each sum.
struct ErrorRows {
  std::vector<int16_t> previous[3], current[3];
  std::vector<int32_t> above[3];  // 12 e(above) + 5 e(above, on the side the scan comes from)
  explicit ErrorRows(int32_t width) {
    for (int c = 0; c < 3; ++c) {
      previous[c].resize(size_t(width) + 2);
      current[c].resize(size_t(width) + 2);
      above[c].resize(size_t(width));
    }
  }
  void next_row() {
    for (int c = 0; c < 3; ++c) previous[c].swap(current[c]);
  }
};

// One stored row in the direction Step (+1 left to right, -1 right to left). The kernel's
// pixel(x, adjusted, errors) turns the three adjusted values of pixel x into its result and
// the three errors; the carried error starts at 0 (the spare entry before the first pixel).
template <int Step, typename Values, typename Kernel>
void diffuse_row(const Values& values, ErrorRows& errors, int32_t width, Kernel kernel) {
  // The previous row's part of every sum, for the whole row at once.
  for (int c = 0; c < 3; ++c) {
    const int16_t* previous = errors.previous[c].data() + 1;
    int32_t* above = errors.above[c].data();
    for (int32_t x = 0; x < width; ++x) above[x] = 12 * previous[x] + 5 * previous[x - Step];
  }
  const int32_t* __restrict a0 = errors.above[0].data();
  const int32_t* __restrict a1 = errors.above[1].data();
  const int32_t* __restrict a2 = errors.above[2].data();
  int16_t* __restrict e0 = errors.current[0].data() + 1;
  int16_t* __restrict e1 = errors.current[1].data() + 1;
  int16_t* __restrict e2 = errors.current[2].data() + 1;
  int c0 = 0, c1 = 0, c2 = 0;
  int32_t x = Step > 0 ? 0 : width - 1;
  for (int32_t i = 0; i < width; ++i, x += Step) {
    int adjusted[3] = {values(0, x) - (a0[x] + 12 * c0) / 32, values(1, x) - (a1[x] + 12 * c1) / 32,
                       values(2, x) - (a2[x] + 12 * c2) / 32};
    int error[3];
    kernel.pixel(x, adjusted, error);
    e0[x] = int16_t(c0 = error[0]);
    e1[x] = int16_t(c1 = error[1]);
    e2[x] = int16_t(c2 = error[2]);
  }
}

// Runs the diffusion over every stored row of src; the kernel's begin_row(out) and
// end_row() bracket each row of dst, and its row_kernel() gives the per-pixel step.
template <typename Values, typename Kernel>
void diffuse_rows(const DibInfo& src, DibInfo& dst, Values& values, Kernel& kernel) {
  const int32_t width = src.width();
  ErrorRows errors(width);
  for (int32_t r = 0; r < src.rows(); ++r) {
    values.fetch(src, r);
    kernel.begin_row(dst.row(r));
    if (r % 2 == 0) diffuse_row<1>(values, errors, width, kernel.row_kernel());
    else diffuse_row<-1>(values, errors, width, kernel.row_kernel());
    kernel.end_row();
    errors.next_row();
  }
}

template <typename Kernel>
void diffuse(const DibInfo& src, DibInfo& dst, Kernel& kernel) {
  if (src.header.biBitCount == 24) {
    TrueColorValues values;
    diffuse_rows(src, dst, values, kernel);
  } else {
    IndexedValues values(src.width());
    diffuse_rows(src, dst, values, kernel);
  }
}

// The colour halftone: each channel's level from its band, index r x 35 + g x 5 + b.
struct ColorKernel {
  struct Row {
    const Bands* bands[3];
    uint8_t* out;
    void pixel(int32_t x, const int adjusted[3], int error[3]) const {
      int level[3];
      for (int c = 0; c < 3; ++c) {
        const int a = std::clamp(adjusted[c], kBandLow, kBandHigh) - kBandLow;
        level[c] = bands[c]->level[a];
        error[c] = bands[c]->value[a] - adjusted[c];
      }
      out[x] = uint8_t(level[0] * 35 + level[1] * 5 + level[2]);
    }
  };
  uint8_t* out = nullptr;
  void begin_row(uint8_t* row) { out = row; }
  void end_row() {}
  Row row_kernel() const { return Row{{&red_bands(), &green_bands(), &blue_bands()}, out}; }
};

// Black and white: white when the adjusted channels add up to 384 or more. The row's
// decisions are packed into bits once the row is done.
struct BlackWhiteKernel {
  struct Row {
    uint8_t* white;
    void pixel(int32_t x, const int adjusted[3], int error[3]) const {
      const int is_white = adjusted[0] + adjusted[1] + adjusted[2] >= 384;
      white[x] = uint8_t(is_white);
      const int target = -is_white & 255;
      for (int c = 0; c < 3; ++c) error[c] = target - adjusted[c];
    }
  };
  std::vector<uint8_t> white;
  uint8_t* out = nullptr;
  explicit BlackWhiteKernel(int32_t width) : white(size_t(width)) {}
  void begin_row(uint8_t* row) { out = row; }
  void end_row() {
    for (size_t x = 0; x < white.size(); x += 8) {
      uint8_t byte = 0;
      for (size_t k = 0; k < 8 && x + k < white.size(); ++k) byte |= uint8_t(white[x + k] << (7 - k));
      out[x / 8] = byte;
    }
  }
  Row row_kernel() { return Row{white.data()}; }
};

// The diffusion of a source (run-length ones decoded first) into a result of `bit_count` bits
// with the given palette.
template <size_t N, typename Kernel>
DibInfo halftone(const DibInfo& source, const char* name, uint16_t bit_count, const std::array<RGBQuad, N>& palette,
                 Kernel&& kernel) {
  const std::optional<DibInfo> decoded = decoded_source(source, name);
  const DibInfo& src = decoded ? *decoded : source;
  DibInfo dst = new_uncompressed_like(src, bit_count);
  dst.header.biClrUsed = uint32_t(N);
  std::copy(palette.begin(), palette.end(), dst.colors.begin());
  diffuse(src, dst, kernel);
  return dst;
}

}  // namespace

const std::array<RGBQuad, 215>& halftone_palette() {
  static const std::array<RGBQuad, 215> palette = [] {
    std::array<RGBQuad, 215> p{};
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 7; ++g)
        for (int b = 0; b < 5; ++b) p[size_t(r * 35 + g * 5 + b)] = RGBQuad{kBlueLevels[b], kGreenLevels[g], kRedLevels[r], 0};
    // $000080, $008080, $800080, $C0C0C0, $808080 as blue, green, red.
    p[210] = RGBQuad{0, 0, 128, 0};
    p[211] = RGBQuad{0, 128, 128, 0};
    p[212] = RGBQuad{128, 0, 128, 0};
    p[213] = RGBQuad{192, 192, 192, 0};
    p[214] = RGBQuad{128, 128, 128, 0};
    return p;
  }();
  return palette;
}

const std::array<RGBQuad, 2>& halftone_bw_palette() {
  static const std::array<RGBQuad, 2> palette{RGBQuad{0, 0, 0, 0}, RGBQuad{255, 255, 255, 0}};
  return palette;
}

DibInfo ConvertToHalfTone(const DibInfo& source) {
  return halftone(source, "ConvertToHalfTone", 8, halftone_palette(), ColorKernel{});
}

DibInfo ConvertToHalfToneBW(const DibInfo& source) {
  return halftone(source, "ConvertToHalfToneBW", 1, halftone_bw_palette(), BlackWhiteKernel(source.width()));
}

}  // namespace kestrin
