// Conversions of script values: the kind x conversion matrix, the double format, and the
// number grammars of strings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "script/core/dispatch.h"
#include "script/core/function.h"
#include "script/core/number_text.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "script/core/var_rec.h"
#include "script/core/variant.h"

namespace kestrin::script {
namespace {

struct ConversionRow {
  std::string label;
  Value v;
  std::string text;
  double number;
  int32_t integer;
  bool boolean;
  char ch;
  std::string type_of;
};

class TestDispatch : public Dispatch {};

std::vector<ConversionRow> ConversionRows(TJObject* obj, Dispatch* disp) {
  Value fn = NewFunctionImpl();
  fn.function()->name = "f";
  Value event = Value::Event(new EventRep(nullptr, nullptr));
  return {
      {"undefined", Value(), "undefined", 0, 0, false, 0, "undefined"},
      {"null", Value::Null(), "null", 0, 0, false, 0, "null"},
      {"integer 300", Value::Integer(300), "300", 300, 300, true, 44, "number"},
      {"integer 0", Value::Integer(0), "0", 0, 0, false, 0, "number"},
      {"double 2.5", Value::Double(2.5), "2.5", 2.5, 2, true, 2, "number"},
      {"double 3.5", Value::Double(3.5), "3.5", 3.5, 4, true, 3, "number"},
      {"double 0.5", Value::Double(0.5), "0.5", 0.5, 0, false, 0, "number"},
      {"double -0.9", Value::Double(-0.9), "-0.9", -0.9, -1, false, 0, "number"},
      {"double 1.5", Value::Double(1.5), "1.5", 1.5, 2, true, 1, "number"},
      {"string 12", Value::String("12"), "12", 12, 12, true, '1', "string"},
      {"string empty", Value::String(""), "", 0, 0, false, 0, "string"},
      {"string 3.5", Value::String("3.5"), "3.5", 3.5, 0, true, '3', "string"},
      {"string 0x1F", Value::String("0x1F"), "0x1F", 31, 31, true, '0', "string"},
      {"string $10", Value::String("$10"), "$10", 16, 16, true, '$', "string"},
      {"string 12abc", Value::String("12abc"), "12abc", 0, 0, true, '1', "string"},
      {"object", Value::Object(obj), "[object Object]", 0, 0, true, 0, "object"},
      {"bool true", Value::Bool(true), "true", 1, 1, true, 1, "boolean"},
      {"bool false", Value::Bool(false), "false", 0, 0, false, 0, "boolean"},
      {"function", fn, "function f", 0, 0, true, 0, "function"},
      {"infinity", Value::Infinity(false), "infinity", 0, 0, true, 0, "number"},
      {"-infinity", Value::Infinity(true), "-infinity", 0, 0, true, 0, "number"},
      {"NaN", Value::NaN(), "NaN", 0, 0, true, 0, "number"},
      {"dispatch", Value::Disp(disp), "dispatch" + std::to_string(reinterpret_cast<uintptr_t>(disp)), 0, 0, true, 0, "dispatch"},
      {"regexp", Value::RegExp("a+b", "gi"), "/a+b/gi", 0, 0, true, 0, "regexp"},
      {"regexp empty", Value::RegExp("", ""), "//", 0, 0, false, 0, "regexp"},
      {"event", event, "", 0, 0, false, 0, "event"},
  };
}

TEST(ValueConversion, MatrixOfKindsAndConversions) {
  Value obj = Value::Object(new TJObject(nullptr));
  Value disp = Value::Disp(new TestDispatch);
  for (const ConversionRow& r : ConversionRows(obj.object(), disp.dispatch())) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(ValueToStdString(r.v), r.text);
    EXPECT_EQ(ValueToNumber(r.v), r.number);
    EXPECT_EQ(ValueToInteger(r.v), r.integer);
    EXPECT_EQ(ValueToBool(r.v), r.boolean);
    EXPECT_EQ(ValueToChar(r.v), r.ch);
    EXPECT_EQ(std::string(ValueTypeOf(r.v)), r.type_of);
  }
}

TEST(ValueConversion, DoublesAreNormalisedToInfinityAndNaNKinds) {
  EXPECT_EQ(Value::Double(INFINITY).type(), vtInfinity);
  EXPECT_FALSE(Value::Double(INFINITY).negative());
  EXPECT_TRUE(Value::Double(-INFINITY).negative());
  EXPECT_EQ(Value::Double(NAN).type(), vtNaN);
  EXPECT_EQ(Value::Object(nullptr).type(), vtNull);
}

TEST(ValueConversion, DoubleFormatTable) {
  struct Row { double d; const char* text; };
  const Row rows[] = {
      {100, "100"}, {0.1, "0.1"}, {1E20, "1E20"}, {1E-5, "1E-5"}, {0.0001, "0.0001"},
      {0.00015, "0.00015"}, {1E15, "1E15"}, {999999999999999, "999999999999999"},
      {999999999999999.9, "1E15"}, {1E14, "100000000000000"}, {1.5E-7, "1.5E-7"},
      {1.0 / 3, "0.333333333333333"}, {0.1 + 0.2, "0.3"}, {1234567890123456, "1.23456789012346E15"},
      {-0.0, "0"}, {-2.5, "-2.5"}, {123.456, "123.456"}, {1e100, "1E100"},
      {1.7976931348623157e308, "1.79769313486232E308"}, {-1.25e-10, "-1.25E-10"},
  };
  for (const Row& r : rows) EXPECT_EQ(DoubleToScriptText(r.d), r.text) << r.d;
}

TEST(ValueConversion, FloatTextAcceptsOnlyItsGrammar) {
  const char* refused[] = {"inf", "nan", "Infinity", "-inf", "0x1p3", "12abc", "", "  ", "1e",
                           "e5", "--1", "1.2.3", "1e400", ".", "+", "1,5", "1 2"};
  for (const char* s : refused) EXPECT_FALSE(ParseFloatText(s).has_value()) << s;
  struct Row { const char* s; double d; };
  const Row accepted[] = {{" 1.5 ", 1.5}, {"-2", -2}, {"+3", 3}, {".5", 0.5}, {"5.", 5},
                          {"1e-400", 0}, {"1E3", 1000}, {"-1.25e+2", -125}};
  for (const Row& r : accepted) EXPECT_EQ(ParseFloatText(r.s), r.d) << r.s;
}

TEST(ValueConversion, IntegerTextAcceptsDecimalAndHex) {
  struct Row { const char* s; int32_t v; };
  const Row accepted[] = {{"0x1F", 31}, {"$10", 16}, {"x10", 16}, {" -7", -7}, {"2147483647", 2147483647},
                          {"-2147483648", INT32_MIN}, {"$FFFFFFFF", -1}, {"0X7fffffff", INT32_MAX}};
  for (const Row& r : accepted) EXPECT_EQ(ParseIntegerText(r.s), r.v) << r.s;
  const char* refused[] = {"2147483648", "-2147483649", "12abc", "3.5", "7 ", "", "$", "0x", "$1FFFFFFFF", "inf"};
  for (const char* s : refused) EXPECT_FALSE(ParseIntegerText(s).has_value()) << s;
}

TEST(ValueConversion, NumericTextsAndStringLikeValues) {
  EXPECT_TRUE(ValueIsNumeric(Value::String(" 10 ")));
  EXPECT_TRUE(ValueIsNumeric(Value::String("$1F")));
  EXPECT_FALSE(ValueIsNumeric(Value::String("")));
  EXPECT_FALSE(ValueIsNumeric(Value::NaN()));
  EXPECT_TRUE(ValueIsNumeric(Value::Bool(false)));
  EXPECT_TRUE(ValueIsString(Value::String("")));
  EXPECT_FALSE(ValueIsString(Value::RegExp("a", "")));
  EXPECT_TRUE(ValueIsNullOrUndefined(static_cast<const Value*>(nullptr)));
}

TEST(ValueConversion, ArgumentCountsAreSafeOnNil) {
  TJValueList two{Value::Integer(1), Value::Integer(2)};
  EXPECT_EQ(ParamCount(nullptr), 0);
  EXPECT_FALSE(HasOneParam(nullptr));
  EXPECT_TRUE(HasTwoParams(&two));
  EXPECT_FALSE(HasThreeParams(&two));
}

TEST(ScriptString, CharacterCountsTreatLeadAndTrailAsOne) {
  // "a" + two-byte character (0x82 0xA0) + "b" + a lone lead byte at the end.
  StrRef s(std::string("a\x82\xA0" "b\x81", 5));
  EXPECT_EQ(s.size(), 5u);
  EXPECT_EQ(s.CharCount(), 4u);
  EXPECT_EQ(Cp932ByteOffset(s.view(), 2), 3u);
  // A trail byte that looks like a backslash (0x5C) belongs to its character.
  EXPECT_EQ(Cp932CharCount("\x95\x5C"), 1u);
}

TEST(ScriptString, StringValuesAppendInPlaceWhenUnshared) {
  Value s = Value::String("ab");
  Value copy = s;
  EXPECT_TRUE(s.AppendText("cd"));
  EXPECT_EQ(s.text(), "abcd");
  EXPECT_EQ(copy.text(), "ab");
  const char* before = s.text().data();
  EXPECT_TRUE(s.AppendText("e"));
  EXPECT_EQ(s.text().data(), before);
  Value empty = Value::String("");
  EXPECT_TRUE(empty.AppendText("x"));
  EXPECT_EQ(empty.text(), "x");
  Value n = Value::Integer(1);
  EXPECT_FALSE(n.AppendText("x"));
}

TEST(Variant, ConversionsBothWays) {
  Value disp = Value::Disp(new TestDispatch);
  struct Row { Variant in; const char* out; };
  const Row rows[] = {{std::monostate{}, "vtUndefined"}, {VariantNull{}, "vtNull"}, {int32_t{5}, "vtInteger"},
                      {2.5, "vtDouble"}, {std::string("s"), "vtString"}, {true, "vtBool"},
                      {VariantDate{1.5}, "vtUndefined"}, {VariantDispatch{disp}, "vtDispatch"}};
  for (const Row& r : rows) {
    Value v = VariantToValue(r.in, nullptr);
    EXPECT_STREQ(ValueTypeName(v.type()), r.out);
    if (v.type() != vtUndefined) {
      EXPECT_TRUE(ValueToVariant(v) == r.in) << r.out;
    }
  }
  EXPECT_TRUE(std::holds_alternative<std::monostate>(ValueToVariant(Value::NaN())));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(ValueToVariant(Value::Object(new TJObject(nullptr)))));
}

