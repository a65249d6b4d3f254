// The wavelength from the peaks of a 2theta pattern at the three built-in d-spacings: the
// mean, and the refusals.
#include "analysis/wave_length.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/report.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

using WaveLengthTest = PeakTest;

// A 2theta pattern whose peak table holds the rings at the given d-spacings for 0.7
// angstrom, in rising 2theta.
void peaks_at(const std::vector<double>& spacings, PatternKind kind = kAngleHistogram) {
  set_pattern(std::vector<int32_t>(100, 10), kind);
  PeakTable& t = state().peak_table;
  t.count = int32_t(spacings.size());
  for (size_t j = 0; j < spacings.size(); ++j)
    t.two_theta[j] = 2 * std::asin(0.7 / (2 * spacings[j])) * 180 / std::numbers::pi, t.intensity[j] = 100;
}

TEST_F(WaveLengthTest, MeanOfTheThreePeaks) {
  const double* d = kReferenceSpacings;
  peaks_at({d[0], d[1], d[2]});
  state().integration_params.wavelength = 1.0;
  Report report;
  const std::optional<double> mean = calc_wave_length(report);
  ASSERT_TRUE(mean);
  EXPECT_NEAR(*mean, 0.7, 1e-9);
  EXPECT_EQ(state().integration_params.wavelength, 1.0);  // the parameters stay
  const auto& l = report.lines();
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ((std::vector<std::string>(l.begin(), l.begin() + 3)), (std::vector<std::string>{"", "calc_wave_length", ""}));
  EXPECT_EQ(l[3], Format("No.1  2theta=%7.5f lambda=%7.5f", {state().peak_table.two_theta[0], 0.7}));
  EXPECT_EQ(l.back(), "lambda average = 0.70000");
  EXPECT_TRUE(log().empty());
}

// Fewer than three peaks, or a pattern that is no 2theta pattern, give no wavelength; three
// that disagree (the first three peaks are not the sample's first three rings) neither.
TEST_F(WaveLengthTest, RefusesWithoutThreeAgreeingPeaks) {
  const double* d = kReferenceSpacings;
  struct Case {
    const char* name;
    std::vector<double> spacings;
    PatternKind kind;
    const char* last;  // the start of the last line
  };
  const Case cases[] = {
      {"two peaks", {d[0], d[1]}, kAngleHistogram, " calc_wave_length() : fewer than three peaks."},
      {"a pixel pattern", {d[0], d[1], d[2]}, kPixelHistogram, " calc_wave_length() : fewer than three peaks."},
      {"a ring before them", {3.6, d[0], d[1], d[2]}, kAngleHistogram,
       " calc_wave_length() : the three wavelengths differ by more than 1 % from their mean "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    peaks_at(c.spacings, c.kind);
    Report report;
    EXPECT_FALSE(calc_wave_length(report));
    EXPECT_EQ(report.lines().back().rfind(c.last, 0), 0u) << report.lines().back();
  }
}

}  // namespace
}  // namespace kestrin::test
