// Pixel geometry and row spans of circles.
#include "analysis/ring_geometry.h"

#include <cmath>

#include "base/convert.h"
#include "model/state.h"

namespace kestrin {

namespace {

int32_t truncated(double v) { return saturate_int32(std::trunc(v)); }

}  // namespace

DetectorGeometry pixel_geometry(const IntegrationParams& p) {
  DetectorGeometry g = DetectorGeometry::from(p);
  if (p.Lo == 0) g.k = g.scale = 0;  // no camera length: no perspective, and no angle
  return g;
}

double calc_pixel_2theta(int32_t mode, double x, double y) {
  const IntegrationParams& p = state().integration_params;
  const DetectorGeometry g = pixel_geometry(p);
  const DetectorGeometry::Row row = g.row(y);
  if (p.Lo == 0 || (mode != kPixelTwoTheta && mode != kPixelSpacing)) return g.rho(row, x);
  const double two_theta = g.two_theta(row, x);
  if (mode == kPixelTwoTheta) return two_theta;
  return p.wavelength / (2 * std::sin(two_theta / 2 * kDegToRad));
}

void ring_row_span(int32_t y, int32_t& count, int32_t& xa, int32_t& xb, double radius) {
  const IntegrationParams& p = state().integration_params;
  const double dy = p.pixel_ratio() * (double(y) - p.Y0);
  const double q = radius * radius - dy * dy;
  if (!(q >= 0)) {
    count = 0;
    return;
  }
  const double s = std::sqrt(q);
  if (s == 0) {
    count = 1;
    xa = truncated(p.X0);
    return;
  }
  count = 2;
  xa = truncated(p.X0 - s);
  xb = truncated(p.X0 + s);
}

}  // namespace kestrin