TEST(VarRec, ConversionsBothWays) {
  Value obj = Value::Object(new TJObject(nullptr));
  struct Row { VarRec rec; const char* out; };
  const Row to_value[] = {{int32_t{3}, "vtInteger:3"}, {true, "vtBool:true"}, {std::string("s"), "vtString:s"},
                          {1.5L, "vtDouble:1.5"}, {int64_t{1} << 40, "vtDouble:1099511627776"},
                          {obj.object(), "vtObject:[object Object]"}, {Variant{VariantNull{}}, "vtNull:null"},
                          {VarRecPointer{}, "vtUndefined:undefined"}};
  for (const Row& r : to_value) {
    Value v = VarRecToValue(r.rec);
    EXPECT_EQ(std::string(ValueTypeName(v.type())) + ":" + ValueToStdString(v), r.out);
  }
  EXPECT_EQ(std::get<int32_t>(ValueToVarRec(Value::Integer(4))), 4);
  EXPECT_EQ(std::get<long double>(ValueToVarRec(Value::Double(0.5))), 0.5L);
  EXPECT_EQ(std::get<std::string>(ValueToVarRec(Value::Infinity(true))), "-infinity");
  EXPECT_EQ(std::get<std::string>(ValueToVarRec(Value())), "undefined");
  EXPECT_TRUE(std::holds_alternative<VarRecPointer>(ValueToVarRec(Value::Event(new EventRep(nullptr, nullptr)))));
}

