// Subtracting a background from the current image: an offset that keeps the difference
// from going below zero by a margin, and the difference written into the background codes
// in the image type's code scheme.
#pragma once

#include <cstdint>
#include <span>

namespace kestrin {

class Report;

// Smooths Source in place first for SmoothMode median (0) or average (1) with SmoothSize.
// The offset is D * Percent / 100, D the largest I(B) * Factor + Percent - I(S) over the
// pixels with I(S) < I(B), both through the current image's table. For R-AXIS (3, 6, 9),
// HiPiC (11) and TIFF (8) images each background code becomes the code of
// max(0, I(S) + offset - J(B) * Factor), J the background's own table, by the current
// image's law; other types keep their background codes, and the report says so. Returns the
// offset, also stored in `offset`. Source and the background codes hold Width x Height codes.
double subtract_bg(std::span<uint16_t> source, std::span<uint16_t> bg_codes, double factor, double percent,
                   double& offset, int32_t height, int32_t width, int32_t smooth_size, int32_t smooth_mode,
                   Report& report);

}  // namespace kestrin
