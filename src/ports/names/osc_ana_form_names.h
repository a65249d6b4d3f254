// The names of the oscillation analysis window's controls (TfrmOscAna).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmOscAna {

inline constexpr std::string_view form = "frmOscAna";

// The spot-search settings, as on the spot window.
inline constexpr ControlName edtCenterSize{form, "edtCenterSize"};
inline constexpr ControlName edtBGSize{form, "edtBGSize"};
inline constexpr ControlName edtShikii1{form, "edtShikii1"};
inline constexpr ControlName edtShikii2{form, "edtShikii2"};
inline constexpr ControlName edtSameSpotDistance{form, "edtSameSpotDistance"};

// The search around each reference position, and the suffix of the output file names.
inline constexpr ControlName edtSpotDiscardDistance{form, "edtSpotDiscardDistance"};
inline constexpr ControlName edtSearchDistance{form, "edtSearchDistance"};
inline constexpr ControlName edtAddString{form, "edtAddString"};

// The texts the window's edits hold when it is made.
inline constexpr ControlText start_texts[] = {
    {edtCenterSize, "1"},          {edtBGSize, "9"},           {edtShikii1, "1.3"}, {edtShikii2, "0.2"},
    {edtSameSpotDistance, "4"}, {edtSpotDiscardDistance, "4"}, {edtSearchDistance, "20"}, {edtAddString, ""},
};

}  // namespace kestrin::frmOscAna
