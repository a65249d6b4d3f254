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

}  // namespace kestrin::frmMergeImage
