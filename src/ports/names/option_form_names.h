// The names of the options window's controls (TfrmOption) that other code reaches.
#pragma once

#include "ports/controls.h"

namespace kestrin::frmOption {

inline constexpr std::string_view form = "frmOption";

// Mirrors the option that clears the mask at each image load.
inline constexpr ControlName chkClearMask{form, "chkClearMask"};

}  // namespace kestrin::frmOption
