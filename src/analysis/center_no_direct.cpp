// The beam centre without the direct beam.
#include "analysis/center_no_direct.h"

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

constexpr int32_t kShiftReach = 100;
constexpr double kShiftMatch = 20.0;   // a pair counts for the shift within this distance
constexpr double kCentreMatch = 10.0;  // and for the centre within this one
constexpr double kNoDistance = 99999.0;
constexpr double kNoSum = 999999.0;
constexpr double kPairWorth = 2.0;  // summed misfit one more matched pair is worth

// The reference strip of a pair.
const StripPeaks& reference(const StripLists& lists, int32_t pair) {
  return lists[size_t(pair == 0 ? kStripTop : kStripLeft)];
}
const StripPeaks& opposite(const StripLists& lists, int32_t pair) {
  return lists[size_t(pair == 0 ? kStripBottom : kStripRight)];
}

int32_t list_count(const StripPeaks& s) { return s.count < 0 ? 0 : std::min(s.count, kMaxStripPeaks); }

// The whole shift that best aligns the opposite strip with the reference strip.
int32_t best_shift(const StripLists& lists, int32_t pair) {
  const StripPeaks& ref = reference(lists, pair);
  const StripPeaks& opp = opposite(lists, pair);
  int32_t best = 0, best_count = 0;
  double best_sum = kNoSum;
  for (int32_t t = -kShiftReach; t <= kShiftReach; ++t) {
    int32_t count = 0;
    double sum = 0;
    for (int32_t i = 0; i < list_count(ref); ++i) {
      const double at = ref.x[size_t(i)] + t;
      const int32_t j = nearest_opposite_peak(lists, at, pair);
      if (j < 0) continue;
      const double d = std::fabs(at - opp.x[size_t(j)]);
      if (d < kShiftMatch) sum += d, ++count;
    }
    if (count >= best_count && sum < best_sum + kPairWorth * (count - best_count))
      best = t, best_count = count, best_sum = sum;
  }
  return best;
}

// The corrected coordinate C of one pair, 0 when no pair lies within kCentreMatch.
double corrected(const StripLists& lists, int32_t pair, double C) {
  const StripPeaks& ref = reference(lists, pair);
  const StripPeaks& opp = opposite(lists, pair);
  const int32_t shift = best_shift(lists, pair);
  double sum = 0;
  int32_t count = 0;
  for (int32_t i = 0; i < list_count(ref); ++i) {
    const double at = ref.x[size_t(i)] + shift;
    const int32_t j = nearest_opposite_peak(lists, at, pair);
    if (j < 0 || !(std::fabs(at - opp.x[size_t(j)]) < kCentreMatch)) continue;
    sum += C + (opp.x[size_t(j)] - ref.x[size_t(i)]) / 2;
    ++count;
  }
  return count > 0 ? sum / count : 0.0;
}

}  // namespace

StripPeaks keep_strip_peaks(const PeakList& table, int32_t maximum) {
  StripPeaks s;
  const double threshold = maximum / 10.0;
  const int32_t n = std::clamp(table.count, 0, kMaxPeaks);
  for (int32_t j = 0; j < n && s.count < kMaxStripPeaks; ++j)
    if (table.intensity[size_t(j)] >= threshold) s.x[size_t(s.count++)] = table.x[size_t(j)];
  return s;
}

int32_t nearest_opposite_peak(const StripLists& lists, double position, int32_t pair) {
  const StripPeaks& opp = opposite(lists, pair);
  int32_t best = -1;
  double bound = kNoDistance;
  for (int32_t j = 0; j < list_count(opp); ++j) {
    const double d = std::fabs(position - opp.x[size_t(j)]);
    if (d < bound) bound = d, best = j;
  }
  return best;
}

Centre match_opposite_sides(const StripLists& lists, double X0, double Y0) {
  return {corrected(lists, 1, X0), corrected(lists, 0, Y0)};
}

}  // namespace kestrin
