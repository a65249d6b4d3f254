// The camera-length search. Each trial needs, per reference, the found peak whose angle
// lies nearest the reference's: the angle rises with the position, so that peak is a
// neighbour of the position at which the reference would lie, found by bisection in the
// sorted positions. The sums equal those of comparing every peak with every reference.
#include "analysis/camera_length.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "analysis/geometry.h"
#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr int32_t kFewestProfilePoints = 11;
constexpr int32_t kFirstPoint = 5;
constexpr double kMatchedMisfit = 0.01;
constexpr double kNoMisfit = 1000.0;
constexpr double kNoTrialSum = 10000.0;
constexpr double kShortestSearchedLo = 30.0;
constexpr int32_t kSearchReach = 100;                            // tenths of a millimetre
constexpr int32_t kShortSearchFrom = 400, kShortSearchTo = 4000;  // tenths, for Lo below 30 mm

double misfit(double two_theta, double angle) { return std::fabs(two_theta - angle) / two_theta; }

// The found peak positions, in the order found.
std::vector<double> found_positions(std::span<const int32_t> y, int32_t maximum, Report& report) {
  std::vector<double> p;
  const double threshold = double(maximum) / 100;
  for (int32_t i = kFirstPoint; i <= int32_t(y.size()) - 6; ++i) {
    if (!(double(y[size_t(i)]) >= threshold)) continue;
    const auto delta = peak_test(y, i, std::numeric_limits<int32_t>::min());
    if (!delta) continue;
    p.push_back(double(i) + *delta);
    if (int32_t(p.size()) >= kMaxPeaks) {
      report.say(Format(" Dimension full :  Peak=%d", {int32_t(p.size())}));
      break;
    }
  }
  return p;
}

struct Search {
  std::vector<double> sorted;      // the found positions, rising
  std::vector<double> references;  // the usable reference 2theta values
  double pixel = 0;

  // The smallest misfit of reference t at camera length L.
  double best_misfit(double t, double L) const {
    const double at = L * std::tan(t / kRadToDeg) / pixel;
    const auto i = size_t(std::lower_bound(sorted.begin(), sorted.end(), at) - sorted.begin());
    double best = kNoMisfit;
    // Two neighbours each side, so a position rounded across the split is still seen.
    for (size_t k = i > 1 ? i - 2 : 0; k < std::min(i + 2, sorted.size()); ++k)
      best = std::min(best, misfit(t, camera_angle(sorted[k], pixel, L)));
    return best;
  }
  double sum(double L) const {
    double s = 0;
    for (double t : references) s += best_misfit(t, L);
    return s;
  }
};

// The trial range in tenths of a millimetre, or nothing for a Lo too large to count in tenths.
std::optional<std::pair<int32_t, int32_t>> trial_range(double Lo) {
  if (!(Lo >= kShortestSearchedLo)) return std::pair{kShortSearchFrom, kShortSearchTo};
  const std::optional<int32_t> from = checked_int32(std::trunc(10 * Lo - kSearchReach));
  const std::optional<int32_t> to = checked_int32(std::trunc(10 * Lo + kSearchReach));
  if (!from || !to) return std::nullopt;
  return std::pair{*from, *to};
}

// Matches each reference to its nearest found peak at L and returns the camera lengths of
// the matched ones; the table's x and intensity follow the match.
std::vector<double> match_references(const std::vector<double>& found, double L, double pixel,
                                     std::span<const int32_t> y, Report& report) {
  PeakTable& table = state().peak_table;
  std::vector<double> lengths;
  for (int32_t j = 0; j < peak_count_of(table); ++j) {
    const double t = table.two_theta[size_t(j)];
    if (!(t > 0)) continue;
    double best = kNoMisfit;
    std::optional<size_t> at;
    for (size_t k = 0; k < found.size(); ++k) {
      const double m = misfit(t, camera_angle(found[k], pixel, L));
      if (m < best) best = m, at = k;
    }
    if (!at || !(best < kMatchedMisfit)) continue;
    const double p = found[*at];
    const double Lo = pixel * p / std::tan(t / kRadToDeg);
    table.x[size_t(j)] = p;
    const int32_t bin = TruncHalfUp(p);
    table.intensity[size_t(j)] = bin >= 0 && size_t(bin) < y.size() ? double(y[size_t(bin)]) : 0.0;
    report.say(Format("%f", {p}) + " " + Format("%f", {camera_angle(p, pixel, L)}) + " " + Format("%f", {t}) +
             " " + Format("%f", {Lo}));
    lengths.push_back(Lo);
  }
  return lengths;
}

}  // namespace

double camera_angle(double p, double pixel, double L) { return std::atan(p * pixel / L) * kRadToDeg; }

CameraLengthSearch camera_length_search(Report& report) {
  SharedState& st = state();
  if (!st.nax_pattern.has_kind(kPixelHistogram)) return CameraLengthSearch::kNoPattern;
  const std::span<const int32_t> y = pattern_span();
  if (y.size() < size_t(kFewestProfilePoints)) return CameraLengthSearch::kNoPattern;
  IntegrationParams& ip = st.integration_params;
  if (!(ip.pixel_x > 0)) {
    report.say(" camera_length_search() : the pixel size must be positive.");
    return CameraLengthSearch::kRefused;
  }
  const std::optional<std::pair<int32_t, int32_t>> range = trial_range(ip.Lo);
  if (!range) {
    report.say(" camera_length_search() : the camera length is out of range.");
    return CameraLengthSearch::kRefused;
  }
  const std::vector<double> found = found_positions(y, st.nax_pattern.maximum, report);
  report.say("Search from " + Format("%5.1f", {range->first / 10.0}) + " (mm) to " +
           Format("%5.1f", {range->second / 10.0}) + " (mm).");

  // Every reference starts unmatched.
  PeakTable& table = st.peak_table;
  Search search{found, {}, ip.pixel_x};
  std::sort(search.sorted.begin(), search.sorted.end());
  for (int32_t j = 0; j < peak_count_of(table); ++j) {
    table.x[size_t(j)] = table.intensity[size_t(j)] = 0;
    if (table.two_theta[size_t(j)] > 0) search.references.push_back(table.two_theta[size_t(j)]);
  }
  double best_sum = kNoTrialSum;
  std::optional<double> best_L;
  for (int32_t tenths = range->first; tenths <= range->second; ++tenths) {
    const double L = tenths / 10.0;
    const double s = search.sum(L);
    if (s < best_sum) best_sum = s, best_L = L;
  }
  std::vector<double> lengths;
  if (best_L) {
    report.say("Best matched Lo =" + Format("%f", {*best_L}) + " (mm)");
    lengths = match_references(found, *best_L, ip.pixel_x, y, report);
  }
  if (lengths.empty()) {
    report.say("Initial Lo will be too far. Try another.");
  } else {
    double total = 0;
    for (double Lo : lengths) total += Lo;
    ip.Lo = total / double(lengths.size());
    report.say("Lo = " + Format("%10.6f", {ip.Lo}) + " (mm)");
  }
  sort_and_compact_peaks(-1);
  return CameraLengthSearch::kSearched;
}

}  // namespace kestrin
