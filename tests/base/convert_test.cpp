// StrToFloat/StrToInt acceptance and refusal, and the guarded rounding helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/convert.h"

namespace kestrin {
namespace {

TEST(StrToFloat, AcceptsDecimalRealsWithBlanks) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"0", 0.0},
      {"12.5", 12.5},
      {"  -12.5\t", -12.5},
      {"+3", 3.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"1e3", 1000.0},
      {"1.25E-001", 0.125},
      {"1.25000000000000E+001", 12.5},
      {"0.1", 0.1},
      {"2.675", 2.675},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
      {"1e-400", 0.0},
      {"000000000000000000000000000000000001", 1.0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToFloat(c.text), c.expected) << c.text;
  EXPECT_TRUE(std::signbit(StrToFloat("-1e-400")));
}

TEST(StrToFloat, RefusesOtherTextsWithTheOriginalText) {
  for (const char* text : {"", "  ", "abc", "12abc", "1,5", "1.2.3", "inf", "-INF", "nan", "infinity", "0x1p3",
                           "1e", "1e+", "e5", ".", "-", "+-1", "1 2", "1e400", "-1e400", "$10", "1_000"}) {
    EXPECT_FALSE(TryStrToFloat(text)) << text;
    try {
      StrToFloat(text);
      ADD_FAILURE() << "'" << text << "' was accepted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

TEST(IsNumeric, WholeTextIsARealWithLeadingSpacesOnly) {
  const struct {
    const char* text;
    bool numeric;
  } cases[] = {
      {"1e3", true},   {"12a", false}, {"  1", true},  {"1 ", false}, {"\t1", false}, {".5", true},
      {"5.", true},    {"+1", true},   {"-2.5E-3", true}, {"1e", false}, {"", false},  {" ", false},
      {"1,5", false},  {"inf", false}, {"nan", false}, {"$10", false}, {".", false},  {"1e400", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_numeric(c.text), c.numeric) << '"' << c.text << '"';
}

TEST(StrToInt, AcceptsDecimalAndHexForms) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"0", 0},
      {" 42 ", 42},
      {"-17", -17},
      {"+5", 5},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.expected) << c.text;
}

TEST(StrToInt, RefusesOtherTextsWithTheOriginalText) {
  for (const char* text : {"", " ", "abc", "12abc", "1.0", "1e3", "2147483648", "-2147483649",
                           "99999999999999999999", "$", "0x", "$100000000", "$G", "- 1", "1 2"}) {
    EXPECT_FALSE(TryStrToInt(text)) << text;
    try {
      StrToInt(text);
      ADD_FAILURE() << "'" << text << "' was accepted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(Rounding, RoundHalvesToEvenTruncTowardZeroTruncHalfUp) {
  const struct {
    double v;
    int32_t round, trunc, half_up;
  } cases[] = {
      {2.5, 2, 2, 3},   {3.5, 4, 3, 4},   {-2.5, -2, -2, -2}, {0.5, 0, 0, 1},
      {1.5, 2, 1, 2},   {-0.7, -1, 0, 0}, {-1.5, -2, -1, -1}, {2.4999, 2, 2, 2},
      {2147483647.0, 2147483647, 2147483647, 2147483647},
      {-2147483648.0, INT32_MIN, INT32_MIN, -2147483647},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.v), c.round) << c.v;
    EXPECT_EQ(Trunc(c.v), c.trunc) << c.v;
    EXPECT_EQ(TruncHalfUp(c.v), c.half_up) << c.v;
  }
}

TEST(Rounding, GuardsNanAndOutOfRange) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {std::nan(""), inf, -inf, 2147483648.0, -2147483649.0, 1e300}) {
    EXPECT_THROW(Round(v), ConversionError) << v;
    EXPECT_THROW(Trunc(v), ConversionError) << v;
    if (std::fabs(v) > 1e10 || std::isnan(v)) {
      EXPECT_THROW(TruncHalfUp(v), ConversionError) << v;
    }
    EXPECT_FALSE(checked_int32(v)) << v;
  }
  try {
    Round(std::nan(""));
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  EXPECT_EQ(TruncHalfUp(-2147483649.0), INT32_MIN);  // -2147483648.5 truncates into range
  EXPECT_EQ(Round(-2147483648.4), INT32_MIN);
  EXPECT_EQ(Trunc(2147483647.9), 2147483647);
  EXPECT_EQ(checked_int32(-3.9), -3);
  EXPECT_EQ(checked_int32(2147483647.5), 2147483647);
}

TEST(Rounding, SaturateClampsAndMapsNanToZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double v;
    int32_t expected;
  } cases[] = {{std::nan(""), 0}, {inf, INT32_MAX},  {-inf, INT32_MIN}, {1e10, INT32_MAX},
               {-1e10, INT32_MIN}, {-3.9, -3},       {3.9, 3},          {2147483647.5, INT32_MAX}};
  for (const auto& c : cases) EXPECT_EQ(saturate_int32(c.v), c.expected) << c.v;
}

}  // namespace
}  // namespace kestrin
