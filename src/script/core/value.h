// TJValue: the tagged value every part of the script engine passes by value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "script/core/refcount.h"
#include "script/core/script_string.h"

namespace kestrin::script {

// The kinds of a value, in their stored order.
enum TJValueType : uint8_t {
  vtUndefined, vtNull, vtInteger, vtDouble, vtString, vtObject, vtBool, vtFunction,
  vtInfinity, vtNaN, vtDispatch, vtRegExp, vtEvent,
  vtInternalWeak  // an uncounted object slot inside TJValueList; never handed out
};

// "vtUndefined" ... "vtEvent": the kind names used in operator error messages.
const char* ValueTypeName(TJValueType t);

class TJObject;
class IJFunction;
class TJValueList;

// Automation interface behind a dispatch value (script/core/dispatch.h).
class Dispatch;

// A native event handler (method code and data) carried by an event value.
class EventRep : public RcHeader {
public:
  EventRep(const void* code, const void* data) : code_(code), data_(data) {}
  virtual ~EventRep() = default;
  const void* code() const { return code_; }
  const void* data() const { return data_; }

private:
  const void* code_;
  const void* data_;
};

// Source and flags (at most seven characters) of a regular-expression literal.
struct RegExpRep : RcHeader {
  StrRef source;
  char flags[8] = {};
};

// A value. Every copy holds a count on its heap payload (string, object, function,
// dispatch, regexp, event), so an object lives at least as long as any value naming it.
// An object killed by the factory's clear reads as undefined.
class Value {
public:
  Value() { u_.bits = 0; }
  Value(const Value& o) : t_(o.t_), neg_(o.neg_), u_(o.u_) { Retain(); }
  Value(Value&& o) noexcept : t_(o.t_), neg_(o.neg_), u_(o.u_) { o.t_ = vtUndefined; o.neg_ = false; o.u_.bits = 0; }
  Value& operator=(const Value& o) { Value t(o); Swap(t); return *this; }
  Value& operator=(Value&& o) noexcept { Value t(std::move(o)); Swap(t); return *this; }
  ~Value() { Drop(); }
  void Swap(Value& o) noexcept;

  static Value Integer(int32_t i) { Value v; v.t_ = vtInteger; v.u_.i = i; return v; }
  // A double; infinities and NaN become their own kinds.
  static Value Double(double d);
  static Value Bool(bool b) { Value v; v.t_ = vtBool; v.u_.b = b; return v; }
  static Value Null() { Value v; v.t_ = vtNull; return v; }
  static Value NaN() { Value v; v.t_ = vtNaN; return v; }
  static Value Infinity(bool negative) { Value v; v.t_ = vtInfinity; v.neg_ = negative; return v; }
  static Value String(StrRef s);
  static Value Object(TJObject* o);  // nil gives null
  static Value Function(IJFunction* f);  // nil gives undefined
  static Value Disp(class Dispatch* d);  // nil gives undefined
  static Value RegExp(StrRef source, std::string_view flags);
  static Value Event(EventRep* e);  // nil gives undefined
  static Value WeakObject(TJObject* o);  // internal: an uncounted slot (see TJValueList)
  // Internal: the value of a member removed while a class method of its name exists (see
  // PropertyMap); it reads as undefined and is never handed out.
  static Value Hole() { Value v; v.neg_ = true; return v; }
  bool IsHole() const { return t_ == vtUndefined && neg_; }

  // The kind; an object killed by the factory's clear reads as vtUndefined.
  TJValueType type() const {
    if (t_ == vtObject && (u_.rc->rc_flags & kRcDead)) return vtUndefined;
    return t_;
  }
  TJValueType raw_type() const { return t_; }
  bool Is(TJValueType t) const { return type() == t; }

  int32_t integer() const { return u_.i; }
  double dbl() const { return u_.d; }
  bool boolean() const { return u_.b; }
  bool negative() const { return neg_; }  // sign of an infinity
  std::string_view text() const;           // string text or regexp source
  StrRef str() const;                      // string text or regexp source, counted
  TJObject* object() const;                // nil unless a live object
  IJFunction* function() const;
  class Dispatch* dispatch() const;
  EventRep* event() const;
  const RegExpRep* regexp() const;
  std::string_view regexp_flags() const;
  TJObject* weak_target() const;           // internal weak slot: the object or nil

  // Appends to a string value, in place when this value holds the only count (s += x
  // on a variable then costs the appended bytes, not a copy). False for other kinds.
  bool AppendText(std::string_view more);

private:
  static constexpr uint32_t kCounted = (1u << vtString) | (1u << vtObject) | (1u << vtFunction) |
      (1u << vtDispatch) | (1u << vtRegExp) | (1u << vtEvent) | (1u << vtInternalWeak);
  bool Counted() const { return ((1u << t_) & kCounted) && u_.rc; }
  void Retain() { if (Counted()) ++u_.rc->refs; }
  void Drop() { if (Counted() && --u_.rc->refs == 0) DestroyPayload(); }
  void DestroyPayload();

