// Single pixels and the ring geometry: the tilt-corrected distance, 2theta and d-spacing of a
// pixel, and the columns where a circle about the beam centre crosses an image row.
#pragma once

#include <cstdint>

#include "analysis/geometry.h"

namespace kestrin {

enum PixelQuantity : int32_t { kPixelRho = 0, kPixelTwoTheta = 1, kPixelSpacing = 2 };

// Mode 0: the tilt-corrected distance rho from the beam centre (X pixels); 1: 2theta
// (degrees); 2: the d-spacing (angstrom). With a camera length of 0, modes 1 and 2 give rho
// (then without the tilt's perspective term). Other modes give rho. The same detector
// geometry as the integrations, so a pixel falls in the same 2theta here and there.
double calc_pixel_2theta(int32_t mode, double x, double y);
// The geometry calc_pixel_2theta uses, for loops over many pixels: the integrations' own,
// without perspective or angle when the camera length is 0.
DetectorGeometry pixel_geometry(const IntegrationParams& p);

// The crossings of the circle of `radius` (X pixels) about the beam centre with row y, the
// row offset scaled by pY / pX and no tilt applied: count 0 (none), 1 (a touch: xa), or 2
// (xa < xb), each truncated toward zero (and kept within Int32).
void ring_row_span(int32_t y, int32_t& count, int32_t& xa, int32_t& xb, double radius);

}  // namespace kestrin
