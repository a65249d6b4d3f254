// The system colours of the classic Windows scheme.
#include "base/colour.h"

#include <iterator>

namespace kestrin {

namespace {

// Indexed by TColor - 0x80000000; values 0xRRGGBB.
constexpr uint32_t kSystemRgb[] = {
    0xC8C8C8, 0x000000, 0x0054E3, 0x7A96DF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x316AC5, 0xFFFFFF, 0xECE9D8,
    0xACA899, 0xACA899, 0x000000, 0xD8E4F8, 0xFFFFFF, 0x716F64, 0xF1EFE2, 0x000000,
    0xFFFFE1};

}  // namespace

TColor ColorToRGB(TColor c) {
  const auto v = static_cast<uint32_t>(c);
  if (!(v & 0x80000000u)) return static_cast<TColor>(v & 0xFFFFFF);
  const uint32_t i = v & 0xFF;
  const uint32_t rgb = i < std::size(kSystemRgb) ? kSystemRgb[i] : 0;
  return rgb_to_color(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

}  // namespace kestrin
