// The names of the merge image window's controls (TfrmMergeImage).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmMergeImage {

inline constexpr std::string_view form = "frmMergeImage";

// The rectangle of the merged picture (image pixels, inclusive).
inline constexpr ControlName edtX0{form, "edtX0"};
inline constexpr ControlName edtY0{form, "edtY0"};
inline constexpr ControlName edtX1{form, "edtX1"};
inline constexpr ControlName edtY1{form, "edtY1"};

// The file list and its buttons.
inline constexpr ControlName memFileName{form, "memFileName"};
inline constexpr ControlName pbtnFileSelect{form, "pbtnFileSelect"};
inline constexpr ControlName PanelButton1{form, "PanelButton1"};
inline constexpr ControlName btnSort{form, "btnSort"};
inline constexpr ControlName opdImageFile{form, "opdImageFile"};

// The rectangle panel, the rotation and the scale.
inline constexpr ControlName pnlSetting{form, "pnlSetting"};
inline constexpr ControlName cmbRotation{form, "cmbRotation"};
inline constexpr ControlName rbtnLinearScale{form, "rbtnLinearScale"};
inline constexpr ControlName rbtnLogScale{form, "rbtnLogScale"};

// Making and saving the picture.
inline constexpr ControlName pbtnMergeImage{form, "pbtnMergeImage"};
inline constexpr ControlName pbtnSaveMergeImage{form, "pbtnSaveMergeImage"};
inline constexpr ControlName svdMergeImage{form, "svdMergeImage"};

// The picture, its grey-level gauge with the edge edits and labels, and the magnification.
inline constexpr ControlName pbxMergeImage{form, "pbxMergeImage"};
inline constexpr ControlName pbxMergeGradationGauge{form, "pbxMergeGradationGauge"};
inline constexpr ControlName edtLowEdge{form, "edtLowEdge"};
inline constexpr ControlName edtHighEdge{form, "edtHighEdge"};
inline constexpr ControlName lblLowIndex{form, "lblLowIndex"};
inline constexpr ControlName lblHighIndex{form, "lblHighIndex"};
inline constexpr ControlName scrMagni{form, "scrMagni"};
inline constexpr ControlName Label1{form, "Label1"};

// The texts the window's edits and labels hold when it is made.
inline constexpr ControlText start_texts[] = {
    {edtX0, "0"},       {edtY0, "0"},          {edtX1, "0"},          {edtY1, "0"},   {edtLowEdge, "0"},
    {edtHighEdge, "1000"}, {lblLowIndex, "0"}, {lblHighIndex, "1000"}, {Label1, "100%"},
};

}  // namespace kestrin::frmMergeImage
