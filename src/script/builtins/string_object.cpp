// String: the held text, `length`, `text` and `str`, indexed reading and writing of one
// character or a range, and the collection interface. The methods are in string_methods.cpp.
#include "script/builtins/string_object.h"

#include <string>

#include "script/builtins/array_object.h"
#include "script/builtins/mbcs.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"

namespace kestrin::script {
namespace {

TJStringObject& StringOf(TJObject& self) { return static_cast<TJStringObject&>(self); }

Value GetStringLength(TJObject& self) {
  return Value::Integer(static_cast<int32_t>(MbcsLength(StringOf(self).Text())));
}
Value GetText(TJObject& self) { return Value::String(StringOf(self).Text()); }
void SetText(TJObject& self, const Value& v) { StringOf(self).SetText(ValueToString(v)); }

constexpr PropDef kStringProps[] = {{"length", GetStringLength, nullptr}, {"text", GetText, SetText}, {"str", GetText, SetText}};

// The two indexes of s[a, b]: the parameter list of an indexed access with two or more.
bool RangeOf(const Value* param, int64_t& start, int64_t& end) {
  TJObject* list = param ? param->object() : nullptr;
  TJValueList* items = list ? list->ListItems() : nullptr;
  if (!items || items->GetCount() < 2) return false;
  start = int64_t{ValueToInteger(items->GetValue(0))} + 1;
  end = int64_t{ValueToInteger(items->GetValue(1))} + 1;
  return true;
}

}  // namespace

TJStringObject::TJStringObject(BaseEngine* engine, StrRef text)
    : TJObject(engine), text_(std::move(text)), props_(*this, kStringProps) {
  SetObjectName("String");
}

int32_t TJStringObject::GetCount() { return static_cast<int32_t>(MbcsLength(text_)); }

void TJStringObject::GetItem(int32_t index, Value& out) { out = Value::String(MbcsCharAt(text_, int64_t{index} + 1)); }

int64_t TJStringObject::CharPosition(const StrRef& name, int32_t index) {
  const int64_t count = MbcsLength(text_);
  int64_t i = index < 0 ? index + count : index;
  if (i < 0 || i >= count) RaiseError(ScriptError::IndexText, {name.view()});
  return i + 1;
}

// A wrapper that holds no members of its own is the same as a new one of the other text.
bool TJStringObject::Rewrap(const Value& primitive) {
  if (members().size() != 0) return false;
  text_ = ValueToString(primitive);
  return true;
}

bool TJStringObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int64_t start = 0, end = 0;
  if (RangeOf(param, start, end)) {
    out = Value::String(MbcsSlice(text_, start, end));
    return true;
  }
  int32_t index;
  if (ElementIndex(name, index)) {
    out = Value::String(MbcsCharAt(text_, CharPosition(name, index)));
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

bool TJStringObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  int64_t start = 0, end = 0;
  if (RangeOf(param, start, end)) {
    MbcsSplice(ValueToString(v), text_, start, end);
    return true;
  }
  int32_t index;
  if (ElementIndex(name, index)) {
    MbcsReplaceChar(ValueToString(v), text_, CharPosition(name, index));
    return true;
  }
  return TJObject::SetValueImpl(name, v, param);
}

void RegisterString(TJEngine& engine) {
  engine.RegisterObjectClass("String", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJStringObject(e, p && p->GetCount() > 0 ? ValueToString(p->GetValue(0)) : StrRef());
  }, true);
}

}  // namespace kestrin::script
