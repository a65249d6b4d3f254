// The operator matrix: results and exact errors of every operator over the value kinds.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "script/core/errors.h"
#include "script/core/function.h"
#include "script/core/object.h"
#include "script/core/operators.h"

namespace kestrin::script {
namespace {

// "vtDouble:3", or "ETypeError(vtNaN - vtInteger)" for an error.
template <class F>
std::string Outcome(F eval) {
  try {
    Value r;
    eval(r);
    return std::string(ValueTypeName(r.type())) + ":" + ValueToStdString(r);
  } catch (const EJThrow& e) {
    return e.error_name + "(" + e.Message() + ")";
  }
}

Value I(int32_t i) { return Value::Integer(i); }
Value D(double d) { return Value::Double(d); }
Value S(const char* s) { return Value::String(s); }
Value Fn() {
  Value f = NewFunctionImpl();
  f.function()->name = "f";
  return f;
}

struct BinaryRow {
  int code;
  Value l, r;
  const char* expected;
};

TEST(Operators, BinaryMatrix) {
  const Value inf = Value::Infinity(false), nan = Value::NaN();
  const BinaryRow rows[] = {
      {opAdd, I(1), I(2), "vtDouble:3"},
      {opAdd, S("a"), I(1), "vtString:a1"},
      {opAdd, I(1), S("2"), "vtString:12"},
      {opAdd, Value::Null(), S("a"), "vtString:nulla"},
      {opAdd, Value::Null(), I(1), "vtDouble:1"},
      {opAdd, Value(), I(1), "ENameError()"},
      {opAdd, Fn(), Value(), "ENameError()"},
      {opAdd, nan, I(1), "ETypeError(vtNaN - vtInteger)"},
      {opAdd, I(1), nan, "ETypeError(vtInteger - vtNaN)"},
      {opAdd, S("x"), inf, "ETypeError(vtString - vtInfinity)"},
      {opSub, Fn(), I(1), "ETypeError(vtFunction - vtInteger)"},
      {opSub, I(5), I(7), "vtDouble:-2"},
      {opSub, S("3"), S("1"), "vtDouble:2"},
      {opMul, Value::Bool(true), I(4), "vtDouble:4"},
      {opDiv, I(7), I(2), "vtDouble:3.5"},
      {opDiv, I(1), I(0), "vtInfinity:infinity"},
      {opDiv, I(-1), I(0), "vtInfinity:-infinity"},
      {opDiv, I(0), I(0), "vtNaN:NaN"},
      {opMul, D(1e308), I(10), "vtInfinity:infinity"},
      {opMul, D(-1e308), I(10), "vtInfinity:-infinity"},
      {opAdd, D(1e308), D(1e308), "vtInfinity:infinity"},
      {opSub, D(-1e308), D(1e308), "vtInfinity:-infinity"},
      {opIntDiv, I(7), I(2), "vtInteger:3"},
      {opIntDiv, I(-7), I(2), "vtInteger:-3"},
      {opIntDiv, I(0), I(0), "vtNaN:NaN"},
      {opIntDiv, I(5), I(0), "vtInfinity:infinity"},
      {opIntDiv, I(-5), I(0), "vtInfinity:-infinity"},
      {opIntDiv, I(INT_MIN), I(-1), "vtInteger:-2147483648"},
      {opMod, I(-7), I(2), "vtInteger:-1"},
      {opMod, I(5), I(0), "vtNaN:NaN"},
      {opMod, I(INT_MIN), I(-1), "vtInteger:0"},
      {opMod, D(7.5), I(3), "vtInteger:2"},
      {opShl, I(1), I(33), "vtInteger:2"},
      {opShl, I(1), I(31), "vtInteger:-2147483648"},
      {opShl, I(1), I(-1), "vtInteger:-2147483648"},
      {opShr, I(-8), I(1), "vtInteger:-4"},
      {opUShr, I(-8), I(28), "vtInteger:15"},
      {opUShr, I(-1), I(0), "vtInteger:-1"},
      {opBitAnd, I(6), I(3), "vtInteger:2"},
      {opBitXor, I(6), I(3), "vtInteger:5"},
      {opBitOr, D(5.7), I(0), "vtInteger:6"},
      {opBitOr, S("12"), I(1), "vtInteger:13"},
      {opBitOr, D(1e300), I(0), "vtInteger:0"},  // beyond 64 bits: 0
  };
  for (const BinaryRow& r : rows)
    EXPECT_EQ(Outcome([&](Value& out) { EvalBinaryOperator(r.code, r.l, r.r, out); }), r.expected)
        << "code " << r.code << " " << ValueToStdString(r.l) << ", " << ValueToStdString(r.r);
}

TEST(Operators, CompoundAssignmentMapsToBinary) {
  const BinaryRow rows[] = {
      {opAddAssign, S("a"), I(1), "vtString:a1"},
      {opModAssign, I(7), I(3), "vtInteger:1"},
      {opMulAssign, I(3), I(3), "vtDouble:9"},
      {opDivAssign, I(1), I(4), "vtDouble:0.25"},
      {opSubAssign, I(1), I(4), "vtDouble:-3"},
      {opShlAssign, I(1), I(4), "vtInteger:16"},
      {opShrAssign, I(-16), I(2), "vtInteger:-4"},
      {opUShrAssign, I(-1), I(28), "vtInteger:15"},
      {opAndAssign, I(12), I(10), "vtInteger:8"},
      {opXorAssign, I(12), I(10), "vtInteger:6"},
      {opOrAssign, D(5.7), I(0), "vtInteger:6"},
      {opAddAssign, Value(), I(0), "ENameError()"},
  };
  for (const BinaryRow& r : rows)
    EXPECT_EQ(Outcome([&](Value& out) { EvalAssignOperator(r.code, r.l, r.r, out); }), r.expected) << r.code;
}

TEST(Operators, UnaryMatrix) {
  struct Row { int code; Value v; const char* expected; };
  const Row rows[] = {
      {opPlus, S("2.5"), "vtInteger:0"},
      {opPlus, Value::Bool(true), "vtInteger:1"},
      {opPlus, D(2.5), "vtDouble:2.5"},
      {opPlus, Value::Infinity(true), "vtInfinity:-infinity"},
      {opMinus, D(2), "vtDouble:-2"},
      {opMinus, S("5"), "vtInteger:-5"},
      {opMinus, I(INT_MIN), "vtInteger:-2147483648"},
      {opMinus, Value::Infinity(false), "vtInfinity:-infinity"},
      {opBitNot, I(0), "vtInteger:-1"},
      {opBitNot, D(2.5), "vtInteger:-3"},
      {opBitNot, Value::Infinity(false), "ETypeError(vtInfinity)"},
      {opBitNot, Value::NaN(), "ETypeError(vtNaN)"},
      {opMinus, Fn(), "ETypeError(vtFunction)"},
      {opPlus, Value(), "ENameError()"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Outcome([&](Value& out) { EvalUnaryOperator(r.code, r.v, out); }), r.expected) << r.code;
}

TEST(Operators, ComparisonMatrix) {
  const Value inf = Value::Infinity(false), ninf = Value::Infinity(true), nan = Value::NaN();
  struct Row { int code; Value l, r; bool expected; };
  const Row rows[] = {
      {opLess, S("10"), S("9"), false},
      {opLess, S("abc"), S("abd"), true},
      {opLess, S("B"), S("a"), true},
      {opLess, I(1), D(2.5), true},
      {opGreater, Value(), I(1), true},  // both sides as texts: "undefined" > "1"
      {opEq, S("1"), I(1), true},
      {opEq, Value::Bool(true), S("1"), true},
      {opEq, S(""), I(0), false},
      {opEq, Value::Null(), Value(), true},
      {opEq, nan, nan, false},
      {opNotEq, nan, nan, true},
      {opEq, nan, S("NaN"), false},
      {opEq, I(1), D(1.0), true},
      {opEq, S("abc"), S("ABC"), false},
      {opEq, Value::RegExp("a", ""), S("/a/"), true},
      {opStrictEq, I(1), D(1.0), false},
      {opStrictNotEq, I(1), S("1"), true},
      {opStrictEq, S("a"), S("a"), true},
      {opStrictEq, nan, nan, false},
      {opStrictEq, Value::RegExp("a", ""), Value::RegExp("a", ""), false},
      {opStrictEq, inf, inf, true},
      {opStrictEq, inf, ninf, false},
      {opLessEq, inf, inf, false},
      {opLessEq, ninf, inf, true},
      {opLessEq, ninf, ninf, true},
      {opGreaterEq, inf, ninf, true},
      {opGreaterEq, inf, inf, false},
      {opLess, ninf, inf, true},
      {opGreater, inf, ninf, true},
      {opLess, ninf, I(5), true},
      {opGreater, inf, I(5), true},
      {opLessEq, inf, I(5), false},
      {opLess, I(5), inf, true},
      {opGreater, I(5), ninf, true},
      {opLess, nan, I(1), false},
      {opGreater, I(1), nan, false},
      {opNot, D(0.5), Value(), true},
      {opOr, S(""), S("a"), true},
      {opAnd, I(1), I(0), false},
      {opAndBoth, I(1), S("x"), true},
  };
  for (const Row& r : rows) {
    Value out;
    EvalCompareOperator(r.code, r.l, r.r, out);
    EXPECT_EQ(out.type(), vtBool);
    EXPECT_EQ(out.boolean(), r.expected)
        << "code " << r.code << " " << ValueToStdString(r.l) << ", " << ValueToStdString(r.r);
  }
}

TEST(Operators, IncrementAndNegationWrap) {
  EXPECT_EQ(WrapAdd(INT_MAX, 1), INT_MIN);   // ++ at the top
  EXPECT_EQ(WrapAdd(INT_MIN, -1), INT_MAX);  // -- at the bottom
  EXPECT_EQ(WrapNeg(INT_MIN), INT_MIN);
  EXPECT_EQ(WrapNeg(5), -5);
}

TEST(Operators, StrictEqualityOfObjectsAndFunctionsIsIdentity) {
  Value a = Value::Object(new TJObject(nullptr)), b = Value::Object(new TJObject(nullptr));
  Value f = Fn(), g = Fn();
  EXPECT_TRUE(StrictEquals(a, a));
  EXPECT_FALSE(StrictEquals(a, b));
  EXPECT_TRUE(LooseEquals(a, Value(a)));
  EXPECT_TRUE(StrictEquals(f, Value(f)));
  EXPECT_FALSE(StrictEquals(f, g));
}

// Random pairs of kinds through every operator code: no undefined behaviour (the
// sanitizers watch) and every failure is a script error.
TEST(Operators, EveryCodeOverEveryKindPairIsDefined) {
  Value obj = Value::Object(new TJObject(nullptr));
  const Value values[] = {Value(), Value::Null(), I(INT_MIN), I(INT_MAX), I(-1), I(0), D(-0.0), D(1e300),
                          D(-2.5), S(""), S("2147483648"), S("-7"), obj, Value::Bool(true), Fn(),
                          Value::Infinity(true), Value::NaN(), Value::RegExp("x", "g"),
                          Value::Event(new EventRep(nullptr, nullptr))};
  int evaluated = 0;
  for (int code = 0; code <= 63; ++code)
    for (const Value& l : values)
      for (const Value& r : values) {
        Value out;
        try {
          EvalBinaryOperator(code, l, r, out);
          EvalAssignOperator(code, l, r, out);
          EvalCompareOperator(code, l, r, out);
          EvalUnaryOperator(code, l, out);
          ++evaluated;
        } catch (const EJThrow& e) {
          EXPECT_TRUE(e.error_name == "ENameError" || e.error_name == "ETypeError") << e.error_name;
        }
      }
  EXPECT_GT(evaluated, 0);
}

}  // namespace
}  // namespace kestrin::script
