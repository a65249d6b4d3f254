// Array: the fifteen methods, `length`, indexed access that grows on read, and the
// constructor that takes a count or the items.
#include "script/builtins/array_object.h"

#include <new>
#include <string>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {
namespace {

TJArrayObject& ArrayOf(TJObject& self) { return static_cast<TJArrayObject&>(self); }

[[noreturn]] void IndexOutside() { RaiseError(ScriptError::IndexOutside); }

// Arrays that hold themselves would join without end: nesting is capped.
thread_local int g_join_depth = 0;
constexpr int kMaxJoinDepth = 200;

// A new Array of the items, made through the engine; undefined without one.
Value NewArrayOf(TJObject& self, const TJValueList& items) {
  BaseEngine* engine = self.Engine();
  return engine ? engine->NewArray(items) : Value();
}

int ThreeWay(int64_t a, int64_t b) { return a < b ? -1 : a > b ? 1 : 0; }

void ADelete(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  TJValueList& items = ArrayOf(self).items;
  const int32_t index = ValueToInteger(params.GetValue(0));
  if (index < 0 || index >= items.GetCount()) IndexOutside();
  items.Delete(index);
  result = Value::Object(&self);
}

void AClear(TJObject& self, TJValueList&, Value& result) {
  ArrayOf(self).items.Clear();
  result = Value::Object(&self);
}

void AAdd(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  int32_t last = 0;
  for (int32_t i = 0; i < params.GetCount(); ++i) last = ArrayOf(self).items.Add(params.GetValue(i));
  result = Value::Integer(last);
}

void ASort(TJObject& self, TJValueList& params, Value& result) {
  TJArrayObject& array = ArrayOf(self);
  result = Value::Object(&self);
  if (params.GetCount() == 0) {
    // Items compare as integers: texts that are not integers count as 0.
    array.items.Sort([](const Value& a, const Value& b) { return ThreeWay(ValueToInteger(a), ValueToInteger(b)); }, 1);
    return;
  }
  const Value compare = params.GetValue(0);  // held for the sort
  IJFunction* fn = compare.function();
  BaseEngine* engine = self.Engine();
  if (!fn || fn->func_type != ftScript || !engine) RaiseError(ScriptError::SortCompare);
  TJValueList& args = array.SortArguments();
  struct Reset {
    TJValueList& args;
    ~Reset() {
      args.Put(0, Value::Null());
      args.Put(1, Value::Null());
    }
  } reset{args};
  array.items.Sort([&](const Value& a, const Value& b) {
    args.Put(0, a);
    args.Put(1, b);
    Value answer;
    engine->CallFunction(*fn, &args, answer, nullptr);
    const int32_t c = ValueToInteger(answer);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }, 1);
}

void AConcat(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  TJValueList items;
  items.Assign(&ArrayOf(self).items);
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    const Value v = params.GetValue(i);
    TJObject* o = v.object();
    if (o && o->IsCollection()) {
      const int32_t n = o->GetCount();
      for (int32_t k = 0; k < n; ++k) {
        Value item;
        o->GetItem(k, item);
        items.Add(item);
      }
    } else {
      items.Add(v);
    }
  }
  result = NewArrayOf(self, items);
}

void AJoin(TJObject& self, TJValueList& params, Value& result) {
  const StrRef sep = params.GetCount() > 0 ? ValueToString(params.GetValue(0)) : StrRef(",");
  result = Value::String(ArrayOf(self).Join(sep.view()));
}

void APop(TJObject& self, TJValueList&, Value& result) {
  TJValueList& items = ArrayOf(self).items;
  if (items.GetCount() == 0) return;
  result = items.GetValue(items.GetCount() - 1);
  items.Delete(items.GetCount() - 1);
}

void APush(TJObject& self, TJValueList& params, Value& result) {
  for (int32_t i = 0; i < params.GetCount(); ++i) ArrayOf(self).items.Add(params.GetValue(i));
  result = Value::Integer(ArrayOf(self).items.GetCount());
}

void AReverse(TJObject& self, TJValueList&, Value& result) {
  TJValueList& items = ArrayOf(self).items;
  for (int32_t i = 0, j = items.GetCount() - 1; i < j; ++i, --j) {
    Value a = items.GetValue(i);
    items.Put(i, items.GetValue(j));
    items.Put(j, a);
  }
  result = Value::Object(&self);
}

void AShift(TJObject& self, TJValueList&, Value& result) {
  TJValueList& items = ArrayOf(self).items;
  if (items.GetCount() == 0) return;
  result = items.GetValue(0);
  items.Delete(0);
}

// An index argument, with the length added once when negative.
int64_t Position(const Value& v, int32_t length) {
  int64_t i = ValueToInteger(v);
  return i < 0 ? i + length : i;
}

void ASlice(TJObject& self, TJValueList& params, Value& result) {
  const TJValueList& items = ArrayOf(self).items;
  const int32_t n = items.GetCount();
  const int64_t start = params.GetCount() > 0 ? Position(params.GetValue(0), n) : 0;
  const int64_t end = params.GetCount() > 1 ? Position(params.GetValue(1), n) : INT64_MAX;
  TJValueList part;
  // The copy stops at the first index outside the list.
  for (int64_t i = start; i < end && i >= 0 && i < n; ++i) part.Add(items.GetValue(static_cast<int32_t>(i)));
  result = NewArrayOf(self, part);
}

