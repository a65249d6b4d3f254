// The names of the log window's controls (TfrmLog).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmLog {

inline constexpr std::string_view form = "frmLog";

inline constexpr ControlName memLog{form, "memLog"};
inline constexpr ControlName pbtnClearLog{form, "pbtnClearLog"};
inline constexpr ControlName pbtnClose{form, "pbtnClose"};

}  // namespace kestrin::frmLog
