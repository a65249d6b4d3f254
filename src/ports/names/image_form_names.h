// The names of the image window's controls (TfrmImage).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmImage {

inline constexpr std::string_view form = "frmImage";

// The part view with its scroll bars, on the image panel; the thumbnail.
inline constexpr ControlName pnlImageBase{form, "pnlImageBase"};
inline constexpr ControlName pbxPart{form, "pbxPart"};
inline constexpr ControlName scrDispX{form, "scrDispX"};
inline constexpr ControlName scrDispY{form, "scrDispY"};
inline constexpr ControlName pnlButtons{form, "pnlButtons"};
inline constexpr ControlName imgWhole{form, "imgWhole"};

// The grey-scale gauge: the gauge, the edge edits and the labels beside it.
inline constexpr ControlName pbxGradationGauge{form, "pbxGradationGauge"};
inline constexpr ControlName edtLowEdge{form, "edtLowEdge"};
inline constexpr ControlName lblLowIndex{form, "lblLowIndex"};
inline constexpr ControlName edtHighEdge{form, "edtHighEdge"};
inline constexpr ControlName lblHighIndex{form, "lblHighIndex"};
inline constexpr ControlName rbtnLinearScale{form, "rbtnLinearScale"};
inline constexpr ControlName rbtnLogScale{form, "rbtnLogScale"};

// The readouts of the pixel under the cursor.
inline constexpr ControlName edtCursorX{form, "edtCursorX"};
inline constexpr ControlName edtCursorY{form, "edtCursorY"};
inline constexpr ControlName edtIntensity{form, "edtIntensity"};
inline constexpr ControlName edtDistance{form, "edtDistance"};
inline constexpr ControlName edtAngle{form, "edtAngle"};

// Zoom, brush and mouse tools.
inline constexpr ControlName cmbMagni{form, "cmbMagni"};
inline constexpr ControlName edtMagni{form, "edtMagni"};
inline constexpr ControlName cmbPenSize{form, "cmbPenSize"};
inline constexpr ControlName rbtnMask{form, "rbtnMask"};
inline constexpr ControlName rbtnAreaSelect{form, "rbtnAreaSelect"};
inline constexpr ControlName chkOmitGreen{form, "chkOmitGreen"};
inline constexpr ControlName chkOmitBlue{form, "chkOmitBlue"};

// Command buttons.
inline constexpr ControlName pbtnLoadImage{form, "pbtnLoadImage"};
inline constexpr ControlName pbtnClearMask{form, "pbtnClearMask"};
inline constexpr ControlName pbtnFindCenter{form, "pbtnFindCenter"};
inline constexpr ControlName pbtnLoadMask{form, "pbtnLoadMask"};
inline constexpr ControlName pbtnSaveMask{form, "pbtnSaveMask"};
inline constexpr ControlName pbtnFindSpots{form, "pbtnFindSpots"};
inline constexpr ControlName pbtnPrintImage{form, "pbtnPrintImage"};
inline constexpr ControlName pbtnSaveImage{form, "pbtnSaveImage"};

// The window-setting edits: view size and centre.
inline constexpr ControlName edtImageWindowWidth{form, "edtImageWindowWidth"};
inline constexpr ControlName edtImageWindowHeight{form, "edtImageWindowHeight"};
inline constexpr ControlName edtImageWindowCX{form, "edtImageWindowCX"};
inline constexpr ControlName edtImageWindowCY{form, "edtImageWindowCY"};

inline constexpr ControlName Timer1{form, "Timer1"};

}  // namespace kestrin::frmImage