  TJValueType t_ = vtUndefined;
  bool neg_ = false;
  union {
    uint64_t bits;
    int32_t i;
    double d;
    bool b;
    RcHeader* rc;
  } u_;
};

inline void Value::Swap(Value& o) noexcept {
  std::swap(t_, o.t_);
  std::swap(neg_, o.neg_);
  std::swap(u_, o.u_);
}

inline Value Value::Double(double d) {
  if (d != d) return NaN();
  if (d - d != 0) return Infinity(d < 0);  // only infinities fail x - x == 0 here
  Value v;
  v.t_ = vtDouble;
  v.u_.d = d;
  return v;
}

using TJValue = Value;
using PJValue = Value*;

// Builders with the names the rest of the engine knows them by.
inline void ClearValue(Value& v) { v = Value(); }
inline Value MakeStringValue(StrRef s) { return Value::String(std::move(s)); }
inline Value MakeNullValue() { return Value::Null(); }
inline Value MakeIntegerValue(int32_t i) { return Value::Integer(i); }
inline Value MakeDoubleValue(double d) { return Value::Double(d); }
inline Value MakeObjectValue(TJObject* o) { return Value::Object(o); }
inline Value MakeBoolValue(bool b) { return Value::Bool(b); }
inline Value MakeInfinityValue(bool negative) { return Value::Infinity(negative); }
inline Value MakeNaNValue() { return Value::NaN(); }
inline Value MakeDispatchValue(class Dispatch* d) { return Value::Disp(d); }
inline Value MakeEventValue(EventRep* e) { return Value::Event(e); }
inline Value MakeFunctionValue(IJFunction* f) { return Value::Function(f); }

// Kind tests.
inline bool ValueIsUndefined(const Value& v) { return v.type() == vtUndefined; }
inline bool ValueIsNull(const Value& v) { return v.type() == vtNull; }
inline bool ValueIsInteger(const Value& v) { return v.type() == vtInteger; }
inline bool ValueIsDouble(const Value& v) { return v.type() == vtDouble; }
inline bool ValueIsRegExp(const Value& v) { return v.type() == vtRegExp; }
inline bool ValueIsBool(const Value& v) { return v.type() == vtBool; }
inline bool ValueIsFunction(const Value& v) { return v.type() == vtFunction; }
inline bool ValueIsInfinity(const Value& v) { return v.type() == vtInfinity; }
inline bool ValueIsNaN(const Value& v) { return v.type() == vtNaN; }
inline bool ValueIsDispatch(const Value& v) { return v.type() == vtDispatch; }
inline bool ValueIsEvent(const Value& v) { return v.type() == vtEvent; }
inline bool ValueIsObject(const Value& v) { return v.type() == vtObject; }
inline bool ValueIsNullOrUndefined(const Value* v) { return !v || v->type() <= vtNull; }
inline bool ValueIsNullOrUndefined(const Value& v) { return v.type() <= vtNull; }
bool ValueIsNumberObject(const Value& v);
bool ValueIsStringObject(const Value& v);
bool ValueIsRegExpObject(const Value& v);
bool ValueIsVCLObject(const Value& v);
bool ValueIsNumber(const Value& v);
bool ValueIsString(const Value& v);  // string, String object or StringBuffer object
bool ValueIsCollection(const Value& v);
bool ValueIsNumeric(const Value& v);
bool ValueIsScriptFunction(const Value& v);
bool ValueIsClassFunction(const Value& v);
bool ValueIsNamespace(const Value& v);
bool SameValueKind(const Value* a, const Value* b);
bool FunctionsEqual(const Value& a, const Value& b);

// Argument-count tests, safe on a nil list.
int ParamCount(const TJValueList* params);
inline bool HasOneParam(const TJValueList* p) { return ParamCount(p) >= 1; }
inline bool HasTwoParams(const TJValueList* p) { return ParamCount(p) >= 2; }
inline bool HasThreeParams(const TJValueList* p) { return ParamCount(p) >= 3; }
inline bool HasFourParams(const TJValueList* p) { return ParamCount(p) >= 4; }

// Conversions; they never fail.
StrRef ValueToString(const Value& v);
std::string ValueToStdString(const Value& v);
double ValueToNumber(const Value& v);
float ValueToSingle(const Value& v);
int32_t ValueToInteger(const Value& v);
bool ValueToBool(const Value& v);
char ValueToChar(const Value& v);
class Dispatch* ValueToDispatch(const Value& v);
const char* ValueTypeOf(const Value& v);

}  // namespace kestrin::script
