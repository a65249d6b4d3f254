// The names of the peak fitting window (TfrmPeakFitting).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmPeakFitting {

inline constexpr std::string_view form = "frmPeakFitting";

inline constexpr ControlName sgridPeakParameter{form, "sgridPeakParameter"};
inline constexpr ControlName pbtnReFitting{form, "pbtnReFitting"};
inline constexpr ControlName pbtnFileSave{form, "pbtnFileSave"};

}  // namespace kestrin::frmPeakFitting
