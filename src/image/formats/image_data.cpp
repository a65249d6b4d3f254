// The tables of the intensity laws and the statistics scan.
#include "image/formats/image_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrin {

ImageData::ImageData() : intensity_table(kCodeCount), log_table(kCodeCount) {}

void ImageData::set_size(int32_t width, int32_t height, int32_t bytes_per_pixel) {
  set_size_unfilled(width, height, bytes_per_pixel);
  std::fill(image_codes.begin(), image_codes.end(), uint16_t(0));
}

void ImageData::set_size_unfilled(int32_t width, int32_t height, int32_t bytes_per_pixel) {
  ImageWidth = width;
  ImageHeight = height;
  PixelCount = width * height;
  BytesPerPixel = bytes_per_pixel;
  DataBytes = PixelCount * bytes_per_pixel;
  // A buffer too small is let go first: growing it would copy the old codes over.
  if (image_codes.capacity() < size_t(PixelCount)) image_codes = {};
  image_codes.resize(size_t(PixelCount));
}

int32_t round_saturated(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::nearbyint(v));
}

void build_overflow_tables(ImageData& image, float ratio) {
  if (!(std::isfinite(ratio) && ratio > 0.0f)) ratio = 1.0f;
  image.OverflowRatio = ratio;
  const double r = static_cast<double>(ratio);
  auto& it = image.intensity_table;
  for (int c = 0; c < 32768; ++c) it[c] = c;
  for (int c = 32768; c < kCodeCount; ++c) it[c] = (c - 32768) * r;
  const double full = std::log(it[65535]);
  auto& lt = image.log_table;
  for (int c = 0; c < kCodeCount; ++c)
    lt[c] = it[c] > 0.0 && full > 0.0 ? std::log(it[c]) * 10000.0 / full : 0.0;
  // Intensities below 1 (ratio < 1) would give negative log values.
  for (double& v : lt)
    if (v < 0.0) v = 0.0;
  image.LinearSaturation = round_saturated(32767.0 * r);
  image.LogSaturation = 10000;
}

void build_fuji_tables(ImageData& image, int bits, double latitude) {
  const int n = 1 << bits;
  auto& it = image.intensity_table;
  auto& lt = image.log_table;
  for (int c = 0; c < n && c < kCodeCount; ++c) {
    it[c] = std::pow(10.0, c * latitude / n);
    lt[c] = c;
  }
  const int top = std::min(n, kCodeCount) - 1;
  for (int c = top + 1; c < kCodeCount; ++c) {
    it[c] = it[top];
    lt[c] = lt[top];
  }
  image.LinearSaturation = round_saturated(it[top] + 0.5);
  image.LogSaturation = n - 1;
  image.OverflowRatio = 1.0f;
}

namespace {

// Log table ln(I(c)) * 10000 / full for intensities above 0; 0 elsewhere and when the
// full scale is not a positive finite number.
void fill_log_table(ImageData& image, double full, bool clamp_negative) {
  const auto& it = image.intensity_table;
  auto& lt = image.log_table;
  const bool usable = std::isfinite(full) && full > 0.0;
  for (int c = 0; c < kCodeCount; ++c) {
    double v = usable && it[c] > 0.0 ? std::log(it[c]) * 10000.0 / full : 0.0;
    if (clamp_negative && v < 0.0) v = 0.0;
    lt[c] = v;
  }
}

void set_plain_scales(ImageData& image) {
  image.OverflowRatio = 1.0f;
  image.LogSaturation = 10000;
}

}  // namespace

void build_tiff_tables(ImageData& image, int bits) {
  auto& it = image.intensity_table;
  for (int c = 0; c < kCodeCount; ++c) it[c] = c;
  fill_log_table(image, std::log(bits == 8 ? 255.0 : 65535.0), false);
  image.LinearSaturation = 65535;
  set_plain_scales(image);
}

void build_float_tiff_tables(ImageData& image) {
  auto& it = image.intensity_table;
  for (int c = 0; c < kCodeCount; ++c) it[c] = c - 100.0;
  fill_log_table(image, std::log(65435.0), false);
  image.LinearSaturation = 65435;
  set_plain_scales(image);
}

void build_gel_tables(ImageData& image, int bits, bool square_root, double scale) {
  auto& it = image.intensity_table;
  for (int c = 0; c < kCodeCount; ++c) it[c] = square_root ? double(c) * c * scale : c;
  const double top = it[bits == 8 ? 255 : 65535];
  fill_log_table(image, top > 0.0 ? std::log(top) : 0.0, bits != 8);
  image.LinearSaturation = round_saturated(it[65535]);
  set_plain_scales(image);
}

