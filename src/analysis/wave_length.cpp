// The wavelength from a reference sample.
#include "analysis/wave_length.h"

#include <cmath>
#include <numbers>

#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "model/state.h"

namespace kestrin {

namespace {

// The three wavelengths of one reference sample agree within this part of their mean; when
// they do not, the peaks were not its first three rings.
constexpr double kAgreement = 0.01;

bool agree(const double (&lambda)[3], double mean) {
  for (double l : lambda)
    if (!(std::fabs(l - mean) <= kAgreement * mean)) return false;
  return true;
}

}  // namespace

std::optional<double> calc_wave_length(Report& report) {
  report.say("");
  report.say("calc_wave_length");
  report.say("");
  // Only the peaks of a fresh 2theta pattern count: a refused integration leaves an old table.
  const PeakTable& table = state().peak_table;
  const int32_t peaks = current_pattern_group() == PatternGroup::kAngle ? peak_count_of(table) : 0;
  if (peaks < 3) {
    report.say(" calc_wave_length() : fewer than three peaks.");
    return std::nullopt;
  }
  double lambda[3], sum = 0;
  for (int32_t i = 0; i < 3; ++i) {
    const double two_theta = table.two_theta[size_t(i)];
    lambda[i] = 2 * kReferenceSpacings[i] * std::sin(two_theta / 2 * std::numbers::pi / 180);
    report.say(Format("No.%d  2theta=%7.5f lambda=%7.5f", {i + 1, two_theta, lambda[i]}));
    sum += lambda[i];
  }
  const double mean = sum / 3;
  if (!agree(lambda, mean)) {
    report.say(Format(" calc_wave_length() : the three wavelengths differ by more than 1 %% from their mean %7.5f,"
                    " the wavelength was not determined.",
                    {mean}));
    return std::nullopt;
  }
  report.say(Format("lambda average = %7.5f", {mean}));
  return mean;
}

}  // namespace kestrin
