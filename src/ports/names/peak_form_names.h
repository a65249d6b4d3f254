// The names of the peak list window (TfrmPeak).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmPeak {

inline constexpr std::string_view form = "frmPeak";

inline constexpr ControlName Label1{form, "Label1"};
inline constexpr ControlName lstPeak{form, "lstPeak"};
inline constexpr ControlName pbtnLoadPeak{form, "pbtnLoadPeak"};
inline constexpr ControlName pbtnSavePeak{form, "pbtnSavePeak"};
inline constexpr ControlName pbtnDeletePeak{form, "pbtnDeletePeak"};
inline constexpr ControlName pbtnCalcDistance{form, "pbtnCalcDistance"};
inline constexpr ControlName pbtnPrint{form, "pbtnPrint"};
inline constexpr ControlName pbtnPeakFitting{form, "pbtnPeakFitting"};
inline constexpr ControlName pbtnCopyClipboard{form, "pbtnCopyClipboard"};
inline constexpr ControlName pbtnClose{form, "pbtnClose"};

}  // namespace kestrin::frmPeak
