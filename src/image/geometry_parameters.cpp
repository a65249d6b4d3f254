// The table of geometry parameters and the edit texts their setters write.
#include "image/geometry_parameters.h"

#include <cmath>

#include "base/convert.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

namespace kestrin {

namespace {

using P = IntegrationParams;
constexpr GeometryParameter kParameters[] = {
    {"2ThetaBegin", frmMain::edt2ThetaBegin, &P::two_theta_begin},
    {"2ThetaEnd", frmMain::edt2ThetaEnd, &P::two_theta_end},
    {"2ThetaStep", frmMain::edt2ThetaStep, &P::two_theta_step},
    {"Lo", frmMain::edtCameraLength, &P::Lo},
    {"WaveLength", frmMain::edtLambda, &P::wavelength},
    {"PixelSizeX", frmMain::edtPixelX, &P::pixel_x},
    {"PixelSizeY", frmMain::edtPixelY, &P::pixel_y},
    {"Beta", frmMain::edtBeta, &P::Beta},
    {"Phi", frmMain::edtPhi, &P::Phi},
    {"RectAngle", frmMain::edtRectAngle, &P::rect_angle},
    {"SectorAngleStart", frmMain::edtSectorStartAngle, &P::sector_start},
    {"SectorAngleEnd", frmMain::edtSectorEndAngle, &P::sector_end},
    {"CenterX", frmMain::edtCenterX0, &P::X0},
    {"CenterY", frmMain::edtCenterY0, &P::Y0},
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
  controls().set_text(frmMain::edtBandWidth, Format("%d", {value}));
}

void show_header_geometry() {
  const IntegrationParams& p = state().integration_params;
  Controls& c = controls();
  c.set_text(frmMain::edtPixelX, Format("%10.6f", {p.pixel_x}));
  c.set_text(frmMain::edtPixelY, Format("%10.6f", {p.pixel_y}));
  c.set_text(frmMain::edtLambda, Format("%10.6f", {p.wavelength}));
  c.set_text(frmMain::edtCameraLength, Format("%10.6f", {p.Lo}));
}

}  // namespace kestrin
