// One image as the formats decode it: its pixel codes and size, the code-to-intensity and
// code-to-log tables of its format, and its intensity statistics. The image store extends it
// with names and flags; decoders build it as a value without touching any store.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/uninit_vector.h"

namespace kestrin {

constexpr int32_t kMaxImageSide = 10000;
constexpr int kCodeCount = 65536;

// Image type codes.
enum ImageType : int32_t {
  kTypeBA100 = 0,
  kTypeBAS2000 = 1,
  kTypeBAS2500 = 2,
  kTypeRaxis = 3,
  kTypeMacDip = 4,
  kTypeMacToBas = 5,
  kTypeRigaku = 6,
  kTypeBruker = 7,
  kTypeTiff = 8,
  kTypeRaxisCS = 9,
  kTypeUndetermined = 10,
  kTypeHipic = 11,
  kTypeOtherImg = 12,
  kTypeGel = 13,
  kTypeFloatTiff = 14,
};

// A code -> value table of an image: zeros until a format's law fills it.
using CodeTable = ZeroedVector<double>;

struct ImageData {
  ImageData();

  // Pixel data, row-major: index x + ImageWidth * y.
  UninitVector<uint16_t> image_codes;
  int32_t ImageWidth = 0;
  int32_t ImageHeight = 0;
  int32_t PixelCount = 0;
  int32_t BytesPerPixel = 2;
  int32_t DataBytes = 0;

  // Factor of overflow codes (R-AXIS header value, single precision as stored).
  float OverflowRatio = 1.0f;

  // Code -> intensity and code -> logarithmic display value (full scale 10000). They start
  // as zeros from untouched zero pages: the program's two image stores are made at start-up,
  // and most runs never load an image into the second one.
  CodeTable intensity_table;
  CodeTable log_table;

  int32_t LinearMin = 0, LinearMax = 0, LinearSaturation = 0;
  int32_t LogMin = 0, LogMax = 0, LogSaturation = 10000;

  // Sets the size fields and resizes the codes (zero-filled). The caller has checked
  // 1 <= width, height <= kMaxImageSide.
  void set_size(int32_t width, int32_t height, int32_t bytes_per_pixel);
  // The same, but the codes are left unset: for a decoder that writes every pixel next.
  void set_size_unfilled(int32_t width, int32_t height, int32_t bytes_per_pixel);
  double intensity(int32_t x, int32_t y) const { return intensity_table[image_codes[size_t(x) + size_t(ImageWidth) * size_t(y)]]; }
};

// Tables of the overflow law shared by R-AXIS, HiPiC and Bruker CCD images: codes below
// 32768 are the intensity, codes from 32768 on are (code - 32768) * ratio. A ratio that is
// not a positive finite number is taken as 1.0. Sets OverflowRatio, both tables,
// LinearSaturation (Round(32767 * ratio), saturated to Int32) and LogSaturation 10000.
void build_overflow_tables(ImageData& image, float ratio);

// Fuji law: code c in 0..2^bits-1 has intensity 10^(c * latitude / 2^bits) and log value c.
// Codes above the range take the values of the highest code of the range (never values of
// an earlier image). Sets LinearSaturation Round(I(2^bits-1) + 0.5), LogSaturation 2^bits-1
// and OverflowRatio 1.0.
void build_fuji_tables(ImageData& image, int bits, double latitude);

// TIFF law (8 and 16 bits): the intensity is the code; log value ln(c) * 10000 / L with
// L = ln 65535 (16 bits) or ln 255 (8 bits), code 0 has log 0. LinearSaturation 65535.
void build_tiff_tables(ImageData& image, int bits);

// Floating-point TIFF law: intensity code - 100; log value ln(I) * 10000 / ln 65435 where
// I > 0, else 0. LinearSaturation 65435.
void build_float_tiff_tables(ImageData& image);

// GEL law: square-root data c * c * scale, linear data c. Log full scale L = ln of the
// intensity of code 65535 (16 bits) or 255 (8 bits); log value ln(I) * 10000 / L where I > 0
// and L > 0, else 0; with 16 bits negative log values become 0. LinearSaturation is the
// intensity of code 65535, rounded and saturated to Int32.
void build_gel_tables(ImageData& image, int bits, bool square_root, double scale);

// Inverse of the overflow law: intensity -> code (values above 32767 become
// Round(v / ratio) | 0x8000, clamped to the code range).
uint16_t encode_overflow_intensity(double value, float ratio);

// The codes present in an image, gathered row by row as a decoder writes its rows (while they
// are in cache), so that the statistics need no pass of their own over the pixels.
class CodeSet {
public:
  CodeSet() : seen_(kCodeCount, 0) {}
  void add(const uint16_t* codes, size_t n) {
    uint8_t* seen = seen_.data();  // a local pointer: the byte stores cannot then alias it
    for (size_t i = 0; i < n; ++i) seen[codes[i]] = 1;
  }
  // Adds the codes of another set (a union: the order of merging does not matter).
  void merge(const CodeSet& other) {
    for (size_t c = 0; c < seen_.size(); ++c) seen_[c] |= other.seen_[c];
  }
  const std::vector<uint8_t>& seen() const { return seen_; }

private:
  std::vector<uint8_t> seen_;
};

// The lowest and highest code of an image, gathered like a CodeSet but without a store per
// pixel: all the statistics need when each code's rounded intensity is above the one below
// (see rounded_intensities_increase).
class CodeRange {
public:
  void add(const uint16_t* codes, size_t n) {
    uint16_t lo = low_, hi = high_;
    for (size_t i = 0; i < n; ++i) {
      lo = std::min(lo, codes[i]);
      hi = std::max(hi, codes[i]);
    }
    low_ = lo;
    high_ = hi;
  }
  void merge(const CodeRange& other) {
    low_ = std::min(low_, other.low_);
    high_ = std::max(high_, other.high_);
  }
  bool empty() const { return low_ > high_; }
  uint16_t low() const { return low_; }
  uint16_t high() const { return high_; }

private:
  uint16_t low_ = 65535, high_ = 0;
};

// Whether every code's intensity is finite and its rounded value greater than that of the code
// below (the TIFF laws): then the lowest and highest code present decide the statistics.
bool rounded_intensities_increase(const CodeTable& intensity_table);

// The statistics scan of the R-AXIS, HiPiC, Bruker and TIFF readers: running values start
// at Max 0 and Min LinearSaturation (logs: 0 and LogSaturation); a pixel whose raw
// intensity is strictly greater (smaller) than the stored, rounded maximum (minimum)
// replaces it and its log value, both rounded half to even and saturated to Int32.
void scan_statistics(ImageData& image);
// The same, with `present` holding exactly the codes of the image's pixels.
void scan_statistics(ImageData& image, const CodeSet& present);
// The same, from the lowest and highest code of the pixels, where the rounded intensities of
// the table increase with the code.
void scan_statistics(ImageData& image, const CodeRange& range);

// The table as exact integers when every entry is an integer within the Int32 range (sums
// of such intensities can be kept exactly); nothing otherwise.
std::optional<std::vector<int64_t>> integer_intensities(const CodeTable& table);

// Round half to even, saturated to the Int32 range (NaN gives 0).
int32_t round_saturated(double v);

}  // namespace kestrin