void ASplice(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) return;
  TJValueList& items = ArrayOf(self).items;
  const int64_t start = Position(params.GetValue(0), items.GetCount());
  const int64_t count = ValueToInteger(params.GetValue(1));
  TJValueList removed;
  for (int64_t i = start + count - 1; i >= start; --i) {
    if (i < 0 || i >= items.GetCount()) IndexOutside();
    removed.Insert(0, items.GetValue(static_cast<int32_t>(i)));
    items.Delete(static_cast<int32_t>(i));
  }
  for (int32_t k = params.GetCount() - 1; k >= 2; --k) {
    if (start < 0 || start > items.GetCount()) IndexOutside();
    items.Insert(static_cast<int32_t>(start), params.GetValue(k));
  }
  result = NewArrayOf(self, removed);
}

void AUnshift(TJObject& self, TJValueList& params, Value& result) {
  TJValueList& items = ArrayOf(self).items;
  for (int32_t k = params.GetCount() - 1; k >= 0; --k) items.Insert(0, params.GetValue(k));
  result = Value::Object(&self);
}

void AAssign(TJObject& self, TJValueList& params, Value& result) {
  TJObject* source = params.GetCount() > 0 ? params.GetValue(0).object() : nullptr;
  if (!source || !source->IsCollection()) RaiseError(ScriptError::ArrayAssign);
  TJValueList copy;
  const int32_t n = source->GetCount();
  for (int32_t k = 0; k < n; ++k) {
    Value item;
    source->GetItem(k, item);
    copy.Add(item);
  }
  ArrayOf(self).items.Assign(&copy);
  result = Value::Object(&self);
}

Value GetArrayLength(TJObject& self) { return Value::Integer(ArrayOf(self).items.GetCount()); }
void SetArrayLength(TJObject& self, const Value& v) { ArrayOf(self).Resize(ValueToInteger(v)); }

constexpr PropDef kArrayProps[] = {{"length", GetArrayLength, SetArrayLength}};

}  // namespace

bool ElementIndex(const StrRef& name, int32_t& index) {
  std::string_view s = name.view();
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) s.remove_prefix(1);
  if (s.empty() || s.size() > 10 || (s.size() > 1 && s[0] == '0') || (negative && s == "0")) return false;
  int64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (negative) n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return false;
  index = static_cast<int32_t>(n);
  return true;
}

TJArrayObject::TJArrayObject(BaseEngine* engine) : TJObject(engine), props_(*this, kArrayProps) {
  SetObjectName("Array");
}

const ClassInfo& TJArrayObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"delete", ADelete}, {"clear", AClear}, {"add", AAdd}, {"sort", ASort}, {"concat", AConcat},
       {"join", AJoin}, {"pop", APop}, {"push", APush}, {"reverse", AReverse}, {"shift", AShift},
       {"slice", ASlice}, {"splice", ASplice}, {"unshift", AUnshift}, {"assign", AAssign}});
  return info;
}

void TJArrayObject::Resize(int64_t count) {
  if (count < 0 || count > kMaxListCount) RaiseError(ScriptError::ListCount, {std::to_string(count)});
  try {
    items.SetCount(static_cast<int32_t>(count));
  } catch (const std::bad_alloc&) {
    RaiseError(ScriptError::ListCount, {std::to_string(count)});
  }
}

void TJArrayObject::GetItem(int32_t index, Value& out) {
  if (index < 0) RaiseError(ScriptError::IndexText, {std::to_string(index)});
  if (index >= items.GetCount()) Resize(int64_t{index} + 1);
  out = items.GetValue(index);
}

bool TJArrayObject::SetItem(int32_t index, const Value& v) {
  if (index < 0) RaiseError(ScriptError::IndexText, {std::to_string(index)});
  if (index >= items.GetCount()) Resize(int64_t{index} + 1);
  items.Put(index, v);
  return true;
}

bool TJArrayObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int32_t index;
  if (ElementIndex(name, index)) {
    GetItem(index, out);
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

bool TJArrayObject::SetValueImpl(const StrRef& name, const Value& v, const Value* param) {
  int32_t index;
  if (ElementIndex(name, index)) return SetItem(index, v);
  return TJObject::SetValueImpl(name, v, param);
}

StrRef TJArrayObject::Join(std::string_view sep) {
  if (g_join_depth >= kMaxJoinDepth) RaiseError(ScriptError::StackOverflow);
  struct Depth {
    Depth() { ++g_join_depth; }
    ~Depth() { --g_join_depth; }
  } depth;
  StrRef out("");
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    if (i > 0) out.Append(sep);
    const Value item = items.GetValue(i);
    if (!ValueIsNullOrUndefined(item)) out.Append(ValueToString(item).view());
  }
  return out;
}

StrRef TJArrayObject::ToString(const Value*) { return Join(","); }

void TJArrayObject::Clear() {
  TJObject::Clear();
  items.Clear();
}

void TJArrayObject::OnKill() {
  items.Clear();
  sort_args_.Put(0, Value::Null());
  sort_args_.Put(1, Value::Null());
}

void RegisterArray(TJEngine& engine) {
  engine.RegisterObjectClass("Array", [](BaseEngine* e, TJValueList* params) -> TJObject* {
    auto* a = new TJArrayObject(e);
    try {
      if (params && params->GetCount() == 1 && ValueIsNumber(params->GetValue(0)))
        a->Resize(ValueToInteger(params->GetValue(0)));
      else if (params)
        a->items.Assign(params);
    } catch (...) {
      delete a;
      throw;
    }
    return a;
  }, true);
}

}  // namespace kestrin::script
