// The names of the main window's controls (TfrmMain): the window builds its controls with
// them and Qt-free code addresses them with them.
#pragma once

#include "ports/controls.h"

namespace kestrin::frmMain {

inline constexpr std::string_view form = "frmMain";

// Parameter edits, top to bottom.
inline constexpr ControlName edt2ThetaBegin{form, "edt2ThetaBegin"};
inline constexpr ControlName edt2ThetaEnd{form, "edt2ThetaEnd"};
inline constexpr ControlName edt2ThetaStep{form, "edt2ThetaStep"};
inline constexpr ControlName edtCameraLength{form, "edtCameraLength"};
inline constexpr ControlName edtLambda{form, "edtLambda"};
inline constexpr ControlName edtPixelX{form, "edtPixelX"};
inline constexpr ControlName edtPixelY{form, "edtPixelY"};
inline constexpr ControlName edtBeta{form, "edtBeta"};
inline constexpr ControlName edtPhi{form, "edtPhi"};
inline constexpr ControlName edtBandWidth{form, "edtBandWidth"};
inline constexpr ControlName edtRectAngle{form, "edtRectAngle"};
inline constexpr ControlName edtSectorStartAngle{form, "edtSectorStartAngle"};
inline constexpr ControlName edtSectorEndAngle{form, "edtSectorEndAngle"};
inline constexpr ControlName edtSectoredAngle{form, "edtSectoredAngle"};
inline constexpr ControlName edtCenterX0{form, "edtCenterX0"};
inline constexpr ControlName edtCenterY0{form, "edtCenterY0"};

// Header locks: while checked, the loader keeps the user's value.
inline constexpr ControlName chkLo{form, "chkLo"};
inline constexpr ControlName chkwl{form, "chkwl"};
inline constexpr ControlName chkpsx{form, "chkpsx"};
inline constexpr ControlName chkpsy{form, "chkpsy"};

// Region radios (one group) and the rectangle's mode radios (a second group).
inline constexpr ControlName rbtnRectangle{form, "rbtnRectangle"};
inline constexpr ControlName rbtnSector{form, "rbtnSector"};
inline constexpr ControlName rbtnSectoredDivision{form, "rbtnSectoredDivision"};
inline constexpr ControlName rbtnRect_Direction{form, "rbtnRect_Direction"};
inline constexpr ControlName rbtnRect_Angle{form, "rbtnRect_Angle"};
inline constexpr ControlName cmbDirection{form, "cmbDirection"};

// Command buttons, panels, dialogs and the menu.
inline constexpr ControlName pbtnLoadImage{form, "pbtnLoadImage"};
inline constexpr ControlName pbtnFindCenter{form, "pbtnFindCenter"};
inline constexpr ControlName pbtnAngleIntensity{form, "pbtnAngleIntensity"};
inline constexpr ControlName pbtnPixelIntensity{form, "pbtnPixelIntensity"};
inline constexpr ControlName Panel1{form, "Panel1"};
inline constexpr ControlName pnlRectMode{form, "pnlRectMode"};
inline constexpr ControlName opdFileSelect{form, "opdFileSelect"};
inline constexpr ControlName svdFileSelect{form, "svdFileSelect"};
inline constexpr ControlName PrintDialog1{form, "PrintDialog1"};
inline constexpr ControlName MainMenu1{form, "MainMenu1"};

}  // namespace kestrin::frmMain
