// Array: push, pop and join, element and length members, and the constructor that takes a
// count or the elements.
#include "script/builtins/array.h"

#include <string>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {
namespace {

TJArrayObject& ArrayOf(TJObject& self) { return static_cast<TJArrayObject&>(self); }

void APush(TJObject& self, TJValueList& params, Value& result) {
  for (int32_t i = 0; i < params.GetCount(); ++i) ArrayOf(self).items.Add(params.GetValue(i));
  result = Value::Integer(ArrayOf(self).items.GetCount());
}

void APop(TJObject& self, TJValueList&, Value& result) {
  TJValueList& items = ArrayOf(self).items;
  if (items.GetCount() == 0) return;
  result = items.GetValue(items.GetCount() - 1);
  items.Delete(items.GetCount() - 1);
}

// Arrays that hold themselves would join without end: nesting is capped.
thread_local int g_join_depth = 0;
constexpr int kMaxJoinDepth = 200;

void AJoin(TJObject& self, TJValueList& params, Value& result) {
  if (g_join_depth >= kMaxJoinDepth) RaiseError(ScriptError::StackOverflow);
  struct Depth {
    Depth() { ++g_join_depth; }
    ~Depth() { --g_join_depth; }
  } depth;
  StrRef sep = params.GetCount() > 0 ? ValueToString(params.GetValue(0)) : StrRef(",");
  TJValueList& items = ArrayOf(self).items;
  StrRef out("");
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    if (i > 0) out.Append(sep.view());
    out.Append(ValueToString(items.GetValue(i)).view());
  }
  result = Value::String(out);
}

[[noreturn]] void CountOutOfBounds(int32_t n) {
  RaiseError(ScriptError::ListCount, {std::to_string(n)});
}

}  // namespace

bool ElementIndex(const StrRef& name, int32_t& index) {
  std::string_view s = name.view();
  if (s.empty() || s.size() > 9 || (s.size() > 1 && s[0] == '0')) return false;
  int32_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  index = n;
  return true;
}

TJArrayObject::TJArrayObject(BaseEngine* engine) : TJObject(engine) { SetObjectName("Array"); }

const ClassInfo& TJArrayObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"push", APush}, {"pop", APop}, {"join", AJoin}});
  return info;
}

void TJArrayObject::GetItem(int32_t index, Value& out) { out = Get(index); }

bool TJArrayObject::SetItem(int32_t index, const Value& v) {
  Set(index, v);
  return true;
}

Value TJArrayObject::Get(int32_t index) const {
  if (index < 0 || index >= items.GetCount()) return Value();
  return items.GetValue(index);
}

void TJArrayObject::Set(int32_t index, const Value& v) {
  if (index < 0 || index >= kMaxListCount) RaiseError(ScriptError::ListIndex, {std::to_string(index)});
  if (index >= items.GetCount()) items.SetCount(index + 1);
  items.Put(index, v);
}

bool TJArrayObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int32_t index;
  if (ElementIndex(name, index)) {
    out = Get(index);
    return true;
  }
  if (name.view() == "length") {
    out = Value::Integer(items.GetCount());
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

bool TJArrayObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  int32_t index;
  if (ElementIndex(name, index)) {
    Set(index, v);
    return true;
  }
  if (name.view() == "length") {
    int32_t n = ValueToInteger(v);
    if (n < 0 || n > kMaxListCount) CountOutOfBounds(n);
    items.SetCount(n);
    return true;
  }
  return TJObject::SetValueImpl(name, v, param);
}

StrRef TJArrayObject::ToString(const Value*) {
  TJValueList none;
  Value out;
  AJoin(*this, none, out);
  return ValueToString(out);
}

void RegisterArray(TJEngine& engine) {
  engine.RegisterObjectClass("Array", [](BaseEngine* e, TJValueList* params) -> TJObject* {
    auto* a = new TJArrayObject(e);
    if (params && params->GetCount() == 1 && params->GetValue(0).type() == vtInteger) {
      int32_t n = params->GetValue(0).integer();
      if (n < 0 || n > kMaxListCount) {
        delete a;
        CountOutOfBounds(n);
      }
      a->items.SetCount(n);
    } else if (params) {
      a->items.Assign(params);
    }
    return a;
  });
}

}  // namespace kestrin::script
