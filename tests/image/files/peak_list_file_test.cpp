// Peak list (".std") and fit list files: golden texts, reading back with the current
// wavelength and the read errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/files/peak_list_file.h"
#include "image/files/peak_list_procs.h"
#include "image/program_state.h"
#include "model/state.h"
#include "support/pattern_fixture.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;
using test::crlf;
using ListOutcome = PeakListReadResult::Outcome;

double two_theta_of(double d, double wavelength) { return 2.0 * std::asin(wavelength / (2.0 * d)) * 57.29577951308232; }

TEST(PeakListFile, GoldenText) {
  EXPECT_EQ(peak_list_text(test::three_peaks()), crlf({"*****   Peak list  by Kestrin   *****", "Number of peaks =   3",
                                                       "Peak  x(pixels)  2theta(deg)     d(A) ",
                                                       "  1     12.5000    10.02000    5.123456",
                                                       "  2    100.1250    11.50000    4.500000",
                                                       "  3   1234.5678    45.25000    1.234567"}));
}

TEST(PeakListFile, ReadKeepsDAndRecomputesTwoThetaFromWavelength) {
  const PeakList written = test::many_peaks(150);
  const PeakListReadResult r = read_peak_list(peak_list_text(written), 1.5406);
  ASSERT_EQ(r.outcome, ListOutcome::kRead) << r.message;
  ASSERT_EQ(r.peaks.count, 150);
  for (size_t k = 0; k < 150; ++k) {
    EXPECT_NEAR(r.peaks.d[k], written.d[k], 5e-7);
    EXPECT_EQ(r.peaks.x[k], 0.0);
    EXPECT_EQ(r.peaks.intensity[k], 0.0);
    EXPECT_DOUBLE_EQ(r.peaks.two_theta[k], two_theta_of(r.peaks.d[k], 1.5406));
  }
}

TEST(PeakListFile, ReadErrorsAndBadSpacings) {
  const std::string head = "banner\r\nNumber of peaks =   3\r\nheader\r\n";
  const std::string good1 = "  1     12.5000    10.02000    5.123456\r\n";
  const std::string good3 = "  3     12.5000    10.02000    2.000000\r\n";
  struct Case {
    std::string text;
    ListOutcome outcome;
    const char* message;
  };
  const Case cases[] = {
      {"banner\r\nNumber of peaks 3\r\n", ListOutcome::kReadError, " load_peak_proc() : read error. "},
      {"banner\r\nNumber of peaks = 501\r\n", ListOutcome::kReadError, " load_peak_proc() : read error. "},
      {"banner\r\nNumber of peaks =  -1\r\n", ListOutcome::kReadError, " load_peak_proc() : read error. "},
      {"banner\r\nNumber of peaks = abc\r\n", ListOutcome::kFailed, "' abc' is not a valid integer value"},
      {head + good1 + "  2     12.5000    10.02000    0.000000\r\n" + good3, ListOutcome::kBadSpacing,
       " Error in d(A) at peak number   2."},
      {head + good1 + "  2     12.5000    10.02000 1000.000000\r\n" + good3, ListOutcome::kBadSpacing,
       " Error in d(A) at peak number   2."},
      {head + good1 + "  2     12.5000    10.02000    0.700000\r\n" + good3, ListOutcome::kBadSpacing,
       " Error in d(A) at peak number   2."},
      {head + good1 + "  2     12.5000    10.02000    x\r\n" + good3, ListOutcome::kFailed,
       "'    x' is not a valid floating point value"},
      {head + good1, ListOutcome::kFailed, "'' is not a valid floating point value"},
  };
  for (const Case& c : cases) {
    const PeakListReadResult r = read_peak_list(c.text, 1.5406);
    EXPECT_EQ(r.outcome, c.outcome) << c.text;
    EXPECT_EQ(r.message, c.message) << c.text;
  }
  // A bad d leaves the list half converted: before it new 2theta, from it on the file's.
  const PeakListReadResult half = read_peak_list(cases[6].text, 1.5406);
  ASSERT_EQ(half.peaks.count, 3);
  EXPECT_DOUBLE_EQ(half.peaks.two_theta[0], two_theta_of(5.123456, 1.5406));
  EXPECT_EQ(half.peaks.x[1], 0.0);
  EXPECT_DOUBLE_EQ(half.peaks.two_theta[1], 10.02);
  EXPECT_DOUBLE_EQ(half.peaks.x[2], 12.5);
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(std::isnan(half.peaks.two_theta[size_t(k)]));
}

TEST(FitListFile, OnlyFittedPeaksGetLinesNumberedByPeak) {
  FitTables fits;
  for (size_t k = 0; k < 3; ++k) {
    fits.fitted[k] = {1, 1000.5 + double(k), 10.25 + double(k), 0.05, 12.0, 0.5, 0, 0, 0};
    fits.initial[k] = {0, 900.0, 10.0 + double(k), 0.1, 10.0, 0.0, 0, 0, 0};
  }
  fits.fitted[1].fitted = 0;
  fits.count = 3;
  EXPECT_EQ(fit_list_text(fits, 3),
            crlf({"*****   fit list  by Kestrin   *****", "Number of fits =   3",
                  "Peak No,x,Intensity,Base Int.,Fwhm,Base Tilt,Ini.x,Ini.Int.,Ini.Off,Ini.Fwhm,Ini.Base Tilt",
                  "  1,   10.2500,1000.50000,     12.00,    0.1000,    0.5000,   10.0000, 900.00000,     10.00,    0.2000,    0.0000",
                  "  3,   12.2500,1002.50000,     12.00,    0.1000,    0.5000,   12.0000, 900.00000,     10.00,    0.2000,    0.0000"}));
}

// The routines take the wavelength from the model and say what went wrong; only a list read
// whole asks for the peak list window. A name is checked before its file is read.
TEST(PeakListRoutines, LoadAtTheModelsWavelengthAndNameChecks) {
  reset_state();
  state().integration_params.wavelength = 0.7;
  Report report;
  EXPECT_TRUE(load_peak_list(peak_list_text(test::three_peaks()), report));
  EXPECT_TRUE(report.lines().empty());
  EXPECT_DOUBLE_EQ(state().peak_table.two_theta[2], two_theta_of(1.234567, 0.7));
  EXPECT_FALSE(load_peak_list(crlf({"b", "Number of peaks =   1", "h", "  1     12.5000    10.02000    0.100000"}), report));
  EXPECT_EQ(report.lines(), Lines{" Error in d(A) at peak number   1."});
  EXPECT_EQ(state().peak_table.count, 1);

  test::TempDir dir;
  const std::string list = dir.file("p.STD");
  ASSERT_TRUE(write_file_bytes(list, "list"));
  EXPECT_EQ(peak_list_bytes(list, report), "list");
  Report refusals;
  EXPECT_FALSE(peak_list_bytes("", refusals));
  EXPECT_FALSE(peak_list_bytes(dir.file("p.Std"), refusals));
  EXPECT_EQ(refusals.lines(), (Lines{" load_peak_proc() : No file selected. ",
                                     " load_peak_proc() : " + dir.file("p.Std") + " is not a peak file.. "}));
  reset_state();
}

}  // namespace
}  // namespace kestrin
