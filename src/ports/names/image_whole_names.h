// The names of the whole-image window's controls (TfrmImageWhole).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmImageWhole {

inline constexpr std::string_view form = "frmImageWhole";

inline constexpr ControlName imgWhole{form, "imgWhole"};
inline constexpr ControlName cmbMagni{form, "cmbMagni"};
inline constexpr ControlName pbtnWide{form, "pbtnWide"};
inline constexpr ControlName pbtnTele{form, "pbtnTele"};

}  // namespace kestrin::frmImageWhole
