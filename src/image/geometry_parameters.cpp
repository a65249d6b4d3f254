// The table of geometry parameters and the edit texts their setters write.
#include "image/geometry_parameters.h"

#include <cmath>

#include "base/convert.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

using P = IntegrationParams;
constexpr GeometryParameter kParameters[] = {
    {"2ThetaBegin", "edt2ThetaBegin", &P::two_theta_begin},
    {"2ThetaEnd", "edt2ThetaEnd", &P::two_theta_end},
    {"2ThetaStep", "edt2ThetaStep", &P::two_theta_step},
    {"Lo", "edtCameraLength", &P::Lo},
    {"WaveLength", "edtLambda", &P::wavelength},
    {"PixelSizeX", "edtPixelX", &P::pixel_x},
    {"PixelSizeY", "edtPixelY", &P::pixel_y},
    {"Beta", "edtBeta", &P::Beta},
    {"Phi", "edtPhi", &P::Phi},
    {"RectAngle", "edtRectAngle", &P::rect_angle},
    {"SectorAngleStart", "edtSectorStartAngle", &P::sector_start},
    {"SectorAngleEnd", "edtSectorEndAngle", &P::sector_end},
    {"CenterX", "edtCenterX0", &P::X0},
    {"CenterY", "edtCenterY0", &P::Y0},
};

bool reads_back(const std::string& text, double value) {
  const std::optional<double> v = TryStrToFloat(text);
  return v && *v == value;
}

}  // namespace

std::span<const GeometryParameter> geometry_parameters() { return kParameters; }

std::string parameter_edit_text(double value) {
  if (!std::isfinite(value)) return FloatToStr(value);
  std::string text = Format("%8.4f", {value});
  if (reads_back(text, value)) return text;
  text = FloatToStr(value);
  if (reads_back(text, value)) return text;
  return Format("%.17g", {value});
}

void set_geometry_parameter(const GeometryParameter& p, double value) {
  state().integration_params.*p.field = value;
  controls().set_text(p.edit, parameter_edit_text(value));
}

void set_band_width(int32_t value) {
  state().integration_params.band_width = value;
  controls().set_text("edtBandWidth", Format("%d", {value}));
}

}  // namespace kestrin
