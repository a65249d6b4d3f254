// Declarations, packing and result conversion of native calls, without calling anything:
// option parsing and flags, 64-bit conversions, the letters' packed records, the result
// letters over raw register contents, and the text conversions of "w".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "script/core/errors.h"
#include "script/core/value_list.h"
#include "script/objects/native_call.h"

namespace kestrin::script {
namespace {

TEST(NativeCall, DeclarationOptionsAndFlags) {
  TDynaDeclare d;
  ParseDynaDeclare({"I=LS", "junk", "r=D", "f=c8", "i=ll"}, d);
  EXPECT_EQ(d.args, "ll");  // the later option of a kind wins, lower-cased
  EXPECT_EQ(d.result, "d");
  EXPECT_EQ(d.flags, "c8");
  ParseDynaDeclare({}, d);
  EXPECT_EQ(d.args + d.result + d.flags, "");
  struct Case {
    const char* text;
    int32_t flags;
  };
  for (Case c : {Case{"", 32}, Case{"c8", 16 + 512}, Case{"s", 32}, Case{"4", 256}, Case{"b", 1},
                 Case{"m", 0}, Case{"xyz", 0}, Case{"cs48b", 16 + 32 + 256 + 512 + 1}})
    EXPECT_EQ(ParseDynaFlags(c.text), c.flags) << c.text;
}

TEST(NativeCall, SixtyFourBitConversions) {
  struct Case {
    Value v;
    int64_t expected;
  };
  for (const Case& c : {Case{Value::Integer(-5), -5}, Case{Value::Double(2.5), 2}, Case{Value::Double(3.5), 4},
                        Case{Value::Double(140737488355328.0), 140737488355328LL},
                        Case{Value::Double(18446744073709551615.0 - 4095), static_cast<int64_t>(0xFFFFFFFFFFFFF000ULL)},
                        Case{Value::Double(1e30), 0}, Case{Value::NaN(), 0}, Case{Value::Infinity(false), 0},
                        Case{Value::String("0x1F"), 31}, Case{Value(), 0}})
    EXPECT_EQ(ValueToInt64(c.v), c.expected) << ValueToStdString(c.v);
  EXPECT_EQ(Int64ToValue(-7).type(), vtInteger);
  Value big = Int64ToValue(0x7f0000001000LL);
  EXPECT_EQ(big.type(), vtDouble);
  EXPECT_EQ(big.dbl(), 139637976731648.0);
  // Doubles reach 32-bit letters whole; other values go through the integer conversion.
  EXPECT_EQ(static_cast<uint32_t>(ValueToIntegerArgument(Value::Double(4294967295.0))), 0xFFFFFFFFu);
  EXPECT_EQ(ValueToIntegerArgument(Value::String("3.5")), 0);
}

TEST(NativeCall, PackingByLetters) {
  TJValueList params{Value::Integer(0x1FF), Value::Integer(0x18000), Value::Double(1.5), Value::String("abc"),
                     Value::Null(), Value::Integer(7)};
  TDynaValueArray values;
  PackDynaCallArgs("ctfs84w", &params, values);
  ASSERT_EQ(values.size(), 7u);
  EXPECT_EQ(values[0].slot.u8, 0xFF);
  EXPECT_EQ(values[1].slot.i16, -32768);
  EXPECT_EQ(values[2].slot.f, 1.5f);
  EXPECT_STREQ(static_cast<const char*>(values[3].pointer), "abc");
  EXPECT_EQ(values[4].pointer, nullptr);  // null for a cell passes NULL
  ASSERT_EQ(values[5].pointer, &values[5].slot);
  EXPECT_EQ(values[5].slot.i32, 7);
  EXPECT_EQ(values[6].pointer, nullptr);  // a missing argument counts as undefined
  // "ls" with one argument: the second passes NULL.
  TJValueList one{Value::Integer(1)};
  PackDynaCallArgs("ls", &one, values);
  EXPECT_EQ(values[1].pointer, nullptr);
  // An unknown letter raises before anything is packed.
  try {
    PackDynaCallArgs("lx", &one, values);
    FAIL() << "no error";
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "EDynaCallError");
    EXPECT_EQ(e.Message(), "arguments flag error");
  }
}

TEST(NativeCall, ResultLettersOverRawRegisters) {
  DynaRawResult raw{};
  raw.i64 = 0x7FFFFFFF12345678LL;
  EXPECT_EQ(DynaCallResultToValue('c', raw).integer(), 0x12345678);  // all 32 bits, not narrowed
  EXPECT_EQ(DynaCallResultToValue('t', raw).integer(), 0x12345678);
  EXPECT_TRUE(DynaCallResultToValue('b', raw).boolean());
  EXPECT_EQ(DynaCallResultToValue('p', raw).dbl(), static_cast<double>(0x7FFFFFFF12345678LL));
  EXPECT_EQ(DynaCallResultToValue('x', raw).type(), vtUndefined);
  EXPECT_EQ(DynaCallResultToValue(0, raw).type(), vtUndefined);
  raw.i64 = 0;
  EXPECT_FALSE(DynaCallResultToValue('b', raw).boolean());
  EXPECT_EQ(DynaCallResultToValue('a', raw).type(), vtUndefined);
  // NULL text results are empty strings.
  raw.p = nullptr;
  EXPECT_EQ(ValueToStdString(DynaCallResultToValue('s', raw)), "");
  EXPECT_EQ(ValueToStdString(DynaCallResultToValue('w', raw)), "");
  raw.p = "text";
  EXPECT_EQ(ValueToStdString(DynaCallResultToValue('s', raw)), "text");
  raw.d = 0.25;
  EXPECT_EQ(DynaCallResultToValue('d', raw).dbl(), 0.25);
  raw.i64 = 0;
  raw.f = 1.5f;
  EXPECT_EQ(DynaCallResultToValue('f', raw).dbl(), 1.5);
}

TEST(NativeCall, CellsReadBackWithTheirSigns) {
  uint64_t cell = 0xFFFFFFFFFFFFFFFFULL;
  EXPECT_EQ(DynaCellToValue('1', &cell).integer(), 255);
  EXPECT_EQ(DynaCellToValue('2', &cell).integer(), -1);
  EXPECT_EQ(DynaCellToValue('4', &cell).integer(), -1);
  EXPECT_EQ(DynaCellToValue('8', &cell).dbl(), -1.0);
  EXPECT_EQ(DynaCellToValue('l', &cell).type(), vtUndefined);
}

TEST(NativeCall, WideTextRoundTripsThroughCp932) {
  const std::string kana = "\x83\x4A\x83\x69";  // katakana KA NA in CP932
  std::wstring wide = Cp932ToWide(kana + "-x");
  EXPECT_EQ(wide, std::wstring(L"\x30AB\x30CA-x"));
  EXPECT_EQ(WideToCp932(wide.c_str()), kana + "-x");
  EXPECT_EQ(WideToCp932(nullptr), "");
}

}  // namespace
}  // namespace kestrin::script
