// Number (held value, `number`, `int`, `asChar`, radix texts, fixed and exponent layouts,
// the five constants) and Boolean (`bool`).
#include "script/builtins/number_object.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/float_text.h"
#include "script/builtins/int_text.h"
#include "script/core/engine.h"
#include "script/core/number_text.h"

namespace kestrin::script {
namespace {

// The float layouts carry at most this many digits.
constexpr int kMaxDigits = 18;
// Fixed layouts keep at most this many significant digits.
constexpr int kFixedSignificant = 15;

TJNumberObject& NumberOfSelf(TJObject& self) { return static_cast<TJNumberObject&>(self); }

double HeldNumber(TJObject& self) { return NumberOf(NumberOfSelf(self).Held()); }

int Clamp(int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); }

void NToExponential(TJObject& self, TJValueList& params, Value& result) {
  const int64_t digits = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : -1;
  result = Value::String(ExponentText(HeldNumber(self), digits));
}

void NToFixed(TJObject& self, TJValueList& params, Value& result) {
  const int64_t digits = params.GetCount() > 0 ? ValueToInteger(params.GetValue(0)) : 0;
  result = Value::String(FixedText(HeldNumber(self), digits));
}

void NToChar(TJObject& self, TJValueList&, Value& result) {
  result = Value::String(std::string(1, ValueToChar(NumberOfSelf(self).Held())));
}

Value GetNumber(TJObject& self) { return Value::Double(HeldNumber(self)); }
void SetNumber(TJObject& self, const Value& v) { NumberOfSelf(self).SetHeld(Value::Double(NumberOf(v))); }
Value GetInt(TJObject& self) { return Value::Integer(ValueToInteger(NumberOfSelf(self).Held())); }
void SetInt(TJObject& self, const Value& v) { NumberOfSelf(self).SetHeld(Value::Integer(ValueToInteger(v))); }
Value GetAsChar(TJObject& self) { return Value::String(std::string(1, ValueToChar(NumberOfSelf(self).Held()))); }
void SetAsChar(TJObject& self, const Value& v) {
  const StrRef text = ValueToString(v);
  NumberOfSelf(self).SetHeld(Value::Integer(text.empty() ? 0 : static_cast<unsigned char>(text.data()[0])));
}

constexpr PropDef kNumberProps[] = {
    {"number", GetNumber, SetNumber}, {"int", GetInt, SetInt}, {"asChar", GetAsChar, SetAsChar}};

TJBooleanObject& BooleanOf(TJObject& self) { return static_cast<TJBooleanObject&>(self); }
Value GetBool(TJObject& self) { return Value::Bool(BooleanOf(self).Held()); }
void SetBool(TJObject& self, const Value& v) { BooleanOf(self).SetHeld(ValueToBool(v)); }

constexpr PropDef kBooleanProps[] = {{"bool", GetBool, SetBool}};

// The sign, the integer digits and `decimals` fraction digits of rounded digits.
std::string LayFixed(const float_text::Digits& d, int decimals) {
  std::string out = d.negative && !d.zero() ? "-" : "";
  if (d.exponent < 0 || d.zero()) out.push_back('0');
  else
    for (int pos = d.exponent; pos >= 0; --pos) out.push_back(d.at(pos));
  if (decimals > 0) out.push_back('.');
  for (int pos = -1; pos >= -decimals; --pos) out.push_back(d.zero() ? '0' : d.at(pos));
  return out;
}

}  // namespace

double NumberOf(const Value& v) {
  switch (v.type()) {
    case vtNaN: return std::numeric_limits<double>::quiet_NaN();
    case vtInfinity: return v.negative() ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    default: return ValueToNumber(v);
  }
}

bool IsNumberLike(const Value& v) { return v.type() == vtInfinity || ValueIsNumeric(v); }

std::string FixedText(double v, int64_t digits) {
  if (!std::isfinite(v)) return DoubleToScriptText(v);
  const int decimals = Clamp(digits, 0, kMaxDigits);
  const float_text::Digits lead = float_text::significant(v, kFixedSignificant);
  // Rounded once: at the last decimal, or at the 15th digit when that lies further left.
  const bool at_decimals = v == 0 || lead.exponent + 1 + decimals <= kFixedSignificant;
  return LayFixed(at_decimals ? float_text::to_decimals(v, decimals) : lead, decimals);
}

std::string ExponentText(double v, int64_t digits) {
  if (!std::isfinite(v)) return DoubleToScriptText(v);
  int precision = Clamp(digits + 1, 1, kMaxDigits);
  if (digits < 0) {
    const float_text::Digits d = float_text::significant(v, kFixedSignificant);
    const size_t last = d.digits.find_last_not_of('0');
    precision = last == std::string::npos ? 1 : static_cast<int>(last) + 1;
  }
  return float_text::exponent(v, precision, 1);
}

TJNumberObject::TJNumberObject(BaseEngine* engine, Value held)
    : TJObject(engine), held_(std::move(held)), props_(*this, kNumberProps) {
  SetObjectName("Number");
  RegisterConstants();
}

const ClassInfo& TJNumberObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"toExponential", NToExponential}, {"toFixed", NToFixed}, {"toPrecision", NToFixed}, {"toChar", NToChar}});
  return info;
}

void TJNumberObject::RegisterConstants() {
  StoreMember("NaN", Value::NaN());
  StoreMember("MAX_VALUE", Value::Double(1.7e308));
  StoreMember("MIN_VALUE", Value::Double(std::numeric_limits<double>::denorm_min()));
  StoreMember("POSITIVE_INFINITY", Value::Infinity(false));
  StoreMember("NEGATIVE_INFINITY", Value::Infinity(true));
}

StrRef TJNumberObject::ToString(const Value* arg) {
  const int32_t radix = arg ? ValueToInteger(*arg) : 10;
  const auto bits = static_cast<uint32_t>(ValueToInteger(held_));
  switch (radix) {
    case 2: return IntToBin(bits);
    case 8: return IntToOct(bits);
    case 16: return IntToHexText(bits);
    default: return ValueToString(held_);
  }
}

TJBooleanObject::TJBooleanObject(BaseEngine* engine, bool held)
    : TJObject(engine), held_(held), props_(*this, kBooleanProps) {
  SetObjectName("Boolean");
}

void RegisterNumber(TJEngine& engine) {
  engine.RegisterObjectClass("Number", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    // NaN and the infinities are numbers too: a wrapped NaN keeps being NaN.
    Value v = p && p->GetCount() > 0 ? p->GetValue(0) : Value();
    if (!IsNumberLike(v) && v.type() != vtNaN) v = Value::Integer(0);
    return new TJNumberObject(e, v);
  }, true);
}

void RegisterBoolean(TJEngine& engine) {
  engine.RegisterObjectClass("Boolean", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    return new TJBooleanObject(e, p && p->GetCount() > 0 && ValueToBool(p->GetValue(0)));
  }, true);
}

}  // namespace kestrin::script
