// The per-pixel detector geometry: tilt-corrected distance rho and scattering angle 2theta
// of a pixel. Every routine that computes rho or 2theta goes through this one kernel, so
// all of them round alike.
#pragma once

#include <cmath>

#include "image/state.h"

namespace kestrin {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;

// Flat detector turned by Phi about an in-plane axis through the beam centre, the axis
// perpendicular to the direction Beta (counter-clockwise from +x, y up).
struct DetectorGeometry {
  double X0 = 0, Y0 = 0;  // beam centre, pixels
  double ratio = 1;       // pY / pX: a row step in units of X pixels
  double cB = 1, sB = 0;  // cos, sin Beta
  double c2 = 1;          // cos^2 Phi
  double k = 0;           // sin Phi * pX / Lo
  double scale = 0;       // pX / Lo: tan 2theta per X pixel of rho

  // Constants of one row y: the upward, ratio-scaled offset and its turned parts.
  struct Row {
    double dy = 0, dy_sB = 0, dy_cB = 0;
  };

  static DetectorGeometry from(const IntegrationParams& p) {
    DetectorGeometry g;
    g.X0 = p.X0;
    g.Y0 = p.Y0;
    g.ratio = p.pixel_ratio;
    g.cB = std::cos(p.Beta * kDegToRad);
    g.sB = std::sin(p.Beta * kDegToRad);
    const double cP = std::cos(p.Phi * kDegToRad);
    g.c2 = cP * cP;
    g.scale = p.pixel_x / p.Lo;
    g.k = std::sin(p.Phi * kDegToRad) * g.scale;
    return g;
  }

  Row row(double y) const {
    Row r;
    r.dy = (Y0 - y) * ratio;
    r.dy_sB = r.dy * sB;
    r.dy_cB = r.dy * cB;
    return r;
  }

  // Distance from the beam centre on the tilted detector, in X pixels.
  double rho(const Row& r, double x) const {
    const double dx = x - X0;
    const double u = dx * cB + r.dy_sB;
    const double v = r.dy_cB - dx * sB;
    return std::sqrt(u * u * c2 + v * v) / (u * k + 1.0);
  }

  // True when the pixel lies in front of the sample (the tilt denominator is positive);
  // pixels behind it get a negative rho.
  bool in_front(const Row& r, double x) const {
    const double u = (x - X0) * cB + r.dy_sB;
    return u * k + 1.0 > 0.0;
  }

  // 2theta in degrees of a distance rho.
  double two_theta_of_rho(double rho_px) const { return std::atan(rho_px * scale) * kRadToDeg; }

  double two_theta(const Row& r, double x) const { return two_theta_of_rho(rho(r, x)); }
  double two_theta(double x, double y) const { return two_theta(row(y), x); }
};

}  // namespace kestrin
