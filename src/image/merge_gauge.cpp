// The merge window's gauge rules and picture.
#include "image/merge_gauge.h"

#include <cmath>
#include <cstdlib>

#include "base/convert.h"

namespace kestrin {

namespace {

int32_t column_of(const MergeGauge& g, int32_t v, int32_t width) {
  return saturate_int32(std::trunc(double(width) * (double(v) - g.min) / (double(g.max) - g.min)));
}

}  // namespace

void enter_low_edge(MergeGauge& g, int32_t v) {
  if (v < g.max) g.min = v;
  if (g.low < g.min) g.low = g.min;
  if (g.high <= g.min) g.high = g.low + 1;
}

void enter_high_edge(MergeGauge& g, int32_t v) {
  if (v > g.min) g.max = v;
  if (g.high > g.max) g.high = g.max;
  if (g.low >= g.max) g.low = g.min;
}

int32_t gauge_value(const MergeGauge& g, int32_t x, int32_t width) {
  if (width <= 0) return g.min;
  return saturate_int32(std::trunc((double(g.max) - g.min) * x / width + g.min));
}

bool drag_gauge(MergeGauge& g, MergeGaugeDrag& d, int32_t v) {
  if (!d.chosen) {
    d.chosen = true;
    d.high = std::llabs(int64_t(v) - g.low) >= std::llabs(int64_t(v) - g.high);
  }
  if (d.high) {
    if (!(g.low < v && v <= g.max && v > g.min)) return false;
    g.high = v;
  } else {
    if (!(g.min <= v && v < g.high && v < g.max)) return false;
    g.low = v;
  }
  d.moved = true;
  return true;
}

std::optional<GaugePicture> gauge_picture(const MergeGauge& g, int32_t width) {
  if (width <= 0 || g.min == g.max || g.low < g.min || g.high > g.max || g.low >= g.high) return std::nullopt;
  const int32_t pl = column_of(g, g.low, width), ph = column_of(g, g.high, width);
  if (ph <= pl + 1) return std::nullopt;
  GaugePicture p;
  p.low_column = pl;
  p.high_column = ph;
  p.row.assign(size_t(width), 255);
  for (int32_t i = 0; i < width && i < ph; ++i)
    p.row[size_t(i)] = i < pl ? 0 : uint8_t(int64_t(i - pl) * 255 / (ph - pl - 1));
  return p;
}

}  // namespace kestrin
