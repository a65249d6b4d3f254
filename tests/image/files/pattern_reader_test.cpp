// Reading pattern files back: round trips through the writer, the form classification,
// the header checks and damaged files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/convert.h"
#include "image/files/pattern_reader.h"
#include "image/files/pattern_writer.h"
#include "support/pattern_fixture.h"

namespace kestrin {
namespace {

using test::crlf;
using PatternOutcome = PatternReadResult::Outcome;

PatternReadResult read_as(const std::string& name, const std::string& text) {
  return read_pattern_text(pattern_file_kind(name), name, text, "previous title");
}

struct Written {
  NaxPattern pattern;
  IntegrationParams axis;
  PeakList peaks;
  std::string text;
};

Written write_form(const char* ext, PatternKind kind, int n, const PeakList& peaks) {
  Written w{test::small_pattern(n, kind, "a title"), test::angle_axis(10.0, 0.02, n), peaks, {}};
  const SectorPatterns sectors;
  w.text = pattern_file_text(choose_pattern_form(w.pattern, ext), {w.pattern, sectors, w.peaks, w.axis, "a.img"});
  return w;
}

void expect_same_peaks(const PeakList& got, const PeakList& want, const std::string& where) {
  ASSERT_EQ(got.count, want.count) << where;
  for (size_t k = 0; k < size_t(want.count); ++k) {
    EXPECT_NEAR(got.x[k], want.x[k], 5e-5) << where << " peak " << k;
    EXPECT_NEAR(got.two_theta[k], want.two_theta[k], 5e-6) << where << " peak " << k;
    EXPECT_NEAR(got.d[k], want.d[k], 5e-7) << where << " peak " << k;
    EXPECT_NEAR(got.intensity[k], want.intensity[k], 5e-3) << where << " peak " << k;
  }
}

TEST(PatternReaderRoundTrip, EveryReadableFormGivesBackPointsAxisAndPeaks) {
  struct Case {
    const char* ext;
    PatternKind kind;
    bool keeps_peaks;
  };
  const Case cases[] = {{".xy", kPixelHistogram, true},  {".pil", kPixelHistogram, true},
                        {".csv", kPixelHistogram, true}, {".t", kPixelHistogram, false},
                        {".rie", kAngleHistogram, true}, {".wpp", kAngleHistogram, true},
                        {".raw", kAngleHistogram, true}, {".csv", kAngleHistogram, true}};
  for (const Case& c : cases) {
    const Written w = write_form(c.ext, c.kind, 25, test::three_peaks());
    const PatternReadResult r = read_as(std::string("/d/a") + c.ext, w.text);
    const std::string where = std::string(c.ext) + " kind " + std::to_string(c.kind);
    ASSERT_EQ(r.outcome, PatternOutcome::kRead) << where << ' ' << r.error;
    EXPECT_EQ(r.kind, c.kind) << where;
    EXPECT_EQ(r.values, std::vector<int32_t>(w.pattern.values.begin(), w.pattern.values.begin() + 25)) << where;
    EXPECT_EQ(r.maximum, 2407) << where;
    if (c.kind == kAngleHistogram) {
      ASSERT_TRUE(r.begin && r.step && r.end) << where;
      EXPECT_NEAR(*r.begin, 10.0, 1e-9) << where;
      EXPECT_NEAR(*r.step, 0.02, 1e-9) << where;
      EXPECT_NEAR(*r.end, 10.48, 1e-9) << where;
    }
    if (std::string(c.ext) != ".wpp") {  // WPP keeps its title first and never shows it later
      ASSERT_TRUE(r.title) << where;
    }
    expect_same_peaks(r.peaks, c.keeps_peaks ? w.peaks : PeakList{}, where);
  }
}

TEST(PatternReaderRoundTrip, HundredFiftyPeaksComeBackIntact) {
  for (const char* ext : {".xy", ".rie", ".raw"}) {
    const PatternKind kind = std::string(ext) == ".xy" ? kPixelHistogram : kAngleHistogram;
    const Written w = write_form(ext, kind, 20, test::many_peaks(150));
    const PatternReadResult r = read_as(std::string("/d/a") + ext, w.text);
    ASSERT_EQ(r.outcome, PatternOutcome::kRead) << ext << ' ' << r.error;
    expect_same_peaks(r.peaks, w.peaks, ext);
  }
}

TEST(PatternReaderPeakLine, BlankFieldsOrColumns) {
  // Ten blank-separated fields: taken by position, even when a wide number shifts them.
  const auto wide = parse_peak_line("        100        331.7500 0.0000  17.37500 13.812500    2732.50     0.00   5.00  0.000   13662.50");
  EXPECT_DOUBLE_EQ(wide.x, 331.75);
  EXPECT_DOUBLE_EQ(wide.two_theta, 17.375);
  EXPECT_DOUBLE_EQ(wide.d, 13.8125);
  EXPECT_DOUBLE_EQ(wide.intensity, 2732.5);
  // A d of 100 or more runs into the 2theta before it: only the columns separate them.
  PeakList peaks = test::three_peaks();
  peaks.d[0] = 123.456789;
  const std::string line = peak_block_text(peaks).substr(6, 98);
  ASSERT_NE(line.find("10.02000123.456789"), std::string::npos) << line;
  const auto packed = parse_peak_line(line);
  EXPECT_DOUBLE_EQ(packed.x, 12.5);
  EXPECT_DOUBLE_EQ(packed.two_theta, 10.02);
  EXPECT_DOUBLE_EQ(packed.d, 123.456789);
  EXPECT_DOUBLE_EQ(packed.intensity, 107.0);
  EXPECT_THROW(parse_peak_line("         1        abc"), ConversionError);
  EXPECT_THROW(parse_peak_line(""), ConversionError);
}

TEST(PatternReaderKind, ExtensionDecidesWithCase) {
  struct Case {
    const char* name;
    PatternFileKind kind;
  };
  const Case cases[] = {{"/a/b.t", PatternFileKind::kNax},     {"/a/b.xy", PatternFileKind::kXy},
                        {"/a/DATA.XY", PatternFileKind::kNax}, {"/a/b.rie", PatternFileKind::kRietan},
                        {"/a/b.wpp", PatternFileKind::kWpp},   {"/a/b.raw", PatternFileKind::kRaw},
                        {"/a/b.RAW", PatternFileKind::kNax},   {"/a/b.pil", PatternFileKind::kPil},
                        {"/a/b.csv", PatternFileKind::kCsv},   {"/a/b.sec", PatternFileKind::kNax},
                        {"/a/b", PatternFileKind::kNax}};
  for (const Case& c : cases) EXPECT_EQ(pattern_file_kind(c.name), c.kind) << c.name;
}

TEST(PatternReaderKind, UpperCaseXyIsReadAsNaxAndFailsToConvert) {
  const PatternReadResult r = read_as("/a/DATA.XY", crlf({"0,123", "1,124"}));
  EXPECT_EQ(r.outcome, PatternOutcome::kFailed);
  EXPECT_EQ(r.error, "'0,123' is not a valid integer value");
}

TEST(PatternReaderKind, CsvFirstLineDecidesAngleOrIndexList) {
  struct Case {
    const char* first;
    PatternKind kind;
  };
  const Case cases[] = {{"10.000000,123", kAngleHistogram}, {"0,123", kPixelHistogram}, {"0,12.5", kPixelHistogram}};
  for (const Case& c : cases) {
    const PatternReadResult r = read_as("/a/b.csv", crlf({c.first, "10.020000,5", "title"}));
    EXPECT_EQ(r.kind, c.kind) << c.first;
  }
  // "0,12.5" is an index list whose first value does not convert: nothing read.
  EXPECT_TRUE(read_as("/a/b.csv", crlf({"0,12.5", "1,3"})).values.empty());
}

TEST(PatternReaderHeader, WppAxisGivesPointCount) {
  std::string text = crlf({"title", "  0  6 1.54060 0.00000 0.00000  10.000  30.000   0.020   1.00"});
  for (int line = 0; line < 101; ++line) text += "      1      1      1      1      1      1      1      1      1      1\r\n";
  const PatternReadResult r = read_as("/a/b.wpp", text);
  ASSERT_EQ(r.outcome, PatternOutcome::kRead);
  EXPECT_EQ(r.values.size(), 1001u);
  EXPECT_DOUBLE_EQ(*r.wavelength, 1.5406);
}

std::string rietan_text(int n, double step) {
  std::string text = Format("%6d %8.4f %8.4f", {n, 10.0, step}) + "\r\n";
  for (int i = 0; i < n; ++i) text += Format("%8d", {i}) + ((i % 10 == 9 || i == n - 1) ? "\r\n" : "");
  return text + "title\r\n\r\n";
}

TEST(PatternReaderHeader, RietanChecksPointCountAndStep) {
  struct Case {
    int n;
    double step;
    PatternOutcome outcome;
  };
  const Case cases[] = {{11, 0.02, PatternOutcome::kRead}, {10, 0.02, PatternOutcome::kRefused}, {11, 5.0, PatternOutcome::kRefused},
                        {40, 4.9, PatternOutcome::kRefused} /* end beyond 180 */, {11, 0.00001, PatternOutcome::kRefused}};
  for (const Case& c : cases) {
    const PatternReadResult r = read_as("/a/b.rie", rietan_text(c.n, c.step));
    EXPECT_EQ(r.outcome, c.outcome) << c.n << ' ' << c.step;
    if (c.outcome == PatternOutcome::kRefused) {
      EXPECT_EQ(r.log.back(), " load_nax_proc() : /a/b.rie format error.");
      EXPECT_TRUE(r.values.empty());
    }
  }
  // Values read before the refusing check are handed on.
  const PatternReadResult refused = read_as("/a/b.rie", rietan_text(11, 5.0));
  EXPECT_DOUBLE_EQ(*refused.begin, 10.0);
  EXPECT_DOUBLE_EQ(*refused.step, 5.0);
}

TEST(PatternReaderLists, XyKeepsFirst36001PointsAndTakesNextLineAsTitle) {
  std::string text;
  for (int i = 0; i < 36002; ++i) text += std::to_string(i) + "," + std::to_string(i % 1000) + "\r\n";
  const PatternReadResult r = read_as("/a/b.xy", text);
  ASSERT_EQ(r.values.size(), 36001u);
  EXPECT_EQ(*r.title, "36001,1");
}

TEST(PatternReaderLists, RawKeepsAt36000Points) {
  std::string text;
  for (int i = 0; i < 36001; ++i) text += Format("%3.6f,%d", {1.0 + i * 0.001, i % 7}) + "\r\n";
  const PatternReadResult r = read_as("/a/b.raw", text);
  EXPECT_EQ(r.values.size(), 36000u);
  EXPECT_EQ(r.log[0], "  previous title");  // no title line: the previous one stays
  EXPECT_EQ(r.log[3], " 2theta stept     =  0.00100");
}

TEST(PatternReaderLists, TitleWithCommaAndTextPrefixEndsTheDataWithoutPeaks) {
  const PatternReadResult r = read_as("/a/b.xy", crlf({"0,5", "1,6", "run 7, sample B", "   3", "bad"}));
  ASSERT_EQ(r.outcome, PatternOutcome::kRead);
  EXPECT_EQ(r.values, (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(r.peaks.count, 0);
}

// Damaged files: each one ends with its message or error, never a crash.
struct BadCase {
  const char* name;
  std::string text;
  PatternOutcome outcome;
  const char* message;  // error text (failed) or last log line (refused); empty: not checked
};

std::vector<BadCase> bad_cases() {
  const std::string xy = crlf({"0,5", "1,6", "title"});
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += char((i * 131 + 7) % 256);
  return {
      {"/a/b.xy", xy + crlf({"100000"}), PatternOutcome::kFailed, "'1000' is not a valid peak count (0 to 500)"},
      {"/a/b.xy", xy + crlf({"  -5"}), PatternOutcome::kFailed, "'-5' is not a valid peak count (0 to 500)"},
      {"/a/b.xy", xy + crlf({"   2", "         1         12.5000 0.0000  10.02000  5.123456     107.00     0.00   5.00  0.000     535.00"}),
       PatternOutcome::kFailed, "'' is not a valid floating point value"},
      {"/a/b.xy", xy + crlf({"  x1"}), PatternOutcome::kFailed, "'  x1' is not a valid integer value"},
      {"/a/b.t", crlf({"   17", "    1    2"}), PatternOutcome::kFailed, "'' is not a valid integer value"},
      {"/a/b.t", crlf({"    5"}), PatternOutcome::kRefused, " load_nax_proc() : format error./a/b.t"},
      {"/a/b.t", "", PatternOutcome::kFailed, "'' is not a valid integer value"},
      {"/a/b.raw", crlf({"10.0,1"}), PatternOutcome::kFailed, "'' is not a valid floating point value"},
      {"/a/b.raw", crlf({"10.0,1", "10.0,2"}), PatternOutcome::kRefused, " load_nax_proc() : format error. /a/b.raw"},
      {"/a/b.wpp", crlf({"title", "  0  6 1.5 junk"}), PatternOutcome::kRefused, " load_nax_proc() : /a/b.wpp format error."},
      {"/a/b.xy", std::string(10 * 1024 * 1024, '7'), PatternOutcome::kRead, ""},
      {"/a/b.xy", "0," + std::string(10 * 1024 * 1024, '7'), PatternOutcome::kRead, ""},
      {"/a/b.xy", binary, PatternOutcome::kFailed, ""},  // its stray lines fail as a peak block
      {"/a/b.rie", binary, PatternOutcome::kRefused, ""},
      {"/a/b.t", binary, PatternOutcome::kFailed, ""},
  };
}

TEST(PatternReaderDamaged, EveryDamagedFileEndsWithItsMessage) {
  for (const BadCase& c : bad_cases()) {
    const PatternReadResult r = read_as(c.name, c.text);
    const std::string where = std::string(c.name) + " " + c.text.substr(0, 40);
    EXPECT_EQ(r.outcome, c.outcome) << where;
    if (c.outcome != PatternOutcome::kRead) {
      EXPECT_TRUE(r.values.empty()) << where;
      EXPECT_EQ(r.peaks.count, 0) << where;
    }
    if (*c.message == 0) continue;
    const std::string message = c.outcome == PatternOutcome::kFailed ? r.error : r.log.empty() ? "" : r.log.back();
    EXPECT_EQ(message, c.message) << where;
  }
}

TEST(PatternReaderDamaged, TruncatedFixedFormKeepsPointsReadWithoutPeaks) {
  std::string text = rietan_text(25, 0.02);
  text = text.substr(0, text.find("\r\n", 30) + 2);  // header and the first ten points
  const PatternReadResult r = read_as("/a/b.rie", text);
  ASSERT_EQ(r.outcome, PatternOutcome::kRead);
  ASSERT_EQ(r.values.size(), 25u);
  EXPECT_EQ(r.values[9], 9);
  EXPECT_EQ(r.values[10], 0);
  EXPECT_EQ(r.peaks.count, 0);
  EXPECT_FALSE(r.title.has_value());
}

// Truncations and byte changes of good files of every form: each read ends in one of the
// three outcomes with the pattern and peak table inside their bounds.
TEST(PatternReaderDamaged, MutatedFilesStayInBounds) {
  const char* exts[] = {".t", ".xy", ".pil", ".rie", ".wpp", ".raw", ".csv"};
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const char* ext : exts) {
    const PatternKind kind = std::string(".t.xy.pil").find(ext) != std::string::npos ? kPixelHistogram : kAngleHistogram;
    const std::string good = write_form(ext, kind, 40, test::many_peaks(12)).text;
    for (int round = 0; round < 200; ++round) {
      std::string text = good;
      if (round % 4 == 0) text.resize(next() % text.size());
      for (int k = 0; k < 1 + int(next() % 4) && !text.empty(); ++k) text[next() % text.size()] = char(next() % 256);
      const PatternReadResult r = read_as(std::string("/m/a") + ext, text);
      EXPECT_LE(r.values.size(), size_t(kPatternSize)) << ext;
      EXPECT_GE(r.peaks.count, 0) << ext;
      EXPECT_LE(r.peaks.count, kMaxPeaks) << ext;
      EXPECT_EQ(r.error.empty(), r.outcome != PatternReadResult::Outcome::kFailed) << ext;
    }
  }
}

}  // namespace
}  // namespace kestrin
