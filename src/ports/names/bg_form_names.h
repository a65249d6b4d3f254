// The names of the background window's controls (TfrmBG).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmBG {

inline constexpr std::string_view form = "frmBG";

// The zoom combo and edit.
inline constexpr ControlName cmbMagni{form, "cmbMagni"};
inline constexpr ControlName edtMagni{form, "edtMagni"};

// The progress of a background run: the number of rows, the row done last and the seconds.
inline constexpr ControlName lblLines{form, "lblLines"};
inline constexpr ControlName lblCurrentLine{form, "lblCurrentLine"};
inline constexpr ControlName lblPastSecond{form, "lblPastSecond"};

}  // namespace kestrin::frmBG
