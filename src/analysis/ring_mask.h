// Painting the ring of one reflection of a crystal into the mask.
#pragma once

#include <cstdint>
#include <optional>

#include "model/state.h"

namespace kestrin {

// The ring radius in X pixels of reflection `reflection` of a cubic crystal (kind 0):
// d = a / sqrt(h² + k² + l²), 2theta from the wavelength, R = tan(2theta) · Lo / pX. None
// for another kind, an index outside the crystal's reflections, or a reflection whose ring
// does not reach the detector plane (no Bragg angle, 2theta of 90° or more).
std::optional<double> reflection_ring_radius(const HklParam& crystal, int32_t reflection);

// Sets the mask bytes of the ring of that reflection, `width` pixels wide about its radius,
// to `value`: on each image row the crossings of the inner and outer circles (ring_row_span)
// are sorted; one crossing sets its pixel, two or four set the spans between pairs, three
// the span from the first to the third. Nothing without an image or a radius.
void paint_ring_mask(const HklParam& crystal, int32_t reflection, int32_t width, uint8_t value);

}  // namespace kestrin
