// Number and Boolean: the objects of a number (with its formatting methods and the five
// constants) and of a truth value.
#pragma once

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"

namespace kestrin::script {

class TJEngine;

// A value as a number for the numeric built-ins: NaN and the infinities are the IEEE values
// (ValueToNumber reads them as 0), everything else converts with ValueToNumber.
double NumberOf(const Value& v);
// Whether a numeric built-in takes the value as a number: ValueIsNumeric, or an infinity.
bool IsNumberLike(const Value& v);

class TJNumberObject : public TJObject {
public:
  // Keeps `held` as it is (a numeric string stays a string).
  TJNumberObject(BaseEngine* engine, Value held);
  const ClassInfo& Class() const override;
  uint32_t ClassFlags() const override { return kNumberObjectClass; }
  PublishedProperties* Published() override { return &props_; }
  void RegisterConstants() override;
  // With a radix argument of 2, 8 or 16: the digits of the 32-bit pattern.
  StrRef ToString(const Value* arg) override;
  Value ValueOf() override { return held_; }
  double ToNumber() override { return ValueToNumber(held_); }
  bool ToBool() override { return ValueToBool(held_); }
  char ToChar() override { return ValueToChar(held_); }

  const Value& Held() const { return held_; }
  void SetHeld(Value v) { held_ = std::move(v); }

private:
  Value held_;
  PropTable props_;
};

class TJBooleanObject : public TJObject {
public:
  TJBooleanObject(BaseEngine* engine, bool held);
  uint32_t ClassFlags() const override { return kBooleanObjectClass; }
  PublishedProperties* Published() override { return &props_; }
  StrRef ToString(const Value*) override { return held_ ? "true" : "false"; }
  Value ValueOf() override { return Value::Bool(held_); }
  double ToNumber() override { return held_ ? 1 : 0; }
  bool ToBool() override { return held_; }
  char ToChar() override { return held_ ? 1 : 0; }

  bool Held() const { return held_; }
  void SetHeld(bool b) { held_ = b; }

private:
  bool held_;
  PropTable props_;
};

// Layouts of the Number methods, exposed for their tests: fixed with `digits` decimals and
// at most 15 significant digits; exponent form "1.23E+4" with digits + 1 significant
// digits, or as many as the 15-digit text needs when digits < 0. Digits are clamped to
// the 18 that the float layouts carry.
std::string FixedText(double v, int64_t digits);
std::string ExponentText(double v, int64_t digits);

// Register "Number" and "Boolean".
void RegisterNumber(TJEngine& engine);
void RegisterBoolean(TJEngine& engine);

}  // namespace kestrin::script
