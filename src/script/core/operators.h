// The unary, binary, compound-assignment and comparison operators on values, selected by
// the expression code of the syntax tree.
#pragma once

#include "script/core/value.h"

namespace kestrin::script {

// Expression codes of the operators.
enum OperatorCode : int {
  opAdd = 2, opSub = 3, opDiv = 4, opMul = 5, opMod = 6, opIntDiv = 7,
  opMulAssign = 9, opDivAssign, opAddAssign, opSubAssign, opModAssign, opShlAssign,
  opShrAssign, opUShrAssign, opAndAssign, opXorAssign, opOrAssign,  // 9 .. 19
  opPlus = 22, opMinus = 23,
  opNot = 40, opOr = 41, opOrBoth = 42, opAnd = 43, opAndBoth = 44,
  opShl = 45, opShr = 46, opUShr = 47,
  opLess = 48, opGreater = 49, opLessEq = 50, opGreaterEq = 51,
  opEq = 52, opNotEq = 53, opStrictEq = 54, opStrictNotEq = 55,
  opBitAnd = 56, opBitXor = 57, opBitOr = 58, opBitNot = 59,
};

// Each clears Result first. Undefined operands raise "ENameError" (empty message);
// function, infinity (binary and bitwise not) and NaN operands raise "ETypeError" with the
// kind names ("vtInteger - vtNaN").
void EvalUnaryOperator(int code, const Value& operand, Value& result);
void EvalBinaryOperator(int code, const Value& left, const Value& right, Value& result);
void EvalAssignOperator(int code, const Value& left, const Value& right, Value& result);
void EvalCompareOperator(int code, const Value& left, const Value& right, Value& result);
bool StrictEquals(const Value& left, const Value& right);
bool LooseEquals(const Value& left, const Value& right);

// Integer arithmetic with two's-complement wrapping (no undefined behaviour).
inline int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
inline int32_t WrapNeg(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }

}  // namespace kestrin::script
