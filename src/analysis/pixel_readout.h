// What the image window reports about one pixel of the current image: the readouts shown
// while the cursor moves (position, intensity, distance and azimuth from the beam centre)
// and the pixel information logged on a Shift-click.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/report.h"

namespace kestrin {

// The readout texts of pixel (x, y), which must lie inside the loaded image. X and Y as
// shown (rows counted from the bottom under VerticalReverse); the intensity rounded, or in
// the 15-digit general form for GEL images. Distance and azimuth only while the centre is
// set (X0 > 0 and Y0 not 0); nothing leaves the readout as it stands:
//   distance by DistanceSetting: 0 the distance in pixels, 1 its 2theta (the distance when
//   Lo is 0), 2 the d-spacing ("###" when Lo is 0 or the angle is 0); curved plates (type
//   9) show their own 2theta and leave the azimuth;
//   azimuth: "%5.2f" degrees from +x, growing clockwise on the screen, 0..360.
struct PixelReadout {
  std::string x, y, intensity;
  std::optional<std::string> distance, angle;
};
PixelReadout pixel_readout(int32_t x, int32_t y);

// The tilt-corrected distance from the beam centre (in X pixels) and the 2theta (degrees)
// of pixel (x, y) under integration_params. A camera length of 0, or a pixel on the tilt's
// horizon, throws ConversionError("Floating point division by zero"), as the division
// would.
struct PixelAngle {
  double rho = 0, two_theta = 0;
};
PixelAngle pixel_angle(int32_t x, int32_t y);

// Says the pixel information of (x, y) (inside the loaded image) into `report`: an empty
// line, the banner, the intensity, then pixel_angle (whose error ends it after the intensity
// line, so no infinite value reaches the log), then runs find_local_maximum at (x, y).
void pixel_information(int32_t x, int32_t y, Report& report);

}  // namespace kestrin
