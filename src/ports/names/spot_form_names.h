// The names of the spot window's controls (TfrmSpot).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmSpot {

inline constexpr std::string_view form = "frmSpot";

// The search settings: peak-box and background half sizes, the peak/background ratio, the
// side-ratio tolerance and the duplicate distance.
inline constexpr ControlName edtCenterSize{form, "edtCenterSize"};
inline constexpr ControlName edtBGSize{form, "edtBGSize"};
inline constexpr ControlName edtShikii1{form, "edtShikii1"};
inline constexpr ControlName edtShikii2{form, "edtShikii2"};
inline constexpr ControlName edtSameSpotDistance{form, "edtSameSpotDistance"};

// The corners of the search area.
inline constexpr ControlName edtX0{form, "edtX0"};
inline constexpr ControlName edtY0{form, "edtY0"};
inline constexpr ControlName edtX1{form, "edtX1"};
inline constexpr ControlName edtY1{form, "edtY1"};

// The texts the window's edits hold when it is made.
inline constexpr ControlText start_texts[] = {
    {edtCenterSize, "1"}, {edtBGSize, "9"}, {edtShikii1, "1.3"}, {edtShikii2, "0.2"}, {edtSameSpotDistance, "4"},
    {edtX0, "0"},         {edtY0, "0"},     {edtX1, "3999"},     {edtY1, "3999"},
};

}  // namespace kestrin::frmSpot
