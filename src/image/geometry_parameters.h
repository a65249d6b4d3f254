// The geometry parameters that scripts read and set one by one (Get/Set pairs of the
// Kestrin object): the field of integration_params and the main-window edit of each.
#pragma once

#include <span>
#include <string>

#include "image/state.h"

namespace kestrin {

struct GeometryParameter {
  const char* name;  // "Lo" for GetLo/SetLo
  const char* edit;  // "edtCameraLength"
  double IntegrationParams::*field;
};

// The real-valued parameters, in the Kestrin object's registration order.
std::span<const GeometryParameter> geometry_parameters();

// The text a setter writes into a parameter edit: "%8.4f" when that text reads back as
// the same number, else the shortest general-format text that does, so that the next
// reading of the edits keeps the value the script set.
std::string parameter_edit_text(double value);

// Stores the value and writes its edit text.
void set_geometry_parameter(const GeometryParameter& p, double value);

// SetBand: stores the band width and writes it with "%d".
void set_band_width(int32_t value);

}  // namespace kestrin
