// Golden texts of the pattern file forms, written from small patterns with 0 and 3 peaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_file.h"
#include "image/files/pattern_writer.h"
#include "support/pattern_fixture.h"

namespace kestrin {
namespace {

using test::small_pattern;
using test::crlf;

const std::string kNoPeaks = "\r\n";
const std::string kThreePeaks = crlf({
    "   3",
    "         1         12.5000 0.0000  10.02000  5.123456     107.00     0.00   5.00  0.000     535.00",
    "         2        100.1250 0.0000  11.50000  4.500000    2000.50     0.00   5.00  0.000   10002.50",
    "         3       1234.5678 0.0000  45.25000  1.234567   99999.50     0.00   5.00  0.000  499997.50",
    "0",
});

struct GoldenCase {
  const char* ext;
  PatternKind kind;
  int n;
  std::vector<std::string> body;  // the lines before the peak block
};

const GoldenCase kGolden[] = {
    {".t", kPixelHistogram, 17,
     {"   17", "    7  107  207  307  407  507  607  707  807  907 1007 1107 1207 1307 1407 1507", " 1607", "title",
      "", "", "", "", "", ""}},
    {".xy", kPixelHistogram, 3, {"0,7", "1,107", "2,207", "title"}},
    {".PIL", kPixelHistogram, 3, {"0,7", "1,107", "2,207", "title"}},
    {".csv", kPixelHistogram, 3, {"0,7", "1,107", "2,207", "title"}},
    {".rie", kAngleHistogram, 3, {"     3  10.0000   0.0200", "       7     107     207", "title"}},
    {".wpp", kAngleHistogram, 3,
     {"title", "  0  6 1.54060 0.00000 0.00000  10.000  10.040   0.020   1.00", "      7    107    207"}},
    {".raw", kAngleHistogram, 3, {"10.000000,7", "10.020000,107", "10.040000,207", "title"}},
    {".Csv", kAngleHistogram, 3, {"10.000000,7", "10.020000,107", "10.040000,207", "title"}},
    {".rie", kAngleHistogram, 12,
     {"    12  10.0000   0.0200", "       7     107     207     307     407     507     607     707     807     907",
      "    1007    1107", "title"}},
};

TEST(PatternWriterGolden, EveryFormWithNoneAndThreePeaks) {
  const IntegrationParams axis = test::angle_axis(10.0, 0.02, 3);
  const SectorPatterns no_sectors;
  for (const GoldenCase& c : kGolden) {
    const NaxPattern pattern = small_pattern(c.n, c.kind, "title");
    const PatternForm form = choose_pattern_form(pattern, c.ext);
    ASSERT_NE(form, PatternForm::kNone) << c.ext;
    for (bool with_peaks : {false, true}) {
      const PeakList peaks = with_peaks ? test::three_peaks() : PeakList{};
      const PatternSource source{pattern, no_sectors, peaks, axis, "/data/a.img"};
      EXPECT_EQ(pattern_file_text(form, source), crlf(c.body) + (with_peaks ? kThreePeaks : kNoPeaks))
          << c.ext << " n=" << c.n << " peaks=" << with_peaks;
    }
  }
}

TEST(PatternWriterGolden, SectorFormsWriteEverySectorPerRow) {
  const SectorPatterns sectors = test::two_sectors();
  const IntegrationParams axis = test::angle_axis(10.0, 0.02, 3);
  const PeakList peaks = test::three_peaks();
  struct Case {
    PatternKind kind;
    std::vector<std::string> body;
  };
  const Case cases[] = {
      {kSector16Pixel, {"0,1,10", "1,2,20", "2,3,0", "title"}},
      {kFreeSectorPixel, {"0,1,10", "1,2,20", "2,3,0", "title"}},
      {kFreeSectorAngle, {"10.000000,1,10", "10.020000,2,20", "10.040000,3,0", "title"}},
  };
  for (const Case& c : cases) {
    const NaxPattern pattern = small_pattern(3, c.kind, "title");
    const PatternForm form = choose_pattern_form(pattern, ".SEC");
    ASSERT_EQ(form, PatternForm::kSector);
    EXPECT_EQ(pattern_file_text(form, {pattern, sectors, peaks, axis, ""}), crlf(c.body) + kThreePeaks) << c.kind;
  }
}

const std::vector<std::string> kNpdHeader = {
    "Record length,27",
    "Sample name,sample01.img",
    "Operator name,",
    "Profile number,pressure marker",
    "Time,2007-03-14 14:28:21",
    "Measurement mode,Real",
    "EGC0,1.00200000000000E+001",
    "EGC1,2.00000000000000E-002",
    "EGC2,0.00000E+000",
    "2Theta(deg),7.9984",
    "Live time(sec),400.00",
    "Real time(sec),405.48",
    "Dead time(%),1.35000",
    "Temperature(K),1301.00",
    "Press load(ton),100.00",
    "Ring status,current(mA)=-98.99",
    "Beam intensity,0.00",
    "Counting rate,0.00",
    "Press conditions, X(mm)=0.150 Y(mm)=0.650 Z(mm)=6.200 PHI(deg)=0.000",
    "Incident slit conditions, V(mm)=0.050 H(mm)=0.300",
    "Receiving slit conditions, V(mm)=2.000 H(mm)=0.300 Collimator(mm)=0.000",
    "Heating conditions, V(V)=24.48 C(A)=6.17 P(W)=151.40 R(OHM)=3967.585",
    ",",
    ",",
    ",",
    ",",
    ",",
    "Data length, 4096",
    "Counting sec, 405.480",
};

struct NpdFile {
  std::vector<std::string> lines;
};

NpdFile npd_of(PatternKind kind, int n, const PeakList& peaks, const AngleWindow* window = nullptr,
               double step = 0.02) {
  const NaxPattern pattern = small_pattern(n, kind, "title");
  const SectorPatterns sectors;
  const IntegrationParams axis = test::angle_axis(10.0, step, n);
  const PatternSource source{pattern, sectors, peaks, axis, "/data/img/sample01.img"};
  return {split_lines(pattern_file_text(PatternForm::kNpd, source, window))};
}

std::vector<std::string> slice(const std::vector<std::string>& v, size_t from, size_t count) {
  return {v.begin() + long(from), v.begin() + long(std::min(v.size(), from + count))};
}

TEST(PatternWriterNpd, AnglePatternIsPaddedTo4096RowsThenEmptyLineAndPeaks) {
  const NpdFile f = npd_of(kAngleHistogram, 100, test::three_peaks());
  ASSERT_EQ(f.lines.size(), 29u + 4096u + 1u + 5u);
  EXPECT_EQ(slice(f.lines, 0, 29), kNpdHeader);
  EXPECT_EQ(slice(f.lines, 29, 2), (std::vector<std::string>{"1,10.000000,7", "2,10.020000,107"}));
  EXPECT_EQ(f.lines[29 + 99], "100,11.980000,9907");
  EXPECT_EQ(f.lines[29 + 100], "101,12.000000,0");
  EXPECT_EQ(f.lines[29 + 4095], "4096,91.900000,0");
  EXPECT_EQ(f.lines[29 + 4096], "");
  EXPECT_EQ(f.lines[29 + 4097], "   3");
}

TEST(PatternWriterNpd, LongAnglePatternHasNoPadding) {
  const NpdFile f = npd_of(kAngleHistogram, 5000, PeakList{});
  ASSERT_EQ(f.lines.size(), 29u + 5000u + 1u + 1u);
  EXPECT_EQ(f.lines[29 + 4999], "5000,109.980000,499907");
  EXPECT_EQ(f.lines[29 + 5000], "");
}

TEST(PatternWriterNpd, PixelPatternCarriesIndexAndHasNoEmptyLineBeforePeaks) {
  const NpdFile f = npd_of(kPixelHistogram, 3, test::three_peaks());
  ASSERT_EQ(f.lines.size(), 29u + 4096u + 5u);
  EXPECT_EQ(slice(f.lines, 29, 4),
            (std::vector<std::string>{"1,0.000000,7", "2,1.000000,107", "3,2.000000,207", "4,3.000000,0"}));
  EXPECT_EQ(f.lines[29 + 4095], "4096,4095.000000,0");
  EXPECT_EQ(f.lines[29 + 4096], "   3");
}

// Ten points from 10 by 0.5: the window 11.2 to 12.7 keeps 11.0 to 12.5 (indexes 2 to 5).
TEST(PatternWriterWindow, WindowStartsAtLastPointAtOrBelowEachEnd) {
  const NaxPattern pattern = small_pattern(10, kAngleHistogram, "t");
  const IntegrationParams axis = test::angle_axis(10.0, 0.5, 10);
  struct Case {
    double t1, t2;
    int lo, hi;
  };
  const Case cases[] = {{11.2, 12.7, 2, 6}, {11.0, 12.5, 2, 6}, {5.0, 12.7, 0, 6}, {11.2, 99.0, 2, 10},
                        {99.0, 100.0, 0, 10}, {10.0, 14.5, 0, 10}};
  for (const Case& c : cases) {
    const AngleWindow w = angle_window(pattern, axis, c.t1, c.t2);
    EXPECT_EQ(w.lo, c.lo) << c.t1 << ' ' << c.t2;
    EXPECT_EQ(w.hi, c.hi) << c.t1 << ' ' << c.t2;
  }
}

TEST(PatternWriterWindow, RawRowsAndNpdRowsFollowTheWindowAndNpdDropsPeaks) {
  const NaxPattern pattern = small_pattern(10, kAngleHistogram, "t");
  const IntegrationParams axis = test::angle_axis(10.0, 0.5, 10);
  const SectorPatterns sectors;
  const PeakList peaks = test::three_peaks();
  const PatternSource source{pattern, sectors, peaks, axis, "a.img"};
  const AngleWindow w{2, 6};
  EXPECT_EQ(pattern_file_text(PatternForm::kRaw, source, &w),
            crlf({"11.000000,207", "11.500000,307", "12.000000,407", "12.500000,507", "t"}) + kThreePeaks);
  const auto npd = split_lines(pattern_file_text(PatternForm::kNpd, source, &w));
  // 4 rows, zero rows 7..4096, an empty line in place of the gap and one for the block.
  ASSERT_EQ(npd.size(), 29u + 4u + 4090u + 2u);
  EXPECT_EQ(npd[29], "3,11.000000,207");
  EXPECT_EQ(npd[32], "6,12.500000,507");
  EXPECT_EQ(npd[33], "7,13.000000,0");
  EXPECT_EQ(npd[npd.size() - 3], "4096,2057.500000,0");
  EXPECT_EQ(npd[npd.size() - 2], "");
  EXPECT_EQ(npd[npd.size() - 1], "");
  // Forms without rows of their own in the window are written whole.
  const auto rie = pattern_file_text(PatternForm::kRietan, source, &w);
  EXPECT_EQ(rie, pattern_file_text(PatternForm::kRietan, source));
}

TEST(PatternWriterWindow, PixelNpdWithWindowAddsEmptyLineAndNoPeaks) {
  const AngleWindow w{1, 2};
  const NpdFile f = npd_of(kPixelHistogram, 3, test::three_peaks(), &w);
  ASSERT_EQ(f.lines.size(), 29u + 4096u + 2u);
  EXPECT_EQ(f.lines[29], "1,0.000000,7");
  EXPECT_EQ(f.lines[29 + 4096], "");
  EXPECT_EQ(f.lines[29 + 4097], "");
}

TEST(PatternWriterChoice, FormFollowsKindAndExtensionWithoutCase) {
  struct Case {
    PatternKind kind;
    const char* ext;
    PatternForm form;
  };
  const Case cases[] = {
      {kPixelHistogram, ".Xy", PatternForm::kXy},      {kPixelHistogram, ".XY", PatternForm::kXy},
      {kPixelHistogram, ".T", PatternForm::kNax},      {kPixelHistogram, ".RIE", PatternForm::kNone},
      {kPixelHistogram, ".npd", PatternForm::kNpd},    {kPixelHistogram, ".sec", PatternForm::kNone},
      {kAngleHistogram, ".xy", PatternForm::kNone},    {kAngleHistogram, ".WPP", PatternForm::kWpp},
      {kAngleHistogram, ".csv", PatternForm::kCsvAngle}, {kAngleHistogram, ".Npd", PatternForm::kNpd},
      {kSector16Pixel, ".xy", PatternForm::kNone},     {kFreeSectorAngle, ".sec", PatternForm::kSector},
  };
  for (const Case& c : cases)
    EXPECT_EQ(choose_pattern_form(small_pattern(3, c.kind, ""), c.ext), c.form) << c.kind << c.ext;
  EXPECT_EQ(choose_pattern_form(NaxPattern{}, ".xy"), PatternForm::kNone);
}

TEST(PatternWriterGolden, PeakLinesOfThreeDigitPeakNumbersWidenTheirColumn) {
  const std::string block = peak_block_text(test::many_peaks(150));
  const auto lines = split_lines(block);
  ASSERT_EQ(lines.size(), 152u);
  EXPECT_EQ(lines[0], " 150");
  EXPECT_EQ(lines[100].substr(0, 27), "        100        331.7500");
  EXPECT_EQ(lines[100].size(), lines[99].size() + 1);
  EXPECT_EQ(lines[151], "0");
}

}  // namespace
}  // namespace kestrin
