// String: characters counted in CP932 (a lead byte and its trail byte are one), element
// and `length` members, and charAt.
#include "script/builtins/string.h"

#include "script/builtins/array.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

void SCharAt(TJObject& self, TJValueList& params, Value& result) {
  auto& s = static_cast<TJStringObject&>(self);
  int32_t index = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  result = Value::String(CharAt(ValueToString(s.Primitive()), index));
}

}  // namespace

StrRef CharAt(const StrRef& text, int32_t index) {
  if (index < 0) return StrRef();
  std::string_view s = text.view();
  size_t at = Cp932ByteOffset(s, static_cast<size_t>(index));
  if (at >= s.size()) return StrRef();
  size_t n = IsLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
  return StrRef(s.substr(at, n));
}

TJStringObject::TJStringObject(BaseEngine* engine, Value text)
    : TJPrimitiveObject(engine, "String", kStringObjectClass, std::move(text)) {}

const ClassInfo& TJStringObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"charAt", SCharAt}});
  return info;
}

int32_t TJStringObject::GetCount() { return static_cast<int32_t>(ValueToString(Primitive()).CharCount()); }

void TJStringObject::GetItem(int32_t index, Value& out) { out = Value::String(CharAt(Primitive().str(), index)); }

bool TJStringObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (name.view() == "length") {
    out = Value::Integer(GetCount());
    return true;
  }
  int32_t index;
  if (ElementIndex(name, index)) {
    out = Value::String(CharAt(Primitive().str(), index));
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

void RegisterString(TJEngine& engine) {
  engine.RegisterObjectClass("String", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    Value v = p && p->GetCount() > 0 ? Value::String(ValueToString(p->GetValue(0))) : Value::String("");
    return new TJStringObject(e, v);
  });
}

}  // namespace kestrin::script
