// Format and FloatToStr: the platform's layouts, rounding of decimal ties, and independence
// from the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "base/convert.h"

namespace kestrin {
namespace {

struct FormatCase {
  const char* fmt;
  FormatArg arg;
  const char* expected;
};

TEST(Format, OneArgumentLayouts) {
  const FormatCase cases[] = {
      {"%d", 42, "42"},
      {"%d", -7, "-7"},
      {"%5d", 42, "   42"},
      {"%-5d|", 42, "42   |"},
      {"%.3d", -5, "-005"},
      {"%5.3d", 7, "  007"},
      {"%4.d", 7, "   7"},
      {"%1d", 12345, "12345"},
      {"%d", 9000000000LL, "9000000000"},
      {"%u", -1, "4294967295"},
      {"%x", 255, "FF"},
      {"%.4x", 255, "00FF"},
      {"%x", -1, "FFFFFFFF"},
      {"%X", 48879, "BEEF"},
      {"%f", 3.14159, "3.14"},
      {"%f", 2.0, "2.00"},
      {"%8.4f", 3.14159265, "  3.1416"},
      {"%3.6f", 1.5, "1.500000"},
      {"%.0f", 2.5, "3"},
      {"%.0f", -0.5, "-1"},
      {"%.2f", 0.125, "0.13"},
      {"%.2f", -0.125, "-0.13"},
      {"%.2f", 2.675, "2.67"},
      {"%.1f", 0.05, "0.1"},  // 0.05 is really 0.05000000000000000277
      {"%.1f", 0.25, "0.3"},
      {"%.3f", 1.0005, "1.000"},  // really 1.000499999999999989...
      {"%.2f", 9.995, "9.99"},    // really 9.99499999999999921...
      {"%.2f", 9.999, "10.00"},
      {"%.2f", 0.001, "0.00"},
      {"%.2f", -0.001, "0.00"},
      {"%.2f", 1e20, "100000000000000000000.00"},
      {"%.3f", 1e-300, "0.000"},
      {"%f", 0.0, "0.00"},
      {"%e", 12.5, "1.25000000000000E+001"},
      {"%e", 10.02, "1.00200000000000E+001"},
      {"%e", -12.5, "-1.25000000000000E+001"},
      {"%e", 0.0, "0.00000000000000E+000"},
      {"%e", 1e-300, "1.00000000000000E-300"},
      {"%e", 0.001, "1.00000000000000E-003"},
      {"%e", 9.9999999999999999e22, "1.00000000000000E+023"},
      {"%e", 1.7976931348623157e308, "1.79769313486232E+308"},
      {"%e", 4.9406564584124654e-324, "4.94065645841247E-324"},
      {"%.3e", 12.5, "1.25E+001"},
      {"%.2e", 0.125, "1.3E-001"},
      {"%12.3e", 12.5, "   1.25E+001"},
      {"%g", 0.1, "0.1"},
      {"%g", 1e20, "1E20"},
      {"%.3g", 1234.5, "1.23E3"},
      {"%n", 1234567.891, "1,234,567.89"},
      {"%.0n", -1234.0, "-1,234"},
      {"%n", 123.0, "123.00"},
      {"%f", std::nan(""), "NAN"},
      {"%e", std::numeric_limits<double>::infinity(), "INF"},
      {"%5f", -std::numeric_limits<double>::infinity(), " -INF"},
      {"%s", "abc", "abc"},
      {"%5s", "abc", "  abc"},
      {"%-5s|", "abc", "abc  |"},
      {"%2s", "abcdef", "abcdef"},
      {"%.2s", "abcdef", "ab"},
      {"%s", std::string("ソ"), "ソ"},
  };
  for (const FormatCase& c : cases) EXPECT_EQ(Format(c.fmt, {c.arg}), c.expected) << c.fmt;
}

TEST(Format, SeveralArgumentsStarsIndexesAndPercent) {
  EXPECT_EQ(Format("EGC0,%e", {12.5}), "EGC0,1.25000000000000E+001");
  EXPECT_EQ(Format("%d %s %5.2f%%", {3, "x", 2.5}), "3 x  2.50%");
  EXPECT_EQ(Format("%*d|%-*d|", {4, 7, 3, 8}), "   7|8  |");
  EXPECT_EQ(Format("%.*f", {3, 1.0}), "1.000");
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b", "c"}), "b a b");
  EXPECT_EQ(Format("no directives", {}), "no directives");
  EXPECT_EQ(Format("%D", {5}), "5");
}

TEST(Format, CurrencyPointerAndRunTimeLists) {
  // Currency in the Japanese defaults: the yen sign is byte 0x5C in CP932.
  EXPECT_EQ(Format("%m", {1234.5}), "\\1,235");
  EXPECT_EQ(Format("%.2m", {-1234.5}), "-\\1,234.50");
  EXPECT_EQ(Format("%m", {-0.4}), "\\0");
  EXPECT_EQ(Format("%8m|", {12.0}), "     \\12|");
  EXPECT_EQ(Format("%p", {255}), "000000FF");
  EXPECT_EQ(Format("%p", {-1}), "FFFFFFFF");
  EXPECT_THROW(Format("%m", {5}), ConversionError);
  EXPECT_THROW(Format("%p", {1.5}), ConversionError);
  const std::vector<FormatArg> args{FormatArg(3), FormatArg("x"), FormatArg(2.5)};
  EXPECT_EQ(Format("%d|%s|%.1f", args), "3|x|2.5");
  EXPECT_THROW(Format("%d|%s|%.1f|%d", args), ConversionError);
}

TEST(FormatFloat, Pictures) {
  const struct {
    const char* picture;
    double v;
    const char* expected;
  } cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"0.00", 0.125, "0.13"},  // ties away from zero
      {"0.00", -0.125, "-0.13"},
      {"0", 2.5, "3"},
      {"#.##", 0.5, ".5"},
      {"0.##", 1.0, "1"},
      {"0.##", 1.25, "1.25"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0", 999.0, "999"},
      {"#,##0", -1234.0, "-1,234"},
      {"#,###", 0.0, ""},
      {"000", 7.0, "007"},
      {"#0#", 5.0, "05"},
      {"0.0", 123456.78, "123456.8"},
      {"\"x\"0\"y\"", 5.0, "x5y"},
      {"'<'0'>'", -5.0, "<-5>"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.00e-0", 0.00012345, "1.23e-4"},
      {"00.0E+0", 1234.5, "12.3E+2"},
      {"#.##E+0", 1000.0, "1E+3"},
      {"0.0E+00", 0.0, "0.0E+00"},
      {"0.00;(0.00)", -3.14159, "(3.14)"},
      {"0.00;(0.00);zero", 0.0, "zero"},
      {"0.00;(0.00);zero", -0.001, "zero"},  // rounds to zero
      {"0.00;;zero", -1.5, "-1.50"},        // empty negative section: the first one
      {"0.0", -0.01, "0.0"},                // no sign on a value shown as zero
      {"", 0.1, "0.1"},
      {"0.00000000000000000000", 0.1, "0.10000000000000000600"},  // 18 digits, then zeros
      {"0", 1e20, "1E20"},                  // beyond 18 integer digits: general format
      {"0.0", 1.0 / 0.0, "INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.picture, c.v), c.expected) << c.picture << " " << c.v;
}

TEST(FormatFloat, LongPicturesAreLaidOutOrRefused) {
  EXPECT_EQ(FormatFloat(std::string(300, '0'), 1.0), std::string(299, '0') + "1");
  EXPECT_EQ(FormatFloat("0." + std::string(400, '0'), 1e-300).substr(0, 6), "0.0000");
  EXPECT_THROW(FormatFloat(std::string(5000, '#'), 1.0), ConversionError);
}

TEST(Format, RefusesMismatchedOrMissingArguments) {
  const struct {
    const char* fmt;
    FormatArg arg;
    const char* message;
  } cases[] = {
      {"%d", 1.5, "Format '%d' invalid or incompatible with argument"},
      {"x=%f", 1, "Format 'x=%f' invalid or incompatible with argument"},
      {"%s", 1, "Format '%s' invalid or incompatible with argument"},
      {"%x", "a", "Format '%x' invalid or incompatible with argument"},
      {"%q", 1, "Format '%q' invalid or incompatible with argument"},
      {"%5", 1, "Format '%5' invalid or incompatible with argument"},
      {"%d %d", 1, "No argument for format '%d %d'"},
      {"%99999999d", 1, "Format '%99999999d' invalid or incompatible with argument"},
  };
  for (const auto& c : cases) {
    try {
      Format(c.fmt, {c.arg});
      ADD_FAILURE() << c.fmt << " did not throw";
    } catch (const ConversionError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(FloatToStr, FifteenDigitGeneralFormat) {
  const struct {
    double v;
    const char* expected;
  } cases[] = {
      {0.0, "0"},
      {100.0, "100"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {0.000123, "0.000123"},
      {1.5e-7, "1.5E-7"},
      {1.25e-10, "1.25E-10"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {-1.5e300, "-1.5E300"},
      {123456789012345678.0, "1.23456789012346E17"},
      {999999999999999.9, "1E15"},  // rounds up into the next decade
      {12.5, "12.5"},
      {std::nan(""), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.v), c.expected) << c.expected;
}

// Restores the process locale when the test ends.
class GermanLocale : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
      const char* ci = std::getenv("CI");
      if (ci && std::string(ci) == "true") FAIL() << "locale de_DE.UTF-8 is not installed";
      GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    }
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
  std::string saved_;
};

TEST_F(GermanLocale, ConversionsKeepThePoint) {
  EXPECT_EQ(Format("%8.4f|%e|%n", {3.14159265, 12.5, 1234.5}), "  3.1416|1.25000000000000E+001|1,234.50");
  EXPECT_EQ(FloatToStr(2.5), "2.5");
  EXPECT_DOUBLE_EQ(StrToFloat("2.5"), 2.5);
  EXPECT_FALSE(TryStrToFloat("2,5"));
}

}  // namespace
}  // namespace kestrin
