// Editing the current image's mask as a whole or byte by byte: clearing it (the menu, the
// script method and the loader's clear-at-load) and setting one pixel (ring painting).
// Discs are painted by paint_mask_disc (image/display/mask_paint.h).
#pragma once

#include <cstdint>

namespace kestrin {

// Nothing without an image (false). Otherwise sets every mask byte of the image to 0 (true):
// the command records "Kestrin.ClearMask();" for it.
bool clear_mask();

// Sets the mask byte of (x, y) to value; nothing for a pixel outside the image.
void set_mask_pixel(int32_t x, int32_t y, uint8_t value);

}  // namespace kestrin
