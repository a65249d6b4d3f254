// The names of the image window's controls (TfrmImage).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmImage {

inline constexpr std::string_view form = "frmImage";

// The grey-scale gauge: the edge edits and the labels beside the gauge.
inline constexpr ControlName edtLowEdge{form, "edtLowEdge"};
inline constexpr ControlName lblLowIndex{form, "lblLowIndex"};
inline constexpr ControlName edtHighEdge{form, "edtHighEdge"};
inline constexpr ControlName lblHighIndex{form, "lblHighIndex"};

}  // namespace kestrin::frmImage
