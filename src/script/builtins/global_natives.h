// The Global object's natives that live outside global_object.cpp, for its method table.
#pragma once

#include <string_view>

#include "script/core/object.h"

namespace kestrin::script {

// global_text.cpp: percent coding and formatting.
void GEscape(TJObject& self, TJValueList& params, Value& result);
void GUnescape(TJObject& self, TJValueList& params, Value& result);
void GDecodeURI(TJObject& self, TJValueList& params, Value& result);
void GDecodeURIComponent(TJObject& self, TJValueList& params, Value& result);
void GEncodeURI(TJObject& self, TJValueList& params, Value& result);
void GEncodeURIComponent(TJObject& self, TJValueList& params, Value& result);
void GFormat(TJObject& self, TJValueList& params, Value& result);
void GFormatFloat(TJObject& self, TJValueList& params, Value& result);
void GPrintf(TJObject& self, TJValueList& params, Value& result);
void GPrintfln(TJObject& self, TJValueList& params, Value& result);

// global_dialogs.cpp: message boxes and input dialogs.
void GAlert(TJObject& self, TJValueList& params, Value& result);
void GPrompt(TJObject& self, TJValueList& params, Value& result);
void GConfirm(TJObject& self, TJValueList& params, Value& result);
void GTextArea(TJObject& self, TJValueList& params, Value& result);
void GMsgBox(TJObject& self, TJValueList& params, Value& result);
void GIsConsole(TJObject& self, TJValueList& params, Value& result);

// global_object.cpp: writes text to the output path.
void WriteOutput(TJObject& self, std::string_view text);

}  // namespace kestrin::script
