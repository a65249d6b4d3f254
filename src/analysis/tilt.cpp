// The detector tilt from the 16-sector patterns.
#include "analysis/tilt.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "analysis/geometry.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kSectors = 16;
constexpr int32_t kPairs = kSectors / 2;
constexpr double kSectorAngle = 22.5;
constexpr double kSmallTilt = 0.001;
constexpr double kNoError = 99999.99;
// The cosine fit needs the ring in half the sectors: with fewer, the sectors that keep it
// are those a large tilt stretches least, and the fit shrinks the tilt towards them.
constexpr int32_t kFitSectors = kSectors / 2;

PeakList& sector_list(int32_t s) { return state().sector_patterns.sectors[size_t(s)].peaks(); }

bool sector_exists(int32_t s) { return s >= 0 && s < usable_sector_count(); }

// The tilt (degrees) that the matched peaks of sector k and k + 8 show: the opposite radii
// differ by twice D, with D growing as r^2 tan(tilt) / Lo.
double pair_tilt(const PeakList& a, const PeakList& b, int32_t count, double Lo, double pixel) {
  double S4 = 0, S = 0;
  for (size_t m = 0; m < size_t(count); ++m) {
    const double r = (a.x[m] + b.x[m]) / 2, D = (a.x[m] - b.x[m]) / 2;
    S4 += r * r * r * r;
    S += r * r * D;
  }
  const double t = (180 / std::numbers::pi) * (S / S4) * Lo / pixel;
  return std::isfinite(t) ? t : 0.0;
}

// The whole degree a whose T0 cos(22.5 k - a) fits the sector tilts best, and the tilt
// angle that scales the cosine to them.
std::pair<double, double> fit_cosine(const std::array<double, kSectors>& t, double T0) {
  double best = kNoError;
  int32_t beta = 0;
  for (int32_t a = 0; a < 360; ++a) {
    double E = 0;
    for (int32_t k = 0; k < kSectors; ++k)
      if (t[size_t(k)] != 0) E += std::pow(t[size_t(k)] - T0 * std::cos((kSectorAngle * k - a) * kDegToRad), 2);
    if (E < best) best = E, beta = a;
  }
  double num = 0, den = 0;
  for (int32_t k = 0; k < kSectors; ++k) {
    if (t[size_t(k)] == 0) continue;
    const double c = std::cos((beta - kSectorAngle * k) * kDegToRad);
    num += t[size_t(k)] * c;
    den += c * c;
  }
  return {double(beta), den > 0 ? num / den : 0.0};
}

TiltResult set_tilt(double Beta, double Phi, Report& report) {
  IntegrationParams& ip = state().integration_params;
  ip.Beta = Beta, ip.Phi = Phi;
  report.say(" Final azimuth =" + Format("%5.1f", {Beta}) + "(deg), Tilt = " + Format("%10.6f", {Phi}));
  return {0, true};
}

}  // namespace

int32_t make_peak_table(int32_t a, int32_t b, Report& report) {
  if (!sector_exists(a) || !sector_exists(b) || a == b) return -1;
  PeakList& A = sector_list(a);
  PeakList& B = sector_list(b);
  const int32_t na = peak_count_of(A), nb = peak_count_of(B);
  if (na == 0 || nb == 0) {
    A.count = B.count = 0;
    return -1;
  }
  std::vector<double>& xa = A.x;
  std::vector<double>& xb = B.x;
  // The marker just past each list stands for "no further peak".
  xa[size_t(na)] = xb[size_t(nb)] = kDeletedPeak;
  const double tolerance = state().SamePeakTolerance;
  auto r = [](double u, double v) { return std::fabs(relative_difference(u, v)); };
  size_t i = 0, j = 0;
  while (i < size_t(na) && j < size_t(nb)) {
    const double d = relative_difference(xb[j], xa[i]);
    if (std::fabs(d) < tolerance) {
      const bool nearest_in_a = std::fabs(d) <= r(xb[j], xa[i + 1]);
      const bool nearest_in_b = std::fabs(d) <= r(xb[j + 1], xa[i]);
      if (nearest_in_a && nearest_in_b) ++i, ++j;
      else if (nearest_in_a) xb[j++] = kDeletedPeak;
      else xa[i++] = kDeletedPeak;
    } else if (d >= 0) {
      xb[j++] = kDeletedPeak;
    } else {
      xa[i++] = kDeletedPeak;
    }
  }
  for (; i < size_t(na); ++i) xa[i] = kDeletedPeak;
  for (; j < size_t(nb); ++j) xb[j] = kDeletedPeak;
  sort_and_compact_list(A, true);
  sort_and_compact_list(B, true);
  if (A.count != B.count) {
    report.say("make_peak_table() : Unsuccessful Sector " + std::to_string(a) + " " + std::to_string(b) + " New " +
             std::to_string(A.count) + " " + std::to_string(B.count));
    return -1;
  }
  return A.count;
}

TiltResult calc_tilt(Report& report) {
  SharedState& st = state();
  if (!st.nax_pattern.has_kind(kSector16Pixel) || usable_sector_count() < kSectors) return {1, false};
  const IntegrationParams& ip = st.integration_params;
  report.say(" Initial tilt  azimuth =" + Format("%5.1f", {ip.Beta}) + "(deg), Tilt     = " + Format("%10.6f", {ip.Phi}) +
           "(deg)");
  if (!(ip.pixel_x > 0)) {
    report.say(" calc_tilt() : the pixel size must be positive.");
    return {};
  }
  std::array<double, kSectors> t{};
  int32_t paired = 0;  // sectors whose ring their opposite sector holds too
  for (int32_t k = 0; k < kPairs; ++k) {
    const int32_t count = make_peak_table(k, k + kPairs, report);
    if (count < 1) continue;
    paired += 2;
    t[size_t(k)] = pair_tilt(sector_list(k), sector_list(k + kPairs), count, ip.Lo, ip.pixel_x);
    t[size_t(k + kPairs)] = -t[size_t(k)];
  }
  double T0 = 0, a0 = 0;
  for (int32_t k = 0; k < kSectors; ++k) {
    report.say("Sector =" + std::to_string(k) + ", Peak=" + std::to_string(sector_list(k).count) + ", Azimuth=" +
             Format("%5.1f", {kSectorAngle * k}) + "(deg), Tilt=" + Format("%10.6f", {t[size_t(k)]}) + "(deg)");
    if (t[size_t(k)] > T0) T0 = t[size_t(k)], a0 = kSectorAngle * k;
  }
  report.say("  Azimuth = " + Format("%5.1f", {a0}) + "(deg), Tilt =" + Format("%10.6f", {T0}) + "(deg)");
  // A tilt too large for the pairing tolerance looks like no tilt, or a smaller one: keep
  // the user's.
  if (paired == 0) {
    report.say(" calc_tilt() : no sector pair has common peaks.");
    return {};
  }
  if (paired < kFitSectors) {
    report.say(" calc_tilt() : only " + std::to_string(paired) + " of " + std::to_string(kSectors) +
             " sectors hold a common peak, the tilt was not determined.");
    return {};
  }
  if (T0 < kSmallTilt) {
    report.say("Tilt is small enough.");
    return set_tilt(0, 0, report);
  }
  const auto [Beta, Phi] = fit_cosine(t, T0);
  return set_tilt(Beta, Phi, report);
}

}  // namespace kestrin
