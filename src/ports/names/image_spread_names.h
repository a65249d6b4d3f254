// The names of the image spread window's controls (TfrmImageSpread).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmImageSpread {

inline constexpr std::string_view form = "frmImageSpread";

// The list of image files, one full name a line, and its selection.
inline constexpr ControlName memFileName{form, "memFileName"};
inline constexpr ControlName pbtnFileSelect{form, "pbtnFileSelect"};
inline constexpr ControlName btnExecute{form, "btnExecute"};

// The mode: make a reference file, or spread images against one.
inline constexpr ControlName rbtnSpreadNew{form, "rbtnSpreadNew"};
inline constexpr ControlName rbtnSpreadRef{form, "rbtnSpreadRef"};
// One group; the first is checked when the window is made.
inline constexpr ControlName mode_radios[] = {rbtnSpreadNew, rbtnSpreadRef};

// The reference file.
inline constexpr ControlName edtRefFileName{form, "edtRefFileName"};
inline constexpr ControlName btnRefFileSelect{form, "btnRefFileSelect"};

inline constexpr ControlName opdImageList{form, "opdImageList"};
inline constexpr ControlName svdRefFile{form, "svdRefFile"};

}  // namespace kestrin::frmImageSpread
