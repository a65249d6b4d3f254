// The smallest built-in objects: Global's output, exit, eval and event-loop functions,
// the Array list, and the wrappers of primitive values.
#include "script/core/builtins_min.h"

#include <chrono>
#include <thread>

#include "script/core/engine.h"
#include "script/core/errors.h"
#include "script/core/number_text.h"

namespace kestrin::script {
namespace {

TJEngine* EngineOf(TJObject& self) { return static_cast<TJGlobalObject&>(self).Owner(); }

void Write(TJObject& self, TJValueList& params, Value& result, bool line) {
  TJEngine* engine = EngineOf(self);
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    StrRef text = ValueToString(params.GetValue(i));
    if (line) text.Append("\r\n");
    if (engine) engine->WriteStdout(text.view());
  }
  if (params.GetCount() > 0) result = params.GetValue(params.GetCount() - 1);
}

void GPrint(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, false); }
void GPrintln(TJObject& self, TJValueList& params, Value& result) { Write(self, params, result, true); }

void GExit(TJObject&, TJValueList& params, Value&) {
  throw EJExit(params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0);
}

void GEval(TJObject& self, TJValueList& params, Value& result) {
  if (params.GetCount() == 0 || !EngineOf(self)) return;
  StrRef text = ValueToString(params.GetValue(0));
  EngineOf(self)->Eval(text.view(), nullptr, result);
}

void GEventLoop(TJObject& self, TJValueList&, Value&) { static_cast<TJGlobalObject&>(self).terminated = false; }
void GTerminate(TJObject& self, TJValueList&, Value&) { static_cast<TJGlobalObject&>(self).terminated = true; }

void GDoEvents(TJObject& self, TJValueList&, Value& result) {
  result = Value::Bool(EngineOf(self) && EngineOf(self)->DoEvents());
}

void GSleep(TJObject& self, TJValueList& params, Value& result) {
  int32_t ms = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  result = Value::Object(&self);
}

void GIsNull(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && params.GetValue(0).type() == vtNull);
}

void GIsUndefined(TJObject&, TJValueList& params, Value& result) {
  result = Value::Bool(params.GetCount() > 0 && params.GetValue(0).type() == vtUndefined);
}

void GNameOf(TJObject&, TJValueList& params, Value& result) {
  result = Value::Null();
  if (params.GetCount() == 0) return;
  Value v = params.GetValue(0);
  if (TJObject* o = v.object()) result = Value::String(o->ClassName());
}

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
  if (g_join_depth >= kMaxJoinDepth) throw EJThrow("ECallError", "stack overflow");
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

void SCharAt(TJObject& self, TJValueList& params, Value& result) {
  auto& p = static_cast<TJPrimitiveObject&>(self);
  int32_t index = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  result = Value::String(CharAt(ValueToString(p.Primitive()), index));
}

// An element index written as a decimal number without sign or leading zeros.
bool IndexOf(const StrRef& name, int32_t& index) {
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

}  // namespace

StrRef CharAt(const StrRef& text, int32_t index) {
  if (index < 0) return StrRef();
  std::string_view s = text.view();
  size_t at = Cp932ByteOffset(s, static_cast<size_t>(index));
  if (at >= s.size()) return StrRef();
  size_t n = IsLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
  return StrRef(s.substr(at, n));
}

// ---- Global ----

TJGlobalObject::TJGlobalObject(TJEngine* engine) : TJObject(engine), owner_(engine) { SetObjectName("Global"); }

const ClassInfo& TJGlobalObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"print", GPrint}, {"println", GPrintln},
      {"write", GPrint}, {"writeln", GPrintln}, {"exit", GExit}, {"eval", GEval},
      {"eventLoop", GEventLoop}, {"terminate", GTerminate}, {"doEvents", GDoEvents},
      {"sleep", GSleep}, {"isNull", GIsNull}, {"isUndefined", GIsUndefined}, {"nameOf", GNameOf}});
  return info;
}

bool TJGlobalObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (name.view() == "arguments") {
    out = arguments_;
    return true;
  }
  if (name.view() == "terminated") {
    out = Value::Bool(terminated);
    return true;
  }
  return TJObject::GetValueImpl(name, out, param);
}

// Every unqualified name of the script that is not a local variable is asked here, so
// names that are surely not a class method answer from the member table alone.
bool TJGlobalObject::HasKey(const StrRef& name) {
  static const uint64_t filter = [] {
    uint64_t bits = (uint64_t{1} << (KeyHash("arguments") & 63)) | (uint64_t{1} << (KeyHash("terminated") & 63));
    TJGlobalObject probe(nullptr);
    for (const auto& [method, fn] : probe.Class().methods()) bits |= uint64_t{1} << (method.Hash() & 63);
    return bits;
  }();
  if (!(filter & (uint64_t{1} << (name.Hash() & 63)))) {
    PropertyMap::Entry* e = members().Find(name);
    return e && !e->removed;
  }
  return name.view() == "arguments" || name.view() == "terminated" || TJObject::HasKey(name);
}

