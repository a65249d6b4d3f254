// The names of the background window's controls (TfrmBG).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmBG {

inline constexpr std::string_view form = "frmBG";

// The zoom combo and edit.
inline constexpr ControlName cmbMagni{form, "cmbMagni"};
inline constexpr ControlName edtMagni{form, "edtMagni"};

// The progress of a background run: the number of rows, the row done last and the seconds.
inline constexpr ControlName lblLines{form, "lblLines"};
inline constexpr ControlName lblCurrentLine{form, "lblCurrentLine"};
inline constexpr ControlName lblPastSecond{form, "lblPastSecond"};

// The background's file name ("plz load BG image." until one is loaded).
inline constexpr ControlName lblBGFileName{form, "lblBGFileName"};

// Make BG: the rank filter's size, step and rank, the smoothing and its size.
inline constexpr ControlName edtFilterSize{form, "edtFilterSize"};
inline constexpr ControlName edtFilterStep{form, "edtFilterStep"};
inline constexpr ControlName edtFilterSelect{form, "edtFilterSelect"};
inline constexpr ControlName edtFilterSize2{form, "edtFilterSize2"};
inline constexpr ControlName rbtnBGSmoothing1{form, "rbtnBGSmoothing1"};
inline constexpr ControlName rbtnBGSmoothing2{form, "rbtnBGSmoothing2"};
inline constexpr ControlName rbtnBGSmoothing3{form, "rbtnBGSmoothing3"};

// Subtract BG: the smoothing of the image, the offset percent, the background factor, and
// the hidden edit that receives the offset used.
inline constexpr ControlName rbtnSourceSmoothing1{form, "rbtnSourceSmoothing1"};
inline constexpr ControlName rbtnSourceSmoothing2{form, "rbtnSourceSmoothing2"};
inline constexpr ControlName rbtnSourceSmoothing3{form, "rbtnSourceSmoothing3"};
inline constexpr ControlName edtSourceSmoothingFilterSize{form, "edtSourceSmoothingFilterSize"};
inline constexpr ControlName edtSourcePlus{form, "edtSourcePlus"};
inline constexpr ControlName edtBGMagni{form, "edtBGMagni"};
inline constexpr ControlName edtOffset1{form, "edtOffset1"};

// The grey-scale gauge's edits and labels.
inline constexpr ControlName edtLowEdge{form, "edtLowEdge"};
inline constexpr ControlName edtHighEdge{form, "edtHighEdge"};
inline constexpr ControlName lblLowIndex{form, "lblLowIndex"};
inline constexpr ControlName lblHighIndex{form, "lblHighIndex"};

// The view, its scroll bars and readouts, the gauge's picture, the scale radios.
inline constexpr ControlName pnlImageBase{form, "pnlImageBase"};
inline constexpr ControlName pnlButtons{form, "pnlButtons"};
inline constexpr ControlName pbxPart{form, "pbxPart"};
inline constexpr ControlName scrDispX{form, "scrDispX"};
inline constexpr ControlName scrDispY{form, "scrDispY"};
inline constexpr ControlName edtCursorX{form, "edtCursorX"};
inline constexpr ControlName edtCursorY{form, "edtCursorY"};
inline constexpr ControlName edtIntensity{form, "edtIntensity"};
inline constexpr ControlName edtDistance{form, "edtDistance"};
inline constexpr ControlName pbxGradationGauge{form, "pbxGradationGauge"};
inline constexpr ControlName rbtnLogScale{form, "rbtnLogScale"};
inline constexpr ControlName rbtnLinearScale{form, "rbtnLinearScale"};

// The buttons: load, Pause and Cancel of a run, Make BG, Save BG, Subtract BG, Save Image.
inline constexpr ControlName pbtnLoadImage{form, "pbtnLoadImage"};
inline constexpr ControlName Button1{form, "Button1"};
inline constexpr ControlName Button2{form, "Button2"};
inline constexpr ControlName pbtnExecuteFiltering{form, "pbtnExecuteFiltering"};
inline constexpr ControlName PanelButton1{form, "PanelButton1"};
inline constexpr ControlName pbtnSubtractBG{form, "pbtnSubtractBG"};
inline constexpr ControlName pbtnSaveImage{form, "pbtnSaveImage"};

// Controls the window keeps hidden and without function.
inline constexpr ControlName cmbPenSize{form, "cmbPenSize"};
inline constexpr ControlName chkEraseMode{form, "chkEraseMode"};
inline constexpr ControlName chkOmitGreen{form, "chkOmitGreen"};
inline constexpr ControlName chkOmitBlue{form, "chkOmitBlue"};
inline constexpr ControlName rbtnHistoScale{form, "rbtnHistoScale"};
inline constexpr ControlName imgWhole{form, "imgWhole"};
inline constexpr ControlName Memo1{form, "Memo1"};

// The caption of the background's file name before one is loaded.
inline constexpr std::string_view kNoBgFileCaption = "plz load BG image.";

// The texts the window's edits and labels hold when it is made.
inline constexpr ControlText start_texts[] = {
    {lblBGFileName, kNoBgFileCaption}, {edtFilterSize, "19"}, {edtFilterStep, "2"}, {edtFilterSelect, "50"},
    {edtFilterSize2, "3"}, {edtSourceSmoothingFilterSize, "3"}, {edtSourcePlus, "100"}, {edtBGMagni, "1.0"},
    {edtLowEdge, "0"}, {edtHighEdge, "1000"}, {lblLowIndex, "0"}, {lblHighIndex, "1000"}, {lblCurrentLine, "1"},
    {lblLines, "/4000"}, {edtMagni, "1.0"},
};
// Its radio groups and the buttons checked when it is made.
inline constexpr ControlName bg_smoothing_radios[] = {rbtnBGSmoothing1, rbtnBGSmoothing2, rbtnBGSmoothing3};
inline constexpr ControlName source_smoothing_radios[] = {rbtnSourceSmoothing1, rbtnSourceSmoothing2,
                                                          rbtnSourceSmoothing3};
inline constexpr ControlName start_checked[] = {rbtnBGSmoothing1, rbtnSourceSmoothing1};

}  // namespace kestrin::frmBG
