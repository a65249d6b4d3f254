// The cake window's picture, and its place in the shared state.
#include "image/cake_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/state.h"

namespace kestrin {

namespace {

TColor grey(int32_t level) { return TColor(uint32_t(level) * 0x010101u); }

// The bin of the pattern, 0 past its points.
double bin(std::span<const int32_t> values, int32_t count, int32_t i) {
  return i < count && size_t(i) < values.size() ? double(values[size_t(i)]) : 0.0;
}

double drawn_maximum(const std::vector<CakeSlice>& slices, const CakeShape& shape) {
  double maximum = 0.0;
  const size_t drawn = std::min(slices.size(), size_t(shape.slices_drawn));
  for (size_t s = 0; s < drawn; ++s)
    for (double v : slices[s]) maximum = std::max(maximum, v);
  return maximum;
}

}  // namespace

CakeSlice cake_slice(std::span<const int32_t> values, int32_t count) {
  CakeSlice slice{};
  for (int32_t i = 0; i < kCakeColumns; ++i) slice[size_t(i)] = (bin(values, count, 2 * i) + bin(values, count, 2 * i + 1)) / 2.0;
  return slice;
}

TKsDIB cake_picture(const std::vector<CakeSlice>& slices, const CakeShape& shape) {
  TKsDIB dib;
  dib.SetBitCount(8);
  dib.SetWidth(kCakeColumns);
  dib.SetHeight(shape.height);
  set_cake_brightness(dib, 0);
  for (int32_t y = 0; y < shape.height; ++y) std::fill_n(dib.ScanLine(y), kCakeColumns, uint8_t(0));
  const double maximum = drawn_maximum(slices, shape);
  if (maximum <= 0.0) return dib;
  const size_t drawn = std::min(slices.size(), size_t(shape.slices_drawn));
  for (size_t s = 0; s < drawn; ++s) {
    std::array<uint8_t, kCakeColumns> row{};
    for (size_t i = 0; i < row.size(); ++i)
      row[i] = uint8_t(std::clamp(std::trunc(slices[s][i] * 255.0 / maximum), 0.0, 255.0));
    for (int32_t j = 0; j < shape.rows_per_slice; ++j) {
      const int32_t y = int32_t(s) * shape.rows_per_slice + j;
      if (y < shape.height) std::copy(row.begin(), row.end(), dib.ScanLine(y));
    }
  }
  return dib;
}

void set_cake_brightness(TKsDIB& picture, int32_t position) {
  for (int32_t i = 0; i < 256; ++i) picture.SetColor(i, grey(std::clamp(position + i, 0, 255)));
}

CakeState& cake_state() {
  std::shared_ptr<CakeState>& s = state().cake;
  if (!s) s = std::make_shared<CakeState>();
  return *s;
}

}  // namespace kestrin
