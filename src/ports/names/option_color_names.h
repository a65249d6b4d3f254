// The names of the colour window's controls (TfrmOptionColor).
#pragma once

#include <array>

#include "ports/controls.h"

namespace kestrin::frmOptionColor {

inline constexpr std::string_view form = "frmOptionColor";

// The six colour swatches, in the order of the display colours.
inline constexpr ControlName lblColorSetting1{form, "lblColorSetting1"};
inline constexpr ControlName lblColorSetting2{form, "lblColorSetting2"};
inline constexpr ControlName lblColorSetting3{form, "lblColorSetting3"};
inline constexpr ControlName lblColorSetting4{form, "lblColorSetting4"};
inline constexpr ControlName lblColorSetting5{form, "lblColorSetting5"};
inline constexpr ControlName lblColorSetting6{form, "lblColorSetting6"};
inline constexpr std::array<ControlName, 6> swatches = {lblColorSetting1, lblColorSetting2, lblColorSetting3,
                                                        lblColorSetting4, lblColorSetting5, lblColorSetting6};

inline constexpr ControlName cldColorSelect{form, "cldColorSelect"};
inline constexpr ControlName pbtnApply{form, "pbtnApply"};
inline constexpr ControlName pbtnCancel{form, "pbtnCancel"};

}  // namespace kestrin::frmOptionColor
