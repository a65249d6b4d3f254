// Painting the mask: a filled disc of mask bytes set or cleared around a pixel.
#pragma once

#include <cstdint>

namespace kestrin {

// Sets (mode 0) or clears (any other mode) every mask byte within distance size div 2 of
// (cx, cy), clipped to the mask.
void paint_mask_disc(int32_t cx, int32_t cy, int32_t mode, int32_t size);

}  // namespace kestrin
