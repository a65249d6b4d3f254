// The scattering angle of a pixel on the curved imaging plate: a cylinder of radius Lo
// round the sample whose axis runs vertically (along the image's columns). The horizontal
// offset from the centre column is an arc length on the cylinder, the vertical offset runs
// along its axis; the detector tilt does not enter.
#pragma once

#include <algorithm>
#include <cmath>

#include "analysis/geometry.h"
#include "model/state.h"

namespace kestrin {

struct CurvedPlate {
  double X0 = 0, Y0 = 0;            // beam centre, pixels
  double pX = 0.1, pY = 0.1, Lo = 100;  // pixel size and cylinder radius, mm

  static CurvedPlate from(const IntegrationParams& p) { return {p.X0, p.Y0, p.pixel_x, p.pixel_y, p.Lo}; }

  // |(Lo, h)| of row y, h the offset along the axis (upwards): constant along a row.
  double row_length(double y) const {
    const double h = (Y0 - y) * pY;
    return std::sqrt(Lo * Lo + h * h);
  }
  // cos 2theta of column x in a row of the given length; may stray past [-1, 1] by rounding.
  double cos_two_theta(double row_length, double x) const {
    const double A = (x - X0) * pX;
    return std::cos(A / Lo) * Lo / row_length;
  }
  // 2theta in degrees of a cosine, clamped to [-1, 1] first (NaN stays NaN).
  static double degrees_of_cos(double c) { return std::acos(std::clamp(c, -1.0, 1.0)) * kRadToDeg; }

  double two_theta(double x, double y) const { return degrees_of_cos(cos_two_theta(row_length(y), x)); }
};

}  // namespace kestrin
