// The names of the pattern graph window's controls (TfrmNaxGraph).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmNaxGraph {

inline constexpr std::string_view form = "frmNaxGraph";

// The view ranges: pixels, intensity and 2theta.
inline constexpr ControlName edtXBegin{form, "edtXBegin"};
inline constexpr ControlName edtXEnd{form, "edtXEnd"};
inline constexpr ControlName edtYBegin{form, "edtYBegin"};
inline constexpr ControlName edtYEnd{form, "edtYEnd"};
inline constexpr ControlName edt2ThetaBegin{form, "edt2ThetaBegin"};
inline constexpr ControlName edt2ThetaEnd{form, "edt2ThetaEnd"};

}  // namespace kestrin::frmNaxGraph
