// Colours as the platform stores them: 0x00BBGGRR, or a system colour (0x80000000 + index).
#pragma once

#include <cstdint>

namespace kestrin {

using TColor = int32_t;

constexpr TColor rgb_to_color(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r | (g << 8) | (b << 16));
}
constexpr uint8_t color_red(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t color_green(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t color_blue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// The plain RGB value of a colour: system colours as the classic Windows scheme shows
// them (unknown ones black); other colours keep their low three bytes.
TColor ColorToRGB(TColor c);

}  // namespace kestrin
