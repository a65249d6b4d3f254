// The names of the cake window's controls (TfrmCake).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmCake {

inline constexpr std::string_view form = "frmCake";

inline constexpr ControlName imgCake{form, "imgCake"};
inline constexpr ControlName ScrollBar1{form, "ScrollBar1"};
inline constexpr ControlName Button1{form, "Button1"};  // "sector cake", hidden
inline constexpr ControlName Button2{form, "Button2"};  // "Cake"

}  // namespace kestrin::frmCake
