// Value payloads, kind tests and the conversions between kinds.
#include "script/core/value.h"

#include <cmath>
#include <cstring>

#include "base/wrap_int.h"
#include "script/core/dispatch.h"
#include "script/core/function.h"
#include "script/core/number_text.h"
#include "script/core/object.h"
#include "script/core/stack_guard.h"
#include "script/core/value_list.h"
#include "script/core/weak.h"

namespace kestrin::script {

const char* ValueTypeName(TJValueType t) {
  static const char* const kNames[] = {"vtUndefined", "vtNull", "vtInteger", "vtDouble", "vtString",
      "vtObject", "vtBool", "vtFunction", "vtInfinity", "vtNaN", "vtDispatch", "vtRegExp", "vtEvent",
      "vtUndefined"};
  return t <= vtInternalWeak ? kNames[t] : "";
}


void Value::DestroyPayload() {
  RcHeader* rc = u_.rc;
  switch (t_) {
    case vtString: Str::Free(static_cast<Str*>(rc)); break;
    case vtObject: ReleaseObject(static_cast<TJObject*>(rc)); break;
    case vtFunction: ReleaseFunction(static_cast<IJFunction*>(rc)); break;
    case vtDispatch: delete static_cast<class Dispatch*>(rc); break;
    case vtRegExp: delete static_cast<RegExpRep*>(rc); break;
    case vtEvent: delete static_cast<EventRep*>(rc); break;
    case vtInternalWeak: delete static_cast<WeakCell*>(rc); break;
    default: break;
  }
}


Value Value::String(StrRef s) {
  Value v;
  v.t_ = vtString;
  v.u_.rc = s.Release();
  return v;
}


#define KESTRIN_MAKE_COUNTED(kind, ptr)   \
  Value v;                                \
  if (!(ptr)) return v;                   \
  v.t_ = kind;                            \
  v.u_.rc = (ptr);                        \
  ++v.u_.rc->refs;                        \
  return v

Value Value::Object(TJObject* o) {
  if (!o) return Null();
  KESTRIN_MAKE_COUNTED(vtObject, o);
}
Value Value::Function(IJFunction* f) { KESTRIN_MAKE_COUNTED(vtFunction, f); }
Value Value::Disp(class Dispatch* d) { KESTRIN_MAKE_COUNTED(vtDispatch, d); }
Value Value::Event(EventRep* e) { KESTRIN_MAKE_COUNTED(vtEvent, e); }
Value Value::WeakObject(TJObject* o) {
  if (!o) return Null();
  WeakCell* c = o->WeakHandle();
  KESTRIN_MAKE_COUNTED(vtInternalWeak, c);
}
#undef KESTRIN_MAKE_COUNTED

Value Value::RegExp(StrRef source, std::string_view flags) {
  auto* rep = new RegExpRep;
  rep->source = std::move(source);
  size_t n = flags.size() < 7 ? flags.size() : 7;
  std::memcpy(rep->flags, flags.data(), n);
  rep->refs = 1;
  Value v;
  v.t_ = vtRegExp;
  v.u_.rc = rep;
  return v;
}

std::string_view Value::text() const {
  if (t_ == vtString) return u_.rc ? std::string_view(static_cast<Str*>(u_.rc)->data(), static_cast<Str*>(u_.rc)->len) : std::string_view();
  if (t_ == vtRegExp) return static_cast<RegExpRep*>(u_.rc)->source.view();
  return {};
}

StrRef Value::str() const {
  if (t_ == vtString) {
    if (u_.rc) ++u_.rc->refs;
    return StrRef::Adopt(static_cast<Str*>(u_.rc));
  }
  if (t_ == vtRegExp) return static_cast<RegExpRep*>(u_.rc)->source;
  return StrRef();
}

TJObject* Value::object() const {
  if (t_ != vtObject) return nullptr;
  auto* o = static_cast<TJObject*>(u_.rc);
  return o->Dead() ? nullptr : o;
}

IJFunction* Value::function() const { return t_ == vtFunction ? static_cast<IJFunction*>(u_.rc) : nullptr; }
class Dispatch* Value::dispatch() const { return t_ == vtDispatch ? static_cast<class Dispatch*>(u_.rc) : nullptr; }
EventRep* Value::event() const { return t_ == vtEvent ? static_cast<EventRep*>(u_.rc) : nullptr; }
const RegExpRep* Value::regexp() const { return t_ == vtRegExp ? static_cast<RegExpRep*>(u_.rc) : nullptr; }
std::string_view Value::regexp_flags() const { return t_ == vtRegExp ? std::string_view(static_cast<RegExpRep*>(u_.rc)->flags) : std::string_view(); }

TJObject* Value::weak_target() const {
  if (t_ != vtInternalWeak) return nullptr;
  auto* o = static_cast<TJObject*>(static_cast<WeakCell*>(u_.rc)->target);
  return o && !o->Dead() ? o : nullptr;
}

bool Value::AppendText(std::string_view more) {
  if (t_ != vtString) return false;
  StrRef s = StrRef::Adopt(static_cast<Str*>(u_.rc));
  u_.rc = nullptr;
  try {
    s.Append(more);  // a too-long result throws and leaves the text as it was
  } catch (...) {
    u_.rc = s.Release();
    throw;
  }
  u_.rc = s.Release();
  return true;
}

// ---- kind tests ----

static bool ObjectHasFlag(const Value& v, uint32_t flag) {
  TJObject* o = v.object();
  return o && (o->ClassFlags() & flag);
}

bool ValueIsNumberObject(const Value& v) { return ObjectHasFlag(v, kNumberObjectClass); }
bool ValueIsStringObject(const Value& v) { return ObjectHasFlag(v, kStringObjectClass); }
bool ValueIsRegExpObject(const Value& v) { return ObjectHasFlag(v, kRegExpObjectClass); }
bool ValueIsVCLObject(const Value& v) { return ObjectHasFlag(v, kVCLObjectClass); }

bool ValueIsNumber(const Value& v) {
  TJValueType t = v.type();
  return t == vtInteger || t == vtDouble || ValueIsNumberObject(v);
}

bool ValueIsString(const Value& v) {
  return v.type() == vtString || ObjectHasFlag(v, kStringObjectClass | kStringBufferClass);
}

bool ValueIsCollection(const Value& v) {
  TJObject* o = v.object();
  return o && o->IsCollection();
}

bool ValueIsNumeric(const Value& v) {
  TJValueType t = v.type();
  if (t == vtInteger || t == vtDouble || t == vtBool) return true;
  if (ValueIsString(v)) {
    StrRef s = ValueToString(v);
    if (ParseFloatText(s.view()) || ParseIntegerText(s.view())) return true;
  }
  return ValueIsNumberObject(v);
}

static bool FunctionOfType(const Value& v, uint8_t ft) {
  IJFunction* f = v.function();
  return f && f->func_type == ft;
}
bool ValueIsScriptFunction(const Value& v) { return FunctionOfType(v, ftScript); }
bool ValueIsClassFunction(const Value& v) { return FunctionOfType(v, ftClass); }
bool ValueIsNamespace(const Value& v) { return FunctionOfType(v, ftNamespace); }

bool SameValueKind(const Value* a, const Value* b) { return a && b && a->type() == b->type(); }

bool FunctionsEqual(const Value& a, const Value& b) {
  return a.function() && a.function() == b.function();
}

int ParamCount(const TJValueList* params) { return params ? params->GetCount() : 0; }

// ---- conversions ----

static std::string PointerText(const void* p) {
  return std::to_string(reinterpret_cast<uintptr_t>(p));
}

static StrRef RegExpText(const Value& v) {
  std::string out;
  out.push_back('/');
  out.append(v.text());
  out.push_back('/');
  out.append(v.regexp_flags());
  return out;
}

StrRef ValueToString(const Value& v) {
  switch (v.type()) {
    case vtUndefined: return "undefined";
    case vtNull: return "null";
    case vtInteger: return std::to_string(v.integer());
    case vtDouble: return DoubleToScriptText(v.dbl());
    case vtString: return v.str();
    case vtObject:
      CheckStack();  // an object's text may hold other objects' texts (nested arrays)
      return v.object()->ToString(nullptr);
    case vtBool: return v.boolean() ? "true" : "false";
    case vtFunction: return Concat("function ", v.function()->name.view());
    case vtInfinity: return v.negative() ? "-infinity" : "infinity";
    case vtNaN: return "NaN";
    case vtDispatch: return Concat("dispatch", PointerText(v.dispatch()));
    case vtRegExp: return RegExpText(v);
    default: return StrRef();
  }
}

std::string ValueToStdString(const Value& v) { return ValueToString(v).str(); }

static double TextToNumber(std::string_view s) {
  if (auto d = ParseFloatText(s)) return *d;
  if (auto i = ParseIntegerText(s)) return *i;
  return 0;
}

double ValueToNumber(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer();
    case vtDouble: return v.dbl();
    case vtString: return TextToNumber(v.text());
    case vtObject: return v.object()->ToNumber();
    case vtBool: return v.boolean() ? 1 : 0;
    default: return 0;
  }
}