std::optional<std::vector<int64_t>> integer_intensities(const CodeTable& table) {
  std::vector<int64_t> out(table.size());
  for (size_t c = 0; c < table.size(); ++c) {
    const double v = table[c];
    if (!(std::fabs(v) <= 2147483647.0) || v != std::trunc(v)) return std::nullopt;
    out[c] = int64_t(v);
  }
  return out;
}

uint16_t encode_overflow_intensity(double value, float ratio) {
  if (!(value > 0.0)) return 0;
  if (value <= 32767.0) return static_cast<uint16_t>(round_saturated(value));
  double r = std::isfinite(ratio) && ratio > 0.0f ? static_cast<double>(ratio) : 1.0;
  int32_t c = round_saturated(value / r);
  if (c > 32767) c = 32767;
  return static_cast<uint16_t>(c | 0x8000);
}

namespace {

// The scan pixel by pixel, in image order.
void scan_statistics_in_order(ImageData& image) {
  const double* it = image.intensity_table.data();
  const double* lt = image.log_table.data();
  int32_t lin_max = 0, log_max = 0;
  int32_t lin_min = image.LinearSaturation, log_min = image.LogSaturation;
  for (uint16_t c : image.image_codes) {
    const double v = it[c];
    if (v > lin_max) {
      lin_max = round_saturated(v);
      log_max = round_saturated(lt[c]);
    }
    if (v < lin_min) {
      lin_min = round_saturated(v);
      log_min = round_saturated(lt[c]);
    }
  }
  image.LinearMax = lin_max;
  image.LogMax = log_max;
  image.LinearMin = lin_min;
  image.LogMin = log_min;
}

// One end of the statistics from the codes present. The last pixel that replaces the running
// value always has the rounded extreme intensity `result`, so the running value ends there;
// its log value is known without the pixel order when every present code that could be that
// pixel has the same rounded log value. False when they differ.
template <class Candidate>
bool resolve_end(const std::vector<uint8_t>& seen, const ImageData& s, int32_t result, Candidate candidate,
                 int32_t& log_value) {
  bool found = false;
  for (int c = 0; c < kCodeCount; ++c) {
    if (!seen[c] || !candidate(s.intensity_table[c]) || round_saturated(s.intensity_table[c]) != result) continue;
    const int32_t l = round_saturated(s.log_table[c]);
    if (found && l != log_value) return false;
    log_value = l;
    found = true;
  }
  return true;
}

}  // namespace

// The codes present from one pass over the pixels.
void scan_statistics(ImageData& image) {
  CodeSet present;
  present.add(image.image_codes.data(), image.image_codes.size());
  scan_statistics(image, present);
}

// Same result as the pixel-by-pixel scan, from the set of codes present: the work is on
// 65536 table entries. Falls back to the ordered scan when the log value of an extreme
// depends on the pixel order.
void scan_statistics(ImageData& image, const CodeSet& present) {
  const std::vector<uint8_t>& seen = present.seen();
  const auto& it = image.intensity_table;
  double top = 0.0, bottom = image.LinearSaturation;
  for (int c = 0; c < kCodeCount; ++c) {
    if (!seen[c]) continue;
    if (it[c] > top) top = it[c];
    if (it[c] < bottom) bottom = it[c];
  }
  int32_t lin_max = 0, log_max = 0;
  int32_t lin_min = image.LinearSaturation, log_min = image.LogSaturation;
  if (top > 0.0) {
    lin_max = round_saturated(top);
    if (!resolve_end(seen, image, lin_max, [](double v) { return v > 0.0; }, log_max))
      return scan_statistics_in_order(image);
  }
  if (bottom < image.LinearSaturation) {
    lin_min = round_saturated(bottom);
    const double sat = image.LinearSaturation;
    if (!resolve_end(seen, image, lin_min, [sat](double v) { return v < sat; }, log_min))
      return scan_statistics_in_order(image);
  }
  image.LinearMax = lin_max;
  image.LogMax = log_max;
  image.LinearMin = lin_min;
  image.LogMin = log_min;
}

bool rounded_intensities_increase(const CodeTable& intensity_table) {
  int64_t below = int64_t(std::numeric_limits<int32_t>::min()) - 1;
  for (const double v : intensity_table) {
    const int32_t rounded = round_saturated(v);
    if (!std::isfinite(v) || rounded <= below) return false;
    below = rounded;
  }
  return true;
}

// No other present code can round to the intensity of the lowest or the highest, so the set
// of those two gives what the set of all would.
void scan_statistics(ImageData& image, const CodeRange& range) {
  CodeSet ends;
  if (!range.empty()) {
    const uint16_t codes[2] = {range.low(), range.high()};
    ends.add(codes, 2);
  }
  scan_statistics(image, ends);
}

}  // namespace kestrin
