// The names of the ring-mask window's controls (TfrmMask).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmMask {

inline constexpr std::string_view form = "frmMask";

// The ring list: the file button, the grid of rings and its two actions.
inline constexpr ControlName pbtnOpenRingMaskFile{form, "pbtnOpenRingMaskFile"};
inline constexpr ControlName sgridReplaceSetting{form, "sgridReplaceSetting"};
inline constexpr ControlName pbtnUpdate{form, "pbtnUpdate"};
inline constexpr ControlName pbtnSubtract{form, "pbtnSubtract"};

// The crystal part, built but hidden.
inline constexpr ControlName pbtnOpenCrystalFile{form, "pbtnOpenCrystalFile"};
inline constexpr ControlName cmbMaterial{form, "cmbMaterial"};
inline constexpr ControlName sgridMillerIndexList{form, "sgridMillerIndexList"};
inline constexpr ControlName pbtnMask{form, "pbtnMask"};

}  // namespace kestrin::frmMask
