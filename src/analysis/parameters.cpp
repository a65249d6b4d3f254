// Reading the parameter edits and checking the sector and division angles.
#include "analysis/parameters.h"

#include <cmath>
#include <string>

#include "base/convert.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin {

namespace {

double real_of(ControlName edit) { return StrToFloat(controls().text(edit)); }
int32_t integer_of(ControlName edit) { return StrToInt(controls().text(edit)); }

}  // namespace

double sector_count_of(double division_angle) { return std::ceil(360.0 / division_angle); }

int32_t read_parameters() {
  IntegrationParams& p = state().integration_params;
  Controls& c = controls();
  p.band_width = integer_of(frmMain::edtBandWidth);
  p.X0 = real_of(frmMain::edtCenterX0);
  const double y0 = real_of(frmMain::edtCenterY0);
  p.Y0 = state().options.VerticalReverse ? double(current_image().ImageHeight) - 1.0 - y0 : y0;
  p.pixel_x = real_of(frmMain::edtPixelX);
  p.pixel_y = real_of(frmMain::edtPixelY);
  p.pixel_ratio = p.pixel_x == 0.0 ? 1.0 : p.pixel_y / p.pixel_x;
  p.Lo = real_of(frmMain::edtCameraLength);
  p.Beta = real_of(frmMain::edtBeta);
  p.Phi = real_of(frmMain::edtPhi);
  p.graph_x_begin = integer_of(frmNaxGraph::edtXBegin);
  p.graph_x_end = integer_of(frmNaxGraph::edtXEnd);
  p.graph_y_begin = integer_of(frmNaxGraph::edtYBegin);
  p.graph_y_end = integer_of(frmNaxGraph::edtYEnd);
  p.graph_2theta_begin = real_of(frmNaxGraph::edt2ThetaBegin);
  p.graph_2theta_end = real_of(frmNaxGraph::edt2ThetaEnd);
  p.two_theta_begin = real_of(frmMain::edt2ThetaBegin);
  p.two_theta_end = real_of(frmMain::edt2ThetaEnd);
  p.two_theta_step = real_of(frmMain::edt2ThetaStep);
  c.set_text(frmMain::edt2ThetaStep, Format("%3.6f", {p.two_theta_step}));
  p.wavelength = real_of(frmMain::edtLambda);
  p.RectDirection = c.item_index(frmMain::cmbDirection);
  p.sector_start = real_of(frmMain::edtSectorStartAngle);
  p.sector_end = real_of(frmMain::edtSectorEndAngle);
  if (p.sector_start < 0) {
    p.sector_start += 360.0;
    p.sector_end += 360.0;
  }
  p.IntegrationMode = c.checked(frmMain::rbtnRectangle) ? 0 : c.checked(frmMain::rbtnSector) ? 1 : 2;
  p.rect_angle = real_of(frmMain::edtRectAngle);
  p.RectAngleMode = c.checked(frmMain::rbtnRect_Direction) ? 0 : 1;
  p.division_angle = real_of(frmMain::edtSectoredAngle);
  if (p.division_angle == 0.0) throw ConversionError("Floating point division by zero");
  const auto count = checked_int32(sector_count_of(p.division_angle));
  if (!count) throw ConversionError("Input division angle error!");
  p.sector_count = *count;
  return 0;
}

int32_t check_sector_angles() {
  const auto s = TryStrToFloat(controls().text(frmMain::edtSectorStartAngle));
  const auto e = TryStrToFloat(controls().text(frmMain::edtSectorEndAngle));
  if (!s || !e) return 1;
  const bool valid = *s < *e && *s <= 720 && *e <= 720 && *s >= -360 && *e >= -360 && *e - *s <= 360;
  return valid ? 0 : 1;
}

int32_t check_division_angle() {
  const auto a = TryStrToFloat(controls().text(frmMain::edtSectoredAngle));
  if (!a || !(*a > 0 && *a <= 360)) return 1;
  return sector_count_of(*a) <= kMaxSectorCount ? 0 : 1;
}

}  // namespace kestrin
