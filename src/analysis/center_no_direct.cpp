// The beam centre without the direct beam.
#include "analysis/center_no_direct.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/center.h"
#include "analysis/peak_search.h"
#include "analysis/pixel_histogram.h"
#include "base/convert.h"
#include "base/report.h"

namespace kestrin {

namespace {

constexpr int32_t kShiftReach = 100;
constexpr double kShiftMatch = 20.0;   // a pair counts for the shift within this distance
constexpr double kCentreMatch = 10.0;  // and for the centre within this one
constexpr double kNoDistance = 99999.0;
constexpr double kNoPairingSum = 999999.0;
constexpr double kPairWorth = 2.0;  // summed misfit one more matched pair is worth
// The direction (RectDirection) of each strip, in strip order.
constexpr int32_t kStripDirection[kStripCount] = {0, 1, 3, 4};

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
  double best_sum = kNoPairingSum;
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

// The pairs of reference peak i and opposite peak j within kCentreMatch at the shift.
struct Pairs {
  std::array<int32_t, kMaxStripPeaks> ref{}, opp{};
  int32_t count = 0;
};

Pairs pairs_at(const StripLists& lists, int32_t pair, int32_t shift) {
  const StripPeaks& ref = reference(lists, pair);
  const StripPeaks& opp = opposite(lists, pair);
  Pairs found;
  for (int32_t i = 0; i < list_count(ref); ++i) {
    const double at = ref.x[size_t(i)] + shift;
    const int32_t j = nearest_opposite_peak(lists, at, pair);
    if (j < 0 || !(std::fabs(at - opp.x[size_t(j)]) < kCentreMatch)) continue;
    found.ref[size_t(found.count)] = i, found.opp[size_t(found.count)] = j, ++found.count;
  }
  return found;
}

// The first peak of a strip that lies nearer the centre than every matched one of that
// strip, -1 when there is none. Both strips see a ring on either side of the true centre,
// so a peak left out inside the pairs is the ring a pairing of each ring with its
// neighbour in the other strip skipped.
int32_t inner_unpaired(const StripPeaks& s, const std::array<int32_t, kMaxStripPeaks>& matched, int32_t count) {
  double inner = s.x[size_t(matched[0])];
  for (int32_t m = 1; m < count; ++m) inner = std::min(inner, s.x[size_t(matched[size_t(m)])]);
  for (int32_t i = 0; i < list_count(s); ++i)
    if (s.x[size_t(i)] < inner) return i;
  return -1;
}

// The strong peaks of one strip's pixel histogram.
StripPeaks measure_strip(int32_t strip, Report& report, const StripSteps& steps) {
  state().integration_params.RectDirection = kStripDirection[strip];
  if (steps.direction_chosen) steps.direction_chosen();
  const PatternShow shown = calc_pixel_histogram(report);
  if (steps.histogram_made) steps.histogram_made(shown);
  const int32_t status = peak_search(report);
  if (steps.peaks_searched) steps.peaks_searched(status);
  const SharedState& st = state();
  return keep_strip_peaks(st.peak_table, st.nax_pattern.maximum);
}

}  // namespace

SideResult match_side(const StripLists& lists, int32_t pair, double C) {
  const StripPeaks& ref = reference(lists, pair);
  const StripPeaks& opp = opposite(lists, pair);
  SideResult r;
  if (list_count(ref) == 0 || list_count(opp) == 0) {
    r.match = SideMatch::kNoPeaks;
    return r;
  }
  r.shift = best_shift(lists, pair);
  const Pairs pairs = pairs_at(lists, pair, r.shift);
  if (pairs.count == 0) return r;
  const int32_t ref_left = inner_unpaired(ref, pairs.ref, pairs.count);
  const int32_t opp_left = ref_left >= 0 ? -1 : inner_unpaired(opp, pairs.opp, pairs.count);
  if (ref_left >= 0 || opp_left >= 0) {
    r.match = SideMatch::kNeighbourRings;
    r.left_out = ref_left >= 0 ? ref.x[size_t(ref_left)] : opp.x[size_t(opp_left)];
    r.left_out_in_reference = ref_left >= 0;
    return r;
  }
  double sum = 0;
  for (int32_t m = 0; m < pairs.count; ++m)
    sum += C + (opp.x[size_t(pairs.opp[size_t(m)])] - ref.x[size_t(pairs.ref[size_t(m)])]) / 2;
  r.value = sum / pairs.count;
  r.match = SideMatch::kMatched;
  return r;
}

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
  return {match_side(lists, 1, X0).value, match_side(lists, 0, Y0).value};
}

namespace {

// Why a pair of strips left its coordinate as it was, for the log.
std::string unmatched_reason(const StripLists& lists, int32_t pair, const SideResult& r) {
  const char* ref_name = pair == 0 ? "TOP" : "LEFT";
  const char* opp_name = pair == 0 ? "BOTTOM" : "RIGHT";
  const bool ref_empty = list_count(reference(lists, pair)) == 0;
  const bool opp_empty = list_count(opposite(lists, pair)) == 0;
  switch (r.match) {
    case SideMatch::kNoPeaks:
      if (ref_empty && opp_empty) return std::string("the ") + ref_name + " and " + opp_name + " strips have no peak";
      return std::string("the ") + (ref_empty ? ref_name : opp_name) + " strip has no peak";
    case SideMatch::kNoPair:
      return std::string("no peak of the ") + ref_name + " strip matches one of the " + opp_name + " strip";
    case SideMatch::kNeighbourRings:
      return std::string("at their best shift (") + std::to_string(r.shift) + " pixels) the " +
             (r.left_out_in_reference ? ref_name : opp_name) + " strip's peak at" + Format("%7.1f", {r.left_out}) +
             " pairs with nothing while peaks beyond it pair, so the " + ref_name + " and " + opp_name +
             " strips pair neighbouring rings";
    case SideMatch::kMatched:
      break;
  }
  return {};
}

// The pair's new coordinate, or C kept with a log line saying why.
double matched_or_kept(const StripLists& lists, int32_t pair, double C, double shown, Report& report) {
  const SideResult r = match_side(lists, pair, C);
  if (r.match == SideMatch::kMatched) return r.value;
  report.say(" FindCenterNoDirect() : " + unmatched_reason(lists, pair, r) + "; Center" + (pair == 0 ? "Y" : "X") +
           " stays at" + Format("%10.5f", {shown}) + ".");
  return C;
}

}  // namespace

int32_t FindCenterNoDirect(double& NewX, double& NewY, Report& report, const StripSteps& steps) {
  StripLists lists;
  for (int32_t s = 0; s < kStripCount; ++s) lists[size_t(s)] = measure_strip(s, report, steps);
  // The strips were measured around the centre the edits held; the last histogram read it.
  const IntegrationParams& p = state().integration_params;
  NewX = matched_or_kept(lists, 1, p.X0, p.X0, report);
  NewY = matched_or_kept(lists, 0, p.Y0, shown_y(p.Y0), report);
  return 0;
}

}  // namespace kestrin
