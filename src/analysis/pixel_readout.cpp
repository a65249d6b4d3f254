// Readouts and pixel information of one pixel.
#include "analysis/pixel_readout.h"

#include <cmath>

#include "analysis/center.h"
#include "analysis/curved_plate.h"
#include "analysis/geometry.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

// Round of an intensity as the platform's 64-bit Round shows it.
std::string rounded_intensity(double v) {
  if (!std::isfinite(v)) return FloatToStr(v);
  const double r = std::nearbyint(v);
  if (r >= 9.2e18 || r <= -9.2e18) return Format("%.0f", {r});
  return Format("%d", {static_cast<long long>(r)});
}

std::string distance_text(const IntegrationParams& p, double r, int32_t setting) {
  switch (setting) {
    case 0: return Format("%4.3f", {r});
    case 1: return Format("%4.3f", {p.Lo == 0.0 ? r : std::atan(r * p.pixel_x / p.Lo) * kRadToDeg});
    case 2: {
      if (p.Lo == 0.0) return "###";
      const double two_theta = std::atan(r * p.pixel_x / p.Lo) * kRadToDeg;
      const double s = std::sin(two_theta / 2.0 * kDegToRad);
      const double d = p.wavelength / (2.0 * s);
      return s == 0.0 || !std::isfinite(d) ? "###" : Format("%4.3f", {d});
    }
    default: return {};
  }
}

}  // namespace

PixelReadout pixel_readout(int32_t x, int32_t y) {
  const ImageStore& img = current_image();
  const SharedState& s = state();
  const IntegrationParams& p = s.integration_params;
  PixelReadout r;
  r.x = Format("%d", {x});
  r.y = Format("%d", {s.options.VerticalReverse ? img.ImageHeight - 1 - y : y});
  const double intensity = img.intensity(x, y);
  r.intensity = img.image_type == kTypeGel ? FloatToStr(intensity) : rounded_intensity(intensity);
  if (!(p.X0 > 0.0) || p.Y0 == 0.0) return r;
  if (img.image_type == kTypeRaxisCS) {
    if (p.Lo != 0.0) r.distance = Format("%4.3f", {CurvedPlate::from(p).two_theta(x, y)});
    return r;
  }
  const double dx = p.X0 - x, dy = p.Y0 - y;
  const double distance = std::sqrt(dx * dx + dy * dy);
  const std::string text = distance_text(p, distance, s.options.DistanceSetting);
  if (!text.empty()) r.distance = text;
  double chi = std::atan2(y - p.Y0, x - p.X0) * kRadToDeg;
  if (chi < 0) chi += 360.0;
  r.angle = Format("%5.2f", {chi});
  return r;
}

PixelAngle pixel_angle(int32_t x, int32_t y) {
  const IntegrationParams& p = state().integration_params;
  const DetectorGeometry g = DetectorGeometry::from(p);
  const DetectorGeometry::Row row = g.row(y);
  const double u = (x - p.X0) * g.cB + row.dy_sB;
  if (p.Lo == 0.0 || u * g.k + 1.0 == 0.0) throw ConversionError("Floating point division by zero");
  const PixelAngle a{g.rho(row, x), g.two_theta(row, x)};
  if (!std::isfinite(a.rho) || !std::isfinite(a.two_theta)) throw ConversionError("Invalid floating point operation");
  return a;
}

void pixel_information(int32_t x, int32_t y, Report& report) {
  report.say("");
  report.say(" <<<<<   Pixel information   >>>>>");
  report.say(Format(" Clicked (%5d, %5d)  Intensity = %.4f", {x, y, current_image().intensity(x, y)}));
  const PixelAngle a = pixel_angle(x, y);
  report.say(Format(" x = %9.3f(pixel), 2theta =%8.4f(degree)", {a.rho, a.two_theta}));
  double X = x, Y = y;
  find_local_maximum(X, Y, report);
}

}  // namespace kestrin
