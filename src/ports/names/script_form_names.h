// The names of the script window's controls (TfrmScript).
#pragma once

#include "ports/controls.h"

namespace kestrin::frmScript {

inline constexpr std::string_view form = "frmScript";

// The script text, its output and the target image files.
inline constexpr ControlName memScriptSource{form, "memScriptSource"};
inline constexpr ControlName memScriptLog{form, "memScriptLog"};
inline constexpr ControlName memFileName{form, "memFileName"};

// Command buttons.
inline constexpr ControlName pbtnScriptFileLoad{form, "pbtnScriptFileLoad"};
inline constexpr ControlName pbtnScriptFileSave{form, "pbtnScriptFileSave"};
inline constexpr ControlName pbtnFileSelect{form, "pbtnFileSelect"};
inline constexpr ControlName pbtnScriptExecute{form, "pbtnScriptExecute"};
inline constexpr ControlName pbtnScriptExecute2{form, "pbtnScriptExecute2"};
inline constexpr ControlName pbtnSelectWatchFolder{form, "pbtnSelectWatchFolder"};
inline constexpr ControlName pbtnScriptExecute3{form, "pbtnScriptExecute3"};
inline constexpr ControlName pbtnScriptRecordStart{form, "pbtnScriptRecordStart"};
inline constexpr ControlName pbtnScriptRecordStop{form, "pbtnScriptRecordStop"};
// Shown only while a script runs; Escape in the window presses it.
inline constexpr ControlName btnScriptStop{form, "btnScriptStop"};

// The hidden number cells of the Kestrin object (GetValue1, SetValue1, LineFit).
inline constexpr ControlName edtValue1{form, "edtValue1"};
inline constexpr ControlName edtValue2{form, "edtValue2"};

// Dialogs.
inline constexpr ControlName opdTargetFile{form, "opdTargetFile"};
inline constexpr ControlName opdImageFile{form, "opdImageFile"};
inline constexpr ControlName svdTargetFile{form, "svdTargetFile"};

}  // namespace kestrin::frmScript
