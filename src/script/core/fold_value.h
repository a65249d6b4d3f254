// Stand-in for the engine's value type and errors while the value core is being built:
// only the constant kinds the parser folds.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrin::script {

enum TJValueType : uint8_t {
  vtUndefined, vtNull, vtInteger, vtDouble, vtString, vtObject, vtBool, vtFunction,
  vtInfinity, vtNaN, vtDispatch, vtRegExp, vtEvent
};

class Value {
public:
  static Value Integer(int32_t i) { Value v; v.t_ = vtInteger; v.i_ = i; return v; }
  static Value Double(double d);
  static Value Bool(bool b) { Value v; v.t_ = vtBool; v.b_ = b; return v; }
  static Value Null() { Value v; v.t_ = vtNull; return v; }
  static Value NaN() { Value v; v.t_ = vtNaN; return v; }
  static Value Infinity(bool negative) { Value v; v.t_ = vtInfinity; v.b_ = negative; return v; }
  static Value String(std::string_view s) { Value v; v.t_ = vtString; v.s_ = s; return v; }
  static Value RegExp(std::string_view source, std::string_view flags) {
    Value v; v.t_ = vtRegExp; v.s_ = source; v.f_ = flags.substr(0, 7); return v;
  }
  TJValueType type() const { return t_; }
  int32_t integer() const { return i_; }
  double dbl() const { return d_; }
  bool boolean() const { return b_; }
  bool negative() const { return b_; }
  std::string_view text() const { return s_; }
  std::string_view regexp_flags() const { return f_; }

private:
  TJValueType t_ = vtUndefined;
  int32_t i_ = 0;
  double d_ = 0;
  bool b_ = false;
  std::string s_, f_;
};

class EJRuntimeError : public std::runtime_error {
public:
  EJRuntimeError(std::string name, std::string message)
      : std::runtime_error(message), error_name(std::move(name)), message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  std::string error_name;

private:
  std::string message_;
};
class EJThrow : public EJRuntimeError {
public:
  using EJRuntimeError::EJRuntimeError;
};
class EJSyntaxError : public EJRuntimeError {
public:
  EJSyntaxError(int32_t line, std::string message)
      : EJRuntimeError("ESyntaxError", std::move(message)), line_no(line) {}
  int32_t line_no;
};

const char* ValueTypeName(TJValueType t);
std::string ValueToStdString(const Value& v);
Value EvalUnaryOperator(int code, const Value& operand);
Value EvalBinaryOperator(int code, const Value& left, const Value& right);
Value EvalCompareOperator(int code, const Value& left, const Value& right);

}  // namespace kestrin::script
