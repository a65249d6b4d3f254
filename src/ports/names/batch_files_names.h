// The names of the batch conversion window's controls (TfrmBatchFiles).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmBatchFiles {

inline constexpr std::string_view form = "frmBatchFiles";

// The list of image files, one full name a line.
inline constexpr ControlName memFileName{form, "memFileName"};
inline constexpr ControlName pbtnFileSelect{form, "pbtnFileSelect"};
inline constexpr ControlName btnExecute{form, "btnExecute"};
inline constexpr ControlName opdImageList{form, "opdImageList"};

}  // namespace kestrin::frmBatchFiles
