// The names of the peak list window (TfrmPeak).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmPeak {

inline constexpr std::string_view form = "frmPeak";

}  // namespace kestrin::frmPeak
