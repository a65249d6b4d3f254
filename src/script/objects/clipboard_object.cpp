// Clipboard: asText reads and replaces the text, hasText tests for it.
#include "script/objects/clipboard_object.h"

#include "script/core/engine.h"
#include "script/objects/object_support.h"

namespace kestrin::script {
namespace {

void CHasText(TJObject& self, TJValueList&, Value& result) { result = Value::Bool(UiOf(self).ClipboardHasText()); }

Value GetAsText(TJObject& self) { return Value::String(UiOf(self).ClipboardText()); }
void SetAsText(TJObject& self, const Value& v) { UiOf(self).SetClipboardText(ValueToStdString(v)); }

constexpr PropDef kClipboardProps[] = {{"asText", GetAsText, SetAsText}};

}  // namespace

TJClipboard::TJClipboard(BaseEngine* engine) : TJObject(engine), props_(*this, kClipboardProps) {
  SetObjectName("Clipboard");
}

const ClassInfo& TJClipboard::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"hasText", CHasText}});
  return info;
}

StrRef TJClipboard::ToString(const Value*) { return UiOf(*this).ClipboardText(); }

void RegisterClipboard(TJEngine& engine) {
  engine.RegisterObjectClass("Clipboard", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJClipboard(e); }, true);
}

}  // namespace kestrin::script
