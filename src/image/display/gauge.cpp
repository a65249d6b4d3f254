// The gradation gauge: ramp, range edits, scale radios and edge dragging.
#include "image/display/gauge.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/convert.h"
#include "image/display/display.h"

namespace kestrin {

namespace {

int32_t to_int(double v, GaugeRounding rounding) {
  return saturate_int32(rounding == GaugeRounding::kRound ? std::nearbyint(v) : std::trunc(v));
}

bool valid_window(const DisplayScale& s) {
  return s.GaugeHigh != s.GaugeLow && s.GaugeLow >= 0 && s.LowEdge >= 0 && s.LowEdge >= s.GaugeLow &&
         s.HighEdge <= s.GaugeHigh && s.LowEdge < s.HighEdge;
}

}  // namespace

std::optional<GaugeMarks> gauge_marks(const DisplayScale& s, int32_t width, GaugeRounding rounding) {
  if (width <= 0 || !valid_window(s)) return std::nullopt;
  const double range = double(s.GaugeHigh) - double(s.GaugeLow);
  GaugeMarks m;
  m.low = to_int(width * (double(s.LowEdge) - s.GaugeLow) / range, rounding);
  m.high = to_int(width * (double(s.HighEdge) - s.GaugeLow) / range, rounding);
  if (m.high == m.low || m.high == m.low + 1) return std::nullopt;
  return m;
}

std::optional<GaugeMarks> gauge_row(const DisplayScale& s, int32_t width, GaugeRounding rounding,
                                    std::vector<uint8_t>& row) {
  const std::optional<GaugeMarks> m = gauge_marks(s, width, rounding);
  if (!m) return m;
  row.assign(size_t(width), 255);
  const double steps = double(m->high) - m->low - 1;
  for (int32_t i = 0; i < width && i < m->high; ++i)
    row[size_t(i)] = i < m->low ? 0 : uint8_t(std::clamp(to_int((i - m->low) * 255.0 / steps, rounding), 0, 255));
  return m;
}

void set_gauge_high(DisplayScale& s, int32_t v) {
  if (v > s.GaugeLow) s.GaugeHigh = v;
  if (s.HighEdge > s.GaugeHigh) s.HighEdge = s.GaugeHigh;
  if (s.LowEdge >= s.GaugeHigh) s.LowEdge = s.GaugeLow;
}

void set_gauge_low(DisplayScale& s, int32_t v) {
  if (v < s.GaugeHigh) s.GaugeLow = v;
  if (s.LowEdge < s.GaugeLow) s.LowEdge = s.GaugeLow;
  if (s.HighEdge <= s.GaugeLow) s.HighEdge = s.LowEdge + 1;
}

void set_log_scale(DisplayScale& s, int32_t log_saturation) {
  s.DisplayMode = 0;
  s.GaugeLow = s.LowEdge = 0;
  s.GaugeHigh = s.HighEdge = log_saturation;
}

void set_linear_scale(DisplayScale& s, int32_t linear_max) {
  s.DisplayMode = 1;
  s.GaugeLow = 0;
  s.GaugeHigh = linear_display_bound(linear_max, s.GaugeHigh);
  s.LowEdge = s.GaugeLow;
  s.HighEdge = s.GaugeHigh;
}

int32_t gauge_value(const DisplayScale& s, int32_t X, int32_t width, GaugeRounding rounding) {
  if (width <= 0) return s.GaugeLow;
  return to_int((double(s.GaugeHigh) - s.GaugeLow) * X / width + s.GaugeLow, rounding);
}

bool drag_gauge_edge(GaugeDrag& d, DisplayScale& s, int32_t v) {
  if (!d.held) return false;
  if (!d.high && !d.low) {
    if (std::llabs(int64_t(v) - s.LowEdge) >= std::llabs(int64_t(v) - s.HighEdge))
      d.high = true;
    else
      d.low = true;
  }
  if (d.high && s.LowEdge < v && v <= s.GaugeHigh && v > s.GaugeLow) {
    s.HighEdge = v;
    return true;
  }
  if (d.low && s.GaugeLow <= v && v < s.HighEdge && v < s.GaugeHigh) {
    s.LowEdge = v;
    return true;
  }
  return false;
}

}  // namespace kestrin
