// The names of the spot window's controls (TfrmSpot).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmSpot {

inline constexpr std::string_view form = "frmSpot";

// The corners of the search area.
inline constexpr ControlName edtX0{form, "edtX0"};
inline constexpr ControlName edtY0{form, "edtY0"};
inline constexpr ControlName edtX1{form, "edtX1"};
inline constexpr ControlName edtY1{form, "edtY1"};

}  // namespace kestrin::frmSpot
