// The names of the pattern graph window's controls (TfrmNaxGraph).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmNaxGraph {

inline constexpr std::string_view form = "frmNaxGraph";

// The button row.
inline constexpr ControlName pbtnLoadIntensity{form, "pbtnLoadIntensity"};
inline constexpr ControlName pbtnSaveIntensity{form, "pbtnSaveIntensity"};
inline constexpr ControlName pbtnDefaultRegion{form, "pbtnDefaultRegion"};
inline constexpr ControlName pbtnPeakSearch{form, "pbtnPeakSearch"};
inline constexpr ControlName pbtnPrintIntensity{form, "pbtnPrintIntensity"};

// The range panel: the view ranges (pixels, intensity and 2theta), the same-peak tolerance,
// the readout and the picture.
inline constexpr ControlName pnlNaxBase{form, "pnlNaxBase"};
inline constexpr ControlName edtXBegin{form, "edtXBegin"};
inline constexpr ControlName edtXEnd{form, "edtXEnd"};
inline constexpr ControlName edtYBegin{form, "edtYBegin"};
inline constexpr ControlName edtYEnd{form, "edtYEnd"};
inline constexpr ControlName edt2ThetaBegin{form, "edt2ThetaBegin"};
inline constexpr ControlName edt2ThetaEnd{form, "edt2ThetaEnd"};
inline constexpr ControlName Edit1{form, "Edit1"};
// The range edits' labels, as the window shows them and its messages name them.
struct LabelledEdit {
  ControlName edit;
  std::string_view label;
};
inline constexpr LabelledEdit kRangeEdits[] = {{edtXBegin, "X begin"},         {edtXEnd, "X end"},
                                               {edtYBegin, "Y begin"},         {edtYEnd, "Y end"},
                                               {edt2ThetaBegin, "2theta begin"}, {edt2ThetaEnd, "2theta end"}};
inline constexpr std::string_view kWindowTitle = "Intensity Graph";
inline constexpr ControlName lblCurValue{form, "lblCurValue"};
inline constexpr ControlName imgNaxGraph{form, "imgNaxGraph"};

// The bottom panel.
inline constexpr ControlName pnlButtons{form, "pnlButtons"};
inline constexpr ControlName pbtnReDraw{form, "pbtnReDraw"};
inline constexpr ControlName pbtnCopyClipboard{form, "pbtnCopyClipboard"};
inline constexpr ControlName pbtnClose{form, "pbtnClose"};

}  // namespace kestrin::frmNaxGraph
