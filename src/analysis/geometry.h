// The per-pixel detector geometry: tilt-corrected distance rho and scattering angle 2theta
// of a pixel. Every routine that computes rho or 2theta goes through this one kernel, so
// all of them round alike.
#pragma once

#include <cmath>

#include "model/state.h"

namespace kestrin {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;

// Arc tangent for the kernel: a rational minimax approximation after reduction to
// |x| <= 0.66 (Cephes' atan), within one unit in the last place of std::atan and about
// twice as fast. Every routine gets its angles through this one function, so they all
// round alike.
inline double kernel_atan(double x) {
  const double a = std::fabs(x);
  // The three ranges as selects rather than branches, so loops over it vectorise: r is
  // a, -1 / a or (a - 1) / (a + 1), and the divisor is never 0.
  const bool big = a > 2.41421356237309504880;  // tan(3 pi / 8)
  const bool mid = a > 0.66;
  const double below = a - 1.0, above = a + 1.0;
  const double num = big ? -1.0 : mid ? below : a;
  const double den = big ? a : mid ? above : 1.0;
  const double r = num / den;
  const double base = big ? 1.57079632679489661923 : mid ? 0.78539816339744830962 : 0.0;
  const double extra = big ? 6.123233995736765886130e-17 : mid ? 3.061616997868382943065e-17 : 0.0;
  const double z = r * r;
  const double p = (((-8.750608600031904122785e-1 * z - 1.615753718733365076637e1) * z - 7.500855792314704667340e1) * z -
                    1.228866684490136173410e2) * z - 6.485021904942025371773e1;
  const double q = ((((z + 2.485846490142306297962e1) * z + 1.650270098316988542046e2) * z + 4.328810604912902668951e2) * z +
                    4.853903996359136964868e2) * z + 1.945506571482613964425e2;
  const double t = base + ((r * (z * p / q) + r) + extra);
  return std::copysign(t, x);
}

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
    g.ratio = p.pixel_ratio();
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
    return rho_of(dx * cB + r.dy_sB, r.dy_cB - dx * sB);
  }
  // The same of an offset already turned by Beta: u along the tilt azimuth, v across it.
  double rho_of(double u, double v) const { return std::sqrt(u * u * c2 + v * v) / (u * k + 1.0); }

  // True when the pixel lies in front of the sample (the tilt denominator is positive);
  // pixels behind it get a negative rho.
  bool in_front(const Row& r, double x) const {
    const double u = (x - X0) * cB + r.dy_sB;
    return u * k + 1.0 > 0.0;
  }

  // tan 2theta of a pixel, and 2theta in degrees of a tangent: the two halves of
  // two_theta, for loops that compute a row's tangents first.
  double tan_two_theta(const Row& r, double x) const { return rho(r, x) * scale; }
  static double degrees_of_tan(double t) { return kernel_atan(t) * kRadToDeg; }

  double two_theta(const Row& r, double x) const { return degrees_of_tan(tan_two_theta(r, x)); }
  double two_theta(double x, double y) const { return two_theta(row(y), x); }
};

}  // namespace kestrin
