// Operator evaluation: arithmetic with caught floating-point faults, integer operators
// with wrapping, and the relational and equality rules.
#include "script/core/operators.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/object.h"

namespace kestrin::script {

namespace {

[[noreturn]] void NameError() { RaiseError(ScriptError::OperandName); }

[[noreturn]] void TypeError(const Value& a) { RaiseError(ScriptError::OperandType, {ValueTypeName(a.type())}); }

[[noreturn]] void TypeError(const Value& l, const Value& r) {
  RaiseError(ScriptError::OperandTypes, {ValueTypeName(l.type()), ValueTypeName(r.type())});
}

bool BadOperand(TJValueType t) { return t == vtFunction || t == vtInfinity || t == vtNaN; }

// Result of a floating-point operation whose fault (overflow, division by zero, invalid)
// is caught: the value itself when finite, else infinity with the given sign, or NaN.
Value Faulted(double r, bool negative) {
  if (std::isnan(r)) return Value::NaN();
  if (std::isinf(r)) return Value::Infinity(negative);
  return Value::Double(r);
}

Value Arithmetic(int code, const Value& l, const Value& r) {
  double a = ValueToNumber(l), b = ValueToNumber(r);
  switch (code) {
    case opAdd: return Faulted(a + b, a < 0);
    case opSub: return Faulted(a - b, a < 0);
    case opMul: return Faulted(a * b, (a < 0) != (b < 0));
    case opDiv:
      if (b == 0) return a == 0 ? Value::NaN() : Value::Infinity((a < 0) != (b < 0));
      return Faulted(a / b, (a < 0) != (b < 0));
    default: return Value();
  }
}

Value IntegerOp(int code, int32_t a, int32_t b) {
  uint32_t ua = static_cast<uint32_t>(a), count = static_cast<uint32_t>(b) & 31u;
  switch (code) {
    case opIntDiv:
      if (b == 0) return a == 0 ? Value::NaN() : Value::Infinity(a < 0);
      if (b == -1) return Value::Integer(WrapNeg(a));
      return Value::Integer(a / b);
    case opMod:
      if (b == 0) return Value::NaN();
      if (b == -1) return Value::Integer(0);
      return Value::Integer(a % b);
    case opShl: return Value::Integer(static_cast<int32_t>(ua << count));
    case opShr: return Value::Integer(a >> count);
    case opUShr: return Value::Integer(static_cast<int32_t>(ua >> count));
    case opBitAnd: return Value::Integer(a & b);
    case opBitXor: return Value::Integer(a ^ b);
    case opBitOr: return Value::Integer(a | b);
    default: return Value();
  }
}

// The relational rule; code is one of < > <= >=.
bool Relational(int code, const Value& l, const Value& r) {
  TJValueType lt = l.type(), rt = r.type();
  auto pick = [code](auto a, auto b) {
    switch (code) {
      case opLess: return a < b;
      case opGreater: return a > b;
      case opLessEq: return a <= b;
      default: return a >= b;
    }
  };
  if (lt == vtInteger && rt == vtInteger) return pick(l.integer(), r.integer());
  if (lt == vtDouble && rt == vtDouble) return pick(l.dbl(), r.dbl());
  bool ln = ValueIsNumeric(l) || lt == vtInfinity, rn = ValueIsNumeric(r) || rt == vtInfinity;
  if (!ln || !rn) {
    if (lt == vtNaN || rt == vtNaN) return false;
    return pick(ValueToString(l).view().compare(ValueToString(r).view()), 0);
  }
  if (lt == vtInfinity && rt == vtInfinity) {
    switch (code) {
      case opLess: return l.negative() && !r.negative();
      case opGreater: return !l.negative() && r.negative();
      case opLessEq: return l.negative();
      default: return r.negative();
    }
  }
  if (lt == vtInfinity) return (code == opLess || code == opLessEq) ? l.negative() : !l.negative();
  if (rt == vtInfinity) return (code == opLess || code == opLessEq) ? !r.negative() : r.negative();
  return pick(ValueToNumber(l), ValueToNumber(r));
}

}  // namespace

void EvalUnaryOperator(int code, const Value& operand, Value& result) {
  result = Value();
  TJValueType t = operand.type();
  if (t == vtUndefined) NameError();
  if (t == vtFunction || t == vtNaN) TypeError(operand);
  switch (code) {
    case opPlus:
      result = (t == vtDouble || t == vtInfinity) ? operand : Value::Integer(ValueToInteger(operand));
      break;
    case opMinus:
      if (t == vtDouble) result = Value::Double(0 - operand.dbl());
      else if (t == vtInfinity) result = Value::Infinity(!operand.negative());
      else result = Value::Integer(WrapNeg(ValueToInteger(operand)));
      break;
    case opBitNot:
      if (t == vtInfinity) TypeError(operand);
      result = Value::Integer(~ValueToInteger(operand));
      break;
    default: break;
  }
}

void EvalBinaryOperator(int code, const Value& left, const Value& right, Value& result) {
  result = Value();
  TJValueType lt = left.type(), rt = right.type();
  if (lt == vtUndefined || rt == vtUndefined) NameError();
  if (BadOperand(lt) || BadOperand(rt)) TypeError(left, right);
  switch (code) {
    case opAdd:
      if (ValueIsString(left) || ValueIsString(right)) {
        StrRef a = ValueToString(left);
        a.Append(ValueToString(right).view());
        result = Value::String(std::move(a));
        return;
      }
      [[fallthrough]];
    case opSub:
    case opMul:
    case opDiv: result = Arithmetic(code, left, right); return;
    case opIntDiv:
    case opMod:
    case opShl:
    case opShr:
    case opUShr:
    case opBitAnd:
    case opBitXor:
    case opBitOr: result = IntegerOp(code, ValueToInteger(left), ValueToInteger(right)); return;
    default: return;
  }
}

void EvalAssignOperator(int code, const Value& left, const Value& right, Value& result) {
  static const int kBinary[] = {opMul, opDiv, opAdd, opSub, opMod, opShl, opShr, opUShr, opBitAnd, opBitXor, opBitOr};
  result = Value();
  if (code < opMulAssign || code > opOrAssign) return;
  EvalBinaryOperator(kBinary[code - opMulAssign], left, right, result);
}

bool StrictEquals(const Value& l, const Value& r) {
  TJValueType t = l.type();
  if (t != r.type()) return false;
  switch (t) {
    case vtInteger: return l.integer() == r.integer();
    case vtDouble: return l.dbl() == r.dbl();
    case vtUndefined:
    case vtNull: return true;
    default: break;
  }
  if (ValueIsString(l) && ValueIsString(r)) return ValueToString(l) == ValueToString(r);
  switch (t) {
    case vtObject: return l.object()->Equal(r.object());
    case vtBool: return l.boolean() == r.boolean();
    case vtFunction: return l.function() == r.function();
    case vtInfinity: return l.negative() == r.negative();
    case vtDispatch: return l.dispatch() == r.dispatch();
    default: return false;
  }
}

bool LooseEquals(const Value& l, const Value& r) {
  TJValueType lt = l.type(), rt = r.type();
  if (lt == rt) return StrictEquals(l, r);
  if (ValueIsString(l) && ValueIsString(r)) return ValueToString(l) == ValueToString(r);
  if (ValueIsNumeric(l) && ValueIsNumeric(r)) return ValueToNumber(l) == ValueToNumber(r);
  if ((lt == vtNull && rt == vtUndefined) || (lt == vtUndefined && rt == vtNull)) return true;
  if (lt == vtNaN || rt == vtNaN) return false;
  return ValueToString(l) == ValueToString(r);
}

void EvalCompareOperator(int code, const Value& left, const Value& right, Value& result) {
  result = Value();
  bool b = false;
  switch (code) {
    case opNot: b = !ValueToBool(left); break;
    case opOr:
    case opOrBoth: b = ValueToBool(left) || ValueToBool(right); break;
    case opAnd:
    case opAndBoth: b = ValueToBool(left) && ValueToBool(right); break;
    case opLess:
    case opGreater:
    case opLessEq:
    case opGreaterEq: b = Relational(code, left, right); break;
    case opEq: b = LooseEquals(left, right); break;
    case opNotEq: b = !LooseEquals(left, right); break;
    case opStrictEq: b = StrictEquals(left, right); break;
    case opStrictNotEq: b = !StrictEquals(left, right); break;
    default: break;
  }
  result = Value::Bool(b);
}

}  // namespace kestrin::script
