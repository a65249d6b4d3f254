// The names of the peak fitting window (TfrmPeakFitting).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmPeakFitting {

inline constexpr std::string_view form = "frmPeakFitting";

}  // namespace kestrin::frmPeakFitting
