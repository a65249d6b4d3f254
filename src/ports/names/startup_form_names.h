// The names of the start-up form's controls (TfrmStartUp).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmStartUp {

inline constexpr std::string_view form = "frmStartUp";

inline constexpr ControlName Label1{form, "Label1"};
inline constexpr ControlName Timer1{form, "Timer1"};

}  // namespace kestrin::frmStartUp