float ValueToSingle(const Value& v) {
  double d = ValueToNumber(v);
  if (std::fabs(d) > 3.4028234663852886e38) return d < 0 ? -INFINITY : INFINITY;
  return static_cast<float>(d);
}

int32_t ValueToInteger(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer();
    case vtDouble: return RoundToInt32Wrapped(v.dbl());
    case vtString: return ParseIntegerText(v.text()).value_or(0);
    case vtObject: return RoundToInt32Wrapped(v.object()->ToNumber());
    case vtBool: return v.boolean() ? 1 : 0;
    default: return 0;
  }
}

bool ValueToBool(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer() != 0;
    case vtDouble: return std::fabs(v.dbl()) >= 1;  // truncated toward zero, then non-zero
    case vtString: return !v.text().empty();
    case vtObject: return v.object()->ToBool();
    case vtBool: return v.boolean();
    case vtFunction:
    case vtInfinity:
    case vtNaN: return true;
    case vtDispatch: return v.dispatch() != nullptr;
    case vtRegExp: return !v.text().empty();
    default: return false;
  }
}

char ValueToChar(const Value& v) {
  switch (v.type()) {
    case vtInteger: return static_cast<char>(v.integer() & 0xFF);
    case vtDouble: {
      double t = std::trunc(v.dbl());
      return static_cast<char>(RoundToInt32Wrapped(t) & 0xFF);
    }
    case vtString: return v.text().empty() ? '\0' : v.text()[0];
    case vtObject: return v.object()->ToChar();
    case vtBool: return v.boolean() ? 1 : 0;
    default: return '\0';
  }
}

class Dispatch* ValueToDispatch(const Value& v) { return v.dispatch(); }

const char* ValueTypeOf(const Value& v) {
  switch (v.type()) {
    case vtInteger:
    case vtDouble:
    case vtInfinity:
    case vtNaN: return "number";
    case vtObject: return "object";
    case vtString: return "string";
    case vtRegExp: return "regexp";
    case vtBool: return "boolean";
    case vtFunction: return "function";
    case vtUndefined: return "undefined";
    case vtNull: return "null";
    case vtDispatch: return "dispatch";
    case vtEvent: return "event";
    default: return "";
  }
}

}  // namespace kestrin::script
