// The background gauge's rules.
#include "commands/bg_gauge.h"

#include <cstdlib>

#include "base/convert.h"

namespace kestrin {

int32_t bg_gauge_value(const DisplayScale& s, int32_t x, int32_t width) {
  if (width <= 0) return s.GaugeLow;
  return Trunc(double(s.GaugeHigh - s.GaugeLow) * x / width + s.GaugeLow);
}

void bg_high_edge_entered(DisplayScale& s, int32_t v) {
  if (v > s.GaugeLow) s.GaugeHigh = v;
  if (s.HighEdge > s.GaugeHigh) s.HighEdge = s.GaugeHigh;
  if (s.LowEdge >= s.GaugeHigh) s.LowEdge = s.GaugeLow;
}

void bg_low_edge_entered(DisplayScale& s, int32_t v) {
  if (v < s.GaugeHigh) s.GaugeLow = v;
  if (s.LowEdge < s.GaugeLow) s.LowEdge = s.GaugeLow;
  if (s.HighEdge <= s.GaugeLow) s.HighEdge = s.GaugeHigh;
}

bool BgGaugeDrag::move(DisplayScale& s, int32_t v) {
  if (marker == kNone)
    marker = std::llabs(int64_t(v) - s.LowEdge) >= std::llabs(int64_t(v) - s.HighEdge) ? kHigh : kLow;
  if (marker == kHigh && s.LowEdge < v && v <= s.GaugeHigh && v > s.GaugeLow) {
    s.HighEdge = v;
    return true;
  }
  if (marker == kLow && s.GaugeLow <= v && v < s.HighEdge && v < s.GaugeHigh) {
    s.LowEdge = v;
    return true;
  }
  return false;
}

std::optional<BgGaugeRow> bg_gauge_row(const DisplayScale& s, int32_t width) {
  if (s.GaugeLow == s.GaugeHigh || s.GaugeLow < 0 || s.LowEdge < 0 || s.GaugeLow > s.LowEdge ||
      s.GaugeHigh < s.HighEdge || s.LowEdge >= s.HighEdge || width <= 0)
    return std::nullopt;
  const double range = double(s.GaugeHigh) - s.GaugeLow;
  BgGaugeRow row;
  row.low = Trunc(width * (double(s.LowEdge) - s.GaugeLow) / range);
  row.high = Trunc(width * (double(s.HighEdge) - s.GaugeLow) / range);
  const int32_t span = row.high - row.low;
  if (span == 0 || span == 1) return std::nullopt;
  row.levels.assign(size_t(width), 0);
  for (int32_t x = 0; x < width; ++x) {
    if (x >= row.high) row.levels[size_t(x)] = 255;
    else if (x >= row.low) row.levels[size_t(x)] = uint8_t(Trunc(double(x - row.low) * 255 / (span - 1)));
  }
  return row;
}

}  // namespace kestrin