TEST(ScriptString, AppendInPlaceOnlyWhenUnshared) {
  StrRef a("abc");
  StrRef b = a;
  a.Append("def");
  EXPECT_EQ(a.view(), "abcdef");
  EXPECT_EQ(b.view(), "abc");
  const char* before = a.data();
  a.Append("g");  // unshared with spare room: same buffer
  EXPECT_EQ(a.data(), before);
  EXPECT_EQ(a.view(), "abcdefg");
}

TEST(ScriptString, AssignReusesOnlyAnUnsharedCell) {
  StrRef line;
  line.Assign("first line");
  const char* cell = line.data();
  EXPECT_EQ(line.CharCount(), 10u);
  line.Assign("表ソ");  // unshared: the same cell, its cached counts and hash forgotten
  EXPECT_EQ(line.data(), cell);
  EXPECT_EQ(line.view(), "表ソ");
  EXPECT_EQ(line.CharCount(), 4u);  // the UTF-8 bytes of the source read as CP932: four
  EXPECT_EQ(line.Hash(), StrRef("表ソ").Hash());
  StrRef kept = line;  // a script keeps the line: the next one takes a new cell
  line.Assign("next");
  EXPECT_NE(line.data(), cell);
  EXPECT_EQ(kept.view(), "表ソ");
  EXPECT_EQ(line.view(), "next");
  line.Assign(std::string(200, 'x'));  // longer than the cell: a new one
  EXPECT_EQ(line.size(), 200u);
  line.Assign("");
  EXPECT_EQ(line.view(), "");
}

}  // namespace
}  // namespace kestrin::script
