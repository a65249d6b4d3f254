// Math: eighteen functions and eight constants. Results that leave the 32 bits of an
// integer come back as exact doubles; NaN and infinite results are the NaN and Infinity
// values.
#include "script/builtins/math_object.h"

#include <chrono>
#include <cmath>
#include <limits>

#include "script/builtins/number_object.h"
#include "script/core/engine.h"

namespace kestrin::script {
namespace {

using Fn = double (*)(double);

// An integral double as an integer when it fits 32 bits, else as itself.
Value Integral(double r) {
  if (r >= -2147483648.0 && r <= 2147483647.0) return Value::Integer(static_cast<int32_t>(r));
  return Value::Double(r);
}

Value Real(double r) { return Value::Double(r); }

// f of the argument, wrapped as a double or as an integral number.
template <Fn f, Value (*wrap)(double) = Real>
void Unary(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() > 0) result = wrap(f(NumberOf(params.GetValue(0))));
}

double Exp(double x) { return std::exp(x); }
double Log(double x) { return std::log(x); }
double Sqrt(double x) { return std::sqrt(x); }
double Sin(double x) { return std::sin(x); }
double Cos(double x) { return std::cos(x); }
double Tan(double x) { return std::tan(x); }
double Asin(double x) { return std::asin(x); }
double Acos(double x) { return std::acos(x); }
double Atan(double x) { return std::atan(x); }
double Ceil(double x) { return std::ceil(x); }
double Floor(double x) { return std::floor(x); }
// To the nearest integer, ties to even (the default rounding mode).
double Round(double x) { return std::nearbyint(x); }

// A double (or NaN, or an infinity) keeps its kind; other kinds give the integer absolute
// value, as an exact double where it leaves 32 bits (the absolute value of -2147483648).
void MAbs(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() == 0) return;
  const Value x = params.GetValue(0);
  const TJValueType t = x.type();
  if (t == vtDouble || t == vtNaN || t == vtInfinity) {
    result = Value::Double(std::fabs(NumberOf(x)));
  } else {
    result = Integral(std::fabs(static_cast<double>(ValueToInteger(x))));
  }
}

void MAtan2(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) return;
  result = Value::Double(std::atan2(NumberOf(params.GetValue(0)), NumberOf(params.GetValue(1))));
}

void MPow(TJObject&, TJValueList& params, Value& result) {
  if (params.GetCount() < 2) return;
  result = Value::Double(std::pow(NumberOf(params.GetValue(0)), NumberOf(params.GetValue(1))));
}

// The largest (or smallest) of the arguments; NaN when one is not a number.
template <bool kMax>
void Extreme(TJObject&, TJValueList& params, Value& result) {
  double best = kMax ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  for (int32_t i = 0; i < params.GetCount(); ++i) {
    const Value x = params.GetValue(i);
    if (!IsNumberLike(x)) {
      result = Value::NaN();
      return;
    }
    const double v = NumberOf(x);
    if (kMax ? v > best : v < best) best = v;
  }
  result = Value::Double(best);
}

void MRandom(TJObject& self, TJValueList& params, Value& result) {
  auto& math = static_cast<TJMathObject&>(self);
  if (params.GetCount() > 0) result = Value::Integer(math.RandomBelow(ValueToInteger(params.GetValue(0))));
  else result = Value::Double(math.RandomUnit());
}

Value Constant(double v) { return Value::Double(v); }
Value GetE(TJObject&) { return Constant(std::exp(1.0)); }
Value GetLn2(TJObject&) { return Constant(std::log(2.0)); }
Value GetLn10(TJObject&) { return Constant(std::log(10.0)); }
Value GetLog2e(TJObject&) { return Constant(1 / std::log(2.0)); }
Value GetLog10e(TJObject&) { return Constant(1 / std::log(10.0)); }
Value GetPi(TJObject&) { return Constant(3.141592653589793); }
Value GetSqrt1_2(TJObject&) { return Constant(std::sqrt(0.5)); }
Value GetSqrt2(TJObject&) { return Constant(std::sqrt(2.0)); }

constexpr PropDef kMathProps[] = {{"E", GetE, nullptr},         {"LN2", GetLn2, nullptr},
                              {"LN10", GetLn10, nullptr},   {"LOG2E", GetLog2e, nullptr},
                              {"LOG10E", GetLog10e, nullptr}, {"PI", GetPi, nullptr},
                              {"SQRT1_2", GetSqrt1_2, nullptr}, {"SQRT2", GetSqrt2, nullptr}};

// Milliseconds since midnight, UTC.
uint32_t TimeOfDaySeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  return static_cast<uint32_t>(ms % 86400000);
}

}  // namespace

TJMathObject::TJMathObject(BaseEngine* engine) : TJObject(engine), seed_(TimeOfDaySeed()), props_(*this, kMathProps) {
  SetObjectName("Math");
}

const ClassInfo& TJMathObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"abs", MAbs}, {"exp", Unary<Exp>}, {"log", Unary<Log>}, {"sqrt", Unary<Sqrt>},
       {"ceil", Unary<Ceil, Integral>}, {"floor", Unary<Floor, Integral>}, {"round", Unary<Round, Integral>},
       {"sin", Unary<Sin>}, {"cos", Unary<Cos>}, {"tan", Unary<Tan>}, {"asin", Unary<Asin>},
       {"acos", Unary<Acos>}, {"atan", Unary<Atan>}, {"atan2", MAtan2}, {"max", Extreme<true>},
       {"min", Extreme<false>}, {"pow", MPow}, {"random", MRandom}});
  return info;
}

// The runtime's linear congruential generator: seed * 134775813 + 1 modulo 2^32.
uint32_t TJMathObject::NextSeed() {
  seed_ = seed_ * 134775813u + 1u;
  return seed_;
}

int32_t TJMathObject::RandomBelow(int32_t range) {
  const uint32_t draw = NextSeed();
  if (range < 1) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(draw) * static_cast<uint32_t>(range)) >> 32);
}

double TJMathObject::RandomUnit() { return NextSeed() / 4294967296.0; }

void RegisterMath(TJEngine& engine) {
  engine.RegisterObjectClass("Math", [](BaseEngine* e, TJValueList*) -> TJObject* { return new TJMathObject(e); }, true);
}

}  // namespace kestrin::script
