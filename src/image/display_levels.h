// The 8-bit display level of every pixel from the grey scale (log or linear, low and high
// edge), as the image window shows them and as the analysis reads them (OmitBlue, spots).
#pragma once

#include <cstdint>

#include "image/image_store.h"
#include "image/state.h"

namespace kestrin {

struct DisplayScale {
  int32_t DisplayMode = 1;  // 0 log (log_table), 1 linear (intensity_table)
  int32_t LowEdge = 0;      // shown as level 0
  int32_t HighEdge = 1000;  // shown as level 255
};

// The level of a value: 0 below the low edge, 255 above the high edge, else
// Round((v - low) / (high - low) * 255) clamped to 0..255.
uint8_t display_level_of(int32_t v, const DisplayScale& scale);

// Fills levels (sized to the image) from the image's codes; nothing without an image.
void compute_display_levels(const ImageStore& image, const DisplayScale& scale, DisplayLevels& levels);

}  // namespace kestrin
