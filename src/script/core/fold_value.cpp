// Stand-in operators on constant values while the value core is being built.
#include "script/core/fold_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kestrin::script {
namespace {

std::string DoubleText(double d) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  std::string s(buf, r.ptr);
  size_t e = s.find('e');
  if (e == std::string::npos) return s;
  std::string mant = s.substr(0, e), exp = s.substr(e + 1);
  bool neg = exp[0] == '-';
  exp = exp.substr(1);
  while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
  return mant + "E" + (neg ? "-" : "") + exp;
}

bool IsStringLike(const Value& v) { return v.type() == vtString; }

bool TextNumber(std::string_view t, double& out) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  auto r = std::from_chars(t.data(), t.data() + t.size(), out);
  return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
}

double ToNumber(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer();
    case vtDouble: return v.dbl();
    case vtBool: return v.boolean() ? 1 : 0;
    case vtString: {
      double d = 0;
      return TextNumber(v.text(), d) ? d : 0;
    }
    default: return 0;
  }
}

int32_t ToInteger(const Value& v) {
  if (v.type() == vtInteger) return v.integer();
  if (v.type() == vtDouble) {
    double r = std::nearbyint(v.dbl());
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return 0;
    return static_cast<int32_t>(r);
  }
  if (v.type() == vtString) {
    int32_t i = 0;
    auto t = v.text();
    auto r = std::from_chars(t.data(), t.data() + t.size(), i);
    return r.ec == std::errc() && r.ptr == t.data() + t.size() ? i : 0;
  }
  return static_cast<int32_t>(ToNumber(v));
}

bool ToBool(const Value& v) {
  switch (v.type()) {
    case vtInteger: return v.integer() != 0;
    case vtDouble: return std::trunc(v.dbl()) != 0;
    case vtString: return !v.text().empty();
    case vtBool: return v.boolean();
    case vtInfinity: case vtNaN: return true;
    case vtRegExp: return !v.text().empty();
    default: return false;
  }
}

bool IsNumeric(const Value& v) {
  double d;
  if (v.type() == vtInteger || v.type() == vtDouble || v.type() == vtBool) return true;
  return v.type() == vtString && TextNumber(v.text(), d);
}

bool StrictEquals(const Value& a, const Value& b) {
  switch (a.type()) {
    case vtInteger: return a.integer() == b.integer();
    case vtDouble: return a.dbl() == b.dbl();
    case vtUndefined: case vtNull: return true;
    case vtString: return a.text() == b.text();
    case vtBool: return a.boolean() == b.boolean();
    case vtInfinity: return a.negative() == b.negative();
    default: return false;
  }
}

bool LooseEquals(const Value& a, const Value& b) {
  if (a.type() == b.type()) return StrictEquals(a, b);
  if (IsStringLike(a) && IsStringLike(b)) return a.text() == b.text();
  if (IsNumeric(a) && IsNumeric(b)) return ToNumber(a) == ToNumber(b);
  if (a.type() <= vtNull && b.type() <= vtNull) return true;
  if (a.type() == vtNaN || b.type() == vtNaN) return false;
  return ValueToStdString(a) == ValueToStdString(b);
}

bool Relational(int code, const Value& a, const Value& b) {
  auto cmp = [code](auto x, auto y) {
    switch (code) {
      case 48: return x < y;
      case 49: return x > y;
      case 50: return x <= y;
      default: return x >= y;
    }
  };
  if (a.type() == vtInteger && b.type() == vtInteger) return cmp(a.integer(), b.integer());
  if (a.type() == vtDouble && b.type() == vtDouble) return cmp(a.dbl(), b.dbl());
  bool an = IsNumeric(a) || a.type() == vtInfinity, bn = IsNumeric(b) || b.type() == vtInfinity;
  if (!an || !bn) {
    if (a.type() == vtNaN || b.type() == vtNaN) return false;
    return cmp(ValueToStdString(a), ValueToStdString(b));
  }
  auto num = [](const Value& v) {
    if (v.type() == vtInfinity) return v.negative() ? -HUGE_VAL : HUGE_VAL;
    return ToNumber(v);
  };
  return cmp(num(a), num(b));
}

[[noreturn]] void TypeError(std::string message) { throw EJThrow("ETypeError", std::move(message)); }

}  // namespace

Value Value::Double(double d) {
  if (std::isnan(d)) return NaN();
  if (std::isinf(d)) return Infinity(d < 0);
  Value v;
  v.t_ = vtDouble;
  v.d_ = d;
  return v;
}