// ---- Array ----

TJArrayObject::TJArrayObject(BaseEngine* engine) : TJObject(engine) { SetObjectName("Array"); }

const ClassInfo& TJArrayObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(), {{"push", APush}, {"pop", APop}, {"join", AJoin}});
  return info;
}

void TJArrayObject::GetItem(int32_t index, Value& out) { out = Get(index); }

Value TJArrayObject::Get(int32_t index) const {
  if (index < 0 || index >= items.GetCount()) return Value();
  return items.GetValue(index);
}

void TJArrayObject::Set(int32_t index, const Value& v) {
  if (index < 0 || index >= kMaxListCount) throw EJThrow("EIndexError", "list index out of bounds (" + std::to_string(index) + ")");
  if (index >= items.GetCount()) items.SetCount(index + 1);
  items.Put(index, v);
}

bool TJArrayObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  int32_t index;
  if (IndexOf(name, index)) {
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
  if (IndexOf(name, index)) {
    Set(index, v);
    return true;
  }
  if (name.view() == "length") {
    int32_t n = ValueToInteger(v);
    if (n < 0 || n > kMaxListCount) throw EJThrow("EIndexError", "list count out of bounds (" + std::to_string(n) + ")");
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

// ---- primitive wrappers ----

TJPrimitiveObject::TJPrimitiveObject(BaseEngine* engine, const char* class_name, uint32_t flags, Value value)
    : TJObject(engine), flags_(flags), value_(std::move(value)) {
  SetObjectName(class_name);
}

const ClassInfo& TJPrimitiveObject::Class() const {
  static const ClassInfo string_info(&TJObject::BaseClass(), {{"charAt", SCharAt}});
  return (flags_ & kStringObjectClass) ? string_info : TJObject::BaseClass();
}

int32_t TJPrimitiveObject::GetCount() {
  return value_.type() == vtString ? static_cast<int32_t>(ValueToString(value_).CharCount()) : 0;
}

void TJPrimitiveObject::GetItem(int32_t index, Value& out) { out = Value::String(CharAt(value_.str(), index)); }

bool TJPrimitiveObject::GetValueImpl(const StrRef& name, Value& out, const Value* param) {
  if (value_.type() == vtString) {
    if (name.view() == "length") {
      out = Value::Integer(GetCount());
      return true;
    }
    int32_t index;
    if (IndexOf(name, index)) {
      out = Value::String(CharAt(value_.str(), index));
      return true;
    }
  }
  return TJObject::GetValueImpl(name, out, param);
}

void RegisterMinimalBuiltins(TJEngine& engine) {
  engine.RegisterObjectClass("Object", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJObject(e); });
  engine.RegisterObjectClass("Global", nullptr);
  engine.RegisterObjectClass("Array", [](BaseEngine* e, TJValueList* params) -> TJObject* {
    auto* a = new TJArrayObject(e);
    if (params && params->GetCount() == 1 && params->GetValue(0).type() == vtInteger) {
      int32_t n = params->GetValue(0).integer();
      if (n < 0 || n > kMaxListCount) {
        delete a;
        throw EJThrow("EIndexError", "list count out of bounds (" + std::to_string(n) + ")");
      }
      a->items.SetCount(n);
    } else if (params) {
      a->items.Assign(params);
    }
    return a;
  });
  engine.RegisterObjectClass("String", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    Value v = p && p->GetCount() > 0 ? Value::String(ValueToString(p->GetValue(0))) : Value::String("");
    return new TJPrimitiveObject(e, "String", kStringObjectClass, v);
  });
  engine.RegisterObjectClass("Number", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    Value v = p && p->GetCount() > 0 ? p->GetValue(0) : Value::Integer(0);
    if (v.type() != vtInteger && v.type() != vtDouble && v.type() != vtInfinity && v.type() != vtNaN)
      v = Value::Double(ValueToNumber(v));
    return new TJPrimitiveObject(e, "Number", kNumberObjectClass, v);
  });
  engine.RegisterObjectClass("Boolean", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    Value v = Value::Bool(p && p->GetCount() > 0 && ValueToBool(p->GetValue(0)));
    return new TJPrimitiveObject(e, "Boolean", kBooleanObjectClass, v);
  });
}

}  // namespace kestrin::script
