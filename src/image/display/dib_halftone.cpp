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

// One stored row as three planes of channel values.
struct Planes {
  std::vector<int16_t> c[3];  // red, green, blue
  explicit Planes(int32_t width) {
    for (auto& p : c) p.resize(size_t(width));
  }
  void fetch(const DibInfo& src, int32_t r) {
    const uint8_t* row = src.row(r);
    const int32_t width = src.width();
    if (src.header.biBitCount == 24) {
      for (int32_t x = 0; x < width; ++x) {
        c[0][size_t(x)] = row[3 * x + 2];
        c[1][size_t(x)] = row[3 * x + 1];
        c[2][size_t(x)] = row[3 * x];
      }
      return;
    }
    with_indexed_depth(src.header.biBitCount, [&](auto depth) {
      for (int32_t x = 0; x < width; ++x) {
        const RGBQuad& q = src.colors[indexed_pixel(row, x, depth())];
        c[0][size_t(x)] = q.red;
        c[1][size_t(x)] = q.green;
        c[2][size_t(x)] = q.blue;
      }
    });
  }
};

// The error rows of one channel: the previous row and the current one, each with a spare
// entry at both ends (entry x + 1 belongs to pixel x).
struct ErrorRows {
  std::vector<int16_t> previous, current;
  explicit ErrorRows(int32_t width) : previous(size_t(width) + 2), current(size_t(width) + 2) {}
  void next_row() { previous.swap(current); }
};

// Runs the diffusion over every stored row of src into the same row of dst.
// `pixel(out_row, x, adjusted, errors)` receives the three adjusted values of pixel x, stores
// the result in the row and writes the three errors.
template <typename Pixel>
void diffuse(const DibInfo& src, DibInfo& dst, Pixel pixel) {
  const int32_t width = src.width();
  Planes planes(width);
  ErrorRows errors[3] = {ErrorRows(width), ErrorRows(width), ErrorRows(width)};
  for (int32_t r = 0; r < src.rows(); ++r) {
    planes.fetch(src, r);
    uint8_t* out = dst.row(r);
    const bool forward = r % 2 == 0;
    const int step = forward ? 1 : -1;
    // The carried error restarts at 0 on each row (the spare entry before its first pixel).
    int carry[3] = {0, 0, 0};
    const int16_t* above[3] = {errors[0].previous.data() + 1, errors[1].previous.data() + 1, errors[2].previous.data() + 1};
    int16_t* current[3] = {errors[0].current.data() + 1, errors[1].current.data() + 1, errors[2].current.data() + 1};
    for (int32_t i = 0; i < width; ++i) {
      const int32_t x = forward ? i : width - 1 - i;
      int adjusted[3];
      for (int c = 0; c < 3; ++c)
        adjusted[c] = planes.c[c][size_t(x)] - (12 * above[c][x] + 12 * carry[c] + 5 * above[c][x - step]) / 32;
      int error[3];
      pixel(out, x, adjusted, error);
      for (int c = 0; c < 3; ++c) current[c][x] = int16_t(carry[c] = error[c]);
    }
    for (auto& e : errors) e.next_row();
  }
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

namespace {

// The diffusion of a source (run-length ones decoded first) into a result of `bit_count` bits
// with the given palette.
template <size_t N, typename Pixel>
DibInfo halftone(const DibInfo& source, const char* name, uint16_t bit_count, const std::array<RGBQuad, N>& palette,
                 Pixel pixel) {
  const std::optional<DibInfo> decoded = decoded_source(source, name);
  const DibInfo& src = decoded ? *decoded : source;
  DibInfo dst = new_uncompressed_like(src, bit_count);
  dst.header.biClrUsed = uint32_t(N);
  std::copy(palette.begin(), palette.end(), dst.colors.begin());
  diffuse(src, dst, pixel);
  return dst;
}

}  // namespace

DibInfo ConvertToHalfTone(const DibInfo& source) {
  const Bands* bands[3] = {&red_bands(), &green_bands(), &blue_bands()};
  return halftone(source, "ConvertToHalfTone", 8, halftone_palette(),
                  [&](uint8_t* out, int32_t x, const int* adjusted, int* error) {
                    int level[3];
                    for (int c = 0; c < 3; ++c) {
                      const int a = std::clamp(adjusted[c], kBandLow, kBandHigh) - kBandLow;
                      level[c] = bands[c]->level[a];
                      error[c] = bands[c]->value[a] - adjusted[c];
                    }
                    out[x] = uint8_t(level[0] * 35 + level[1] * 5 + level[2]);
                  });
}

DibInfo ConvertToHalfToneBW(const DibInfo& source) {
  return halftone(source, "ConvertToHalfToneBW", 1, halftone_bw_palette(),
                  [](uint8_t* out, int32_t x, const int* adjusted, int* error) {
                    const bool white = adjusted[0] + adjusted[1] + adjusted[2] >= 384;
                    for (int c = 0; c < 3; ++c) error[c] = (white ? 255 : 0) - adjusted[c];
                    if (white) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
                  });
}

}  // namespace kestrin