const char* ValueTypeName(TJValueType t) {
  static const char* const names[] = {"vtUndefined", "vtNull", "vtInteger", "vtDouble",
      "vtString", "vtObject", "vtBool", "vtFunction", "vtInfinity", "vtNaN", "vtDispatch",
      "vtRegExp", "vtEvent"};
  return names[t];
}

std::string ValueToStdString(const Value& v) {
  switch (v.type()) {
    case vtUndefined: return "undefined";
    case vtNull: return "null";
    case vtInteger: return std::to_string(v.integer());
    case vtDouble: return DoubleText(v.dbl());
    case vtString: return std::string(v.text());
    case vtBool: return v.boolean() ? "true" : "false";
    case vtInfinity: return v.negative() ? "-infinity" : "infinity";
    case vtNaN: return "NaN";
    case vtRegExp: return "/" + std::string(v.text()) + "/" + std::string(v.regexp_flags());
    default: return "";
  }
}

Value EvalUnaryOperator(int code, const Value& v) {
  if (v.type() == vtUndefined) throw EJThrow("ENameError", "");
  if (v.type() == vtNaN || v.type() == vtFunction) TypeError(ValueTypeName(v.type()));
  switch (code) {
    case 22:
      if (v.type() == vtDouble || v.type() == vtInfinity) return v;
      return Value::Integer(ToInteger(v));
    case 23:
      if (v.type() == vtDouble) return Value::Double(0 - v.dbl());
      if (v.type() == vtInfinity) return Value::Infinity(!v.negative());
      return Value::Integer(static_cast<int32_t>(0u - static_cast<uint32_t>(ToInteger(v))));
    default:
      if (v.type() == vtInfinity) TypeError(ValueTypeName(v.type()));
      return Value::Integer(~ToInteger(v));
  }
}

Value EvalBinaryOperator(int code, const Value& l, const Value& r) {
  if (l.type() == vtUndefined || r.type() == vtUndefined) throw EJThrow("ENameError", "");
  for (const Value* v : {&l, &r}) {
    if (v->type() == vtFunction || v->type() == vtInfinity || v->type() == vtNaN)
      TypeError(std::string(ValueTypeName(l.type())) + " - " + ValueTypeName(r.type()));
  }
  double a = ToNumber(l), b = ToNumber(r);
  int32_t i = ToInteger(l), j = ToInteger(r);
  uint32_t s = static_cast<uint32_t>(j) & 31;
  switch (code) {
    case 2:
      if (IsStringLike(l) || IsStringLike(r)) return Value::String(ValueToStdString(l) + ValueToStdString(r));
      return Value::Double(a + b);
    case 3: return Value::Double(a - b);
    case 5: return Value::Double(a * b);
    case 4:
      if (b == 0) return a == 0 ? Value::NaN() : Value::Infinity((a < 0) != (b < 0));
      return Value::Double(a / b);
    case 7:
      if (j == 0) return i == 0 ? Value::NaN() : Value::Infinity(i < 0);
      if (j == -1) return Value::Integer(static_cast<int32_t>(0u - static_cast<uint32_t>(i)));
      return Value::Integer(i / j);
    case 6:
      if (j == 0) return Value::NaN();
      if (j == -1) return Value::Integer(0);
      return Value::Integer(i % j);
    case 45: return Value::Integer(static_cast<int32_t>(static_cast<uint32_t>(i) << s));
    case 46: return Value::Integer(i >> s);
    case 47: return Value::Integer(static_cast<int32_t>(static_cast<uint32_t>(i) >> s));
    case 56: return Value::Integer(i & j);
    case 57: return Value::Integer(i ^ j);
    default: return Value::Integer(i | j);
  }
}

Value EvalCompareOperator(int code, const Value& l, const Value& r) {
  switch (code) {
    case 40: return Value::Bool(!ToBool(l));
    case 41: case 42: return Value::Bool(ToBool(l) || ToBool(r));
    case 43: case 44: return Value::Bool(ToBool(l) && ToBool(r));
    case 48: case 49: case 50: case 51: return Value::Bool(Relational(code, l, r));
    case 52: return Value::Bool(LooseEquals(l, r));
    case 53: return Value::Bool(!LooseEquals(l, r));
    case 54: return Value::Bool(l.type() == r.type() && StrictEquals(l, r));
    default: return Value::Bool(!(l.type() == r.type() && StrictEquals(l, r)));
  }
}

}  // namespace kestrin::script
