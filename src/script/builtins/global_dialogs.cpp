// The Global object's dialogs: alert, confirm and msgBox as message boxes, prompt and
// textArea as input dialogs, all through the host's UI services. Captions default to the
// application title.
#include <algorithm>
#include <string>

#include "script/builtins/global_natives.h"
#include "script/builtins/global_object.h"
#include "script/core/script_ui.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

constexpr uint32_t kAlertFlags = kMbOk | kMbIconExclamation;
constexpr uint32_t kConfirmFlags = kMbOkCancel | kMbIconQuestion;
// A width or height given above 0 is raised to at least this.
constexpr int32_t kMinDialogSize = 200;

ScriptUi& UiOf(TJObject& self) { return static_cast<TJGlobalObject&>(self).Ui(); }

std::string StdTextArg(TJValueList& params, int32_t i) { return ValueToStdString(params.GetValue(i)); }

std::string CaptionArg(TJObject& self, TJValueList& params, int32_t i) {
  return params.GetCount() > i ? StdTextArg(params, i) : UiOf(self).ApplicationTitle();
}

int32_t SizeArg(TJValueList& params, int32_t i) {
  if (params.GetCount() <= i) return 0;
  const int32_t v = ValueToInteger(params.GetValue(i));
  return v > 0 ? std::max(v, kMinDialogSize) : 0;
}

}  // namespace

void GAlert(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  UiOf(self).MessageBox(StdTextArg(params, 0), CaptionArg(self, params, 1), kAlertFlags);
  result = Value::Object(&self);
}

// True unless the box answered Cancel (the close box counts as Cancel).
void GConfirm(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  result = Value::Bool(UiOf(self).MessageBox(StdTextArg(params, 0), CaptionArg(self, params, 1), kConfirmFlags) !=
                       kIdCancel);
}

void GMsgBox(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  const auto flags = params.GetCount() > 1 ? static_cast<uint32_t>(ValueToInteger(params.GetValue(1))) : kMbOk;
  result = Value::Integer(UiOf(self).MessageBox(StdTextArg(params, 0), CaptionArg(self, params, 2), flags));
}

// The edit's text on OK; null when cancelled.
void GPrompt(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  PromptRequest request;
  request.text = StdTextArg(params, 0);
  if (params.GetCount() > 1) request.value = StdTextArg(params, 1);
  if (params.GetCount() > 2) request.password_char = ValueToChar(params.GetValue(2));
  request.caption = CaptionArg(self, params, 3);
  request.width = SizeArg(params, 4);
  std::string text;
  result = UiOf(self).Prompt(request, text) ? Value::String(text) : Value::Null();
}

// The memo's whole text on OK; null when cancelled.
void GTextArea(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  TextAreaRequest request;
  request.text = StdTextArg(params, 0);
  if (params.GetCount() > 1) request.value = StdTextArg(params, 1);
  request.caption = CaptionArg(self, params, 2);
  request.width = SizeArg(params, 3);
  request.height = SizeArg(params, 4);
  std::string text;
  result = UiOf(self).TextArea(request, text) ? Value::String(text) : Value::Null();
}

void GIsConsole(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(UiOf(self).IsConsole()); }

}  // namespace kestrin::script
