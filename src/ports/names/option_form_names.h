// The names of the options window's controls (TfrmOption).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmOption {

inline constexpr std::string_view form = "frmOption";

// One control per field of the options record, in the record's order.
inline constexpr ControlName chkVerticalReverse{form, "chkVerticalReverse"};
inline constexpr ControlName rdgCenterMarker{form, "rdgCenterMarker"};
inline constexpr ControlName edtHwhmPixel{form, "edtHwhmPixel"};
inline constexpr ControlName edtHwhmTheta{form, "edtHwhmTheta"};
inline constexpr ControlName rdgDistanceSetting{form, "rdgDistanceSetting"};
inline constexpr ControlName chkGradationReverse{form, "chkGradationReverse"};
inline constexpr ControlName chkClearMask{form, "chkClearMask"};
inline constexpr ControlName rbtnFitType1{form, "rbtnFitType1"};
inline constexpr ControlName rbtnFitType2{form, "rbtnFitType2"};
inline constexpr ControlName fit_radios[] = {rbtnFitType1, rbtnFitType2};  // one group

inline constexpr ControlName pbtnApply{form, "pbtnApply"};
inline constexpr ControlName pbtnCancel{form, "pbtnCancel"};

// The texts the window's edits hold when it is made (its creation then shows the options).
inline constexpr ControlText start_texts[] = {{edtHwhmPixel, "3.0"}, {edtHwhmTheta, "0.1"}};

}  // namespace kestrin::frmOption
