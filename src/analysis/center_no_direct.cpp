// The beam centre without the direct beam.
#include "analysis/center_no_direct.h"

#include <algorithm>
#include <cmath>

#include "analysis/peak_search.h"
#include "analysis/pixel_histogram.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kShiftReach = 100;
constexpr double kShiftMatch = 20.0;   // a pair counts for the shift within this distance
constexpr double kCentreMatch = 10.0;  // and for the centre within this one
constexpr double kNoDistance = 99999.0;
constexpr double kNoPairingSum = 999999.0;
constexpr double kPairWorth = 2.0;  // summed misfit one more matched pair is worth
constexpr const char* kStripBand = "20";
// The direction combo's item of each strip, in strip order.
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

// The strong peaks of one strip's pixel histogram.
StripPeaks measure_strip(int32_t strip) {
  controls().set_item_index(frmMain::cmbDirection, kStripDirection[strip]);
  calc_pixel_histogram();
  peak_search();
  const SharedState& st = state();
  return keep_strip_peaks(st.peak_table, st.nax_pattern.maximum);
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

int32_t FindCenterNoDirect(double& NewX, double& NewY) {
  Controls& c = controls();
  c.set_checked(frmMain::rbtnRectangle, true);
  c.set_text(frmMain::edtBandWidth, kStripBand);
  c.set_checked(frmMain::rbtnRect_Direction, true);
  StripLists lists;
  for (int32_t s = 0; s < kStripCount; ++s) lists[size_t(s)] = measure_strip(s);
  // The strips were measured around the centre the edits held; the last histogram read it.
  const IntegrationParams& p = state().integration_params;
  const Centre found = match_opposite_sides(lists, p.X0, p.Y0);
  NewX = found.x, NewY = found.y;
  return 0;
}

}  // namespace kestrin
