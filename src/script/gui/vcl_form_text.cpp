// The form wrapper's descriptions and printing: loadFromFile (found like an import),
// saveToFile (written beside the target and renamed when complete), loadFromText and
// saveToText (script strings, CP932), print.
#include <string>

#include "base/cp932.h"
#include "base/text_file.h"
#include "platform/classes/form_stream.h"
#include "platform/gui/form.h"
#include "platform/gui/stream_classes.h"
#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/core/value_list.h"
#include "script/gui/vcl_controls.h"

namespace kestrin::script {

void TJVCLBaseForm::ReadFromText(std::string_view text, kgui::RawText raw) {
  auto& form = *static_cast<kgui::TForm*>(vcl_);
  kgui::RegisterVCLStreamClasses();
  // The class library's message, raised again by the guard with the class name before it.
  const std::string error = kgui::readComponentText(form, text, raw);
  RegisterChildren();
  if (!error.empty()) throw kgui::EPropertyError(error);
  // A form is created from its description: "onCreate" runs once the children are members.
  form.doCreate();
}

std::string TJVCLBaseForm::WriteToText() { return kgui::writeComponentText(*static_cast<kgui::TForm*>(vcl_)); }

void FLoadFromText(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  const std::string text = ValueToStdString(params.GetValue(0));
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] { w.ReadFromText(text, kgui::RawText::Cp932); });
  result = Value::Object(&self);
}

void FSaveToText(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params);
  std::string text;
  VCLGuard(w, [&] { text = w.WriteToText(); });
  result = Value::String(StrRef(utf8_to_cp932(text)));
}

void FLoadFromFile(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  const std::string name = ValueToStdString(params.GetValue(0));
  Ref<TJObject> hold(&self);
  VCLGuard(w, [&] {
    std::string path;
    auto* engine = dynamic_cast<TJEngine*>(w.Engine());
    if (!engine || !engine->FindImportFile(ScriptPathToOs(name), path)) w.RaiseVCLError("read component error: " + name);
    std::string bytes;
    std::string error;
    if (!read_file_bytes(path, bytes, &error, size_t(64) << 20)) w.RaiseVCLError("read component error: " + name);
    w.ReadFromText(bytes, kgui::RawText::Detect);
  });
  result = Value::Object(&self);
}

void FSaveToFile(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  w.CheckVCL(params, 1);
  const std::string path = ScriptPathToOs(ValueToStdString(params.GetValue(0)));
  VCLGuard(w, [&] {
    std::string error;
    if (!write_file_bytes(path, w.WriteToText(), &error)) throw kgui::EPropertyError(error);
  });
  result = Value::Object(&self);
}

void FPrint(TJObject& self, TJValueList& params, Value& result) {
  auto& w = Self<TJVCLBaseForm>(self);
  auto& form = NativeOfSelf<kgui::TForm>(w, params);
  VCLGuard(w, [&] { form.print(); });
  result = Value::Object(&self);
}

}  // namespace kestrin::script
