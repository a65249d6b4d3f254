// The names of the spot analysis window's controls (TfrmSpotAnalyze).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmSpotAnalyze {

inline constexpr std::string_view form = "frmSpotAnalyze";

// The background calculation: start and end distance, end and start threshold (percent).
inline constexpr ControlName edtBGSizeStart{form, "edtBGSizeStart"};
inline constexpr ControlName edtBGSizeEnd{form, "edtBGSizeEnd"};
inline constexpr ControlName edtShikii{form, "edtShikii"};
inline constexpr ControlName edtShikii2{form, "edtShikii2"};

// The 2theta calculation: half width of the profile, band, allowance, fit and profile kind.
inline constexpr ControlName edt2ThetaHalfWidth{form, "edt2ThetaHalfWidth"};
inline constexpr ControlName chkUseListBand{form, "chkUseListBand"};
inline constexpr ControlName edtAngleSetting{form, "edtAngleSetting"};
inline constexpr ControlName rbtnFitType1{form, "rbtnFitType1"};
inline constexpr ControlName rbtnFitType2{form, "rbtnFitType2"};
inline constexpr ControlName rbtnAngleKind1{form, "rbtnAngleKind1"};
inline constexpr ControlName rbtnAngleKind2{form, "rbtnAngleKind2"};
inline constexpr ControlName edtDifference{form, "edtDifference"};

// The runs: all spots, step by step, one spot, and the run's status.
inline constexpr ControlName btnCalcAll{form, "btnCalcAll"};
inline constexpr ControlName edtStartSpotAll{form, "edtStartSpotAll"};
inline constexpr ControlName btnCalcStep{form, "btnCalcStep"};
inline constexpr ControlName btnRetry{form, "btnRetry"};
inline constexpr ControlName btnAbort{form, "btnAbort"};
inline constexpr ControlName edtStartSpotStep{form, "edtStartSpotStep"};
inline constexpr ControlName lblStepStatus{form, "lblStepStatus"};
inline constexpr ControlName edtIndex{form, "edtIndex"};
inline constexpr ControlName pbtn2ThetaCalc{form, "pbtn2ThetaCalc"};

// The list's buttons ("Load List", "Save List" and "Close", whatever their names say), the
// background calculation's button and the spot grid.
inline constexpr ControlName pbtnSavePeak{form, "pbtnSavePeak"};
inline constexpr ControlName PanelButton1{form, "PanelButton1"};
inline constexpr ControlName pbtnClose{form, "pbtnClose"};
inline constexpr ControlName pbtnCalc{form, "pbtnCalc"};
inline constexpr ControlName sgridSpotReference{form, "sgridSpotReference"};

// The texts the window's edits and labels hold when it is made.
inline constexpr ControlText start_texts[] = {
    {edtBGSizeStart, "20"}, {edtBGSizeEnd, "3"},       {edtShikii, "10"},      {edtShikii2, "30"},
    {edt2ThetaHalfWidth, "2"}, {edtAngleSetting, "12"}, {edtDifference, "0.05"}, {edtStartSpotAll, "1"},
    {edtStartSpotStep, "1"}, {edtIndex, "1"},          {btnCalcStep, "Start Step"}, {lblStepStatus, "Stop"},
};
// Its radio groups and the buttons checked when it is made.
inline constexpr ControlName fit_type_radios[] = {rbtnFitType1, rbtnFitType2};
inline constexpr ControlName angle_kind_radios[] = {rbtnAngleKind1, rbtnAngleKind2};
inline constexpr ControlName start_checked[] = {rbtnFitType2, rbtnAngleKind1};

}  // namespace kestrin::frmSpotAnalyze
