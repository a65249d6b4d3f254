// The beam centre without the direct beam: the ring radii measured in the strips above,
// below, left and right of the assumed centre; opposite strips see each ring shifted by
// twice the centre's error, so aligning their peak lists corrects the centre.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "analysis/histogram_frame.h"
#include "model/state.h"

namespace kestrin {

class Report;

enum Strip : int32_t { kStripTop = 0, kStripBottom, kStripLeft, kStripRight, kStripCount };
constexpr int32_t kMaxStripPeaks = 11;

// The peak positions (pixels from the centre) of one strip's pixel pattern.
struct StripPeaks {
  std::array<double, kMaxStripPeaks> x{};
  int32_t count = 0;
};
using StripLists = std::array<StripPeaks, kStripCount>;

// The positions of up to 11 peaks of the table, in table order, whose intensity reaches
// a tenth of the pattern maximum.
StripPeaks keep_strip_peaks(const PeakList& table, int32_t maximum);

// The index of the peak of the opposite strip (BOTTOM for pair 0, RIGHT for pair 1)
// nearest to `position`, the first of equal distances; -1 when that strip has none.
int32_t nearest_opposite_peak(const StripLists& lists, double position, int32_t pair);

struct Centre {
  double x = 0, y = 0;
};

// How one pair of opposite strips placed its coordinate.
enum class SideMatch : int32_t {
  kMatched,        // the mean over the pairs within 10 pixels at the best shift
  kNoPeaks,        // a strip of the pair kept no peak
  kNoPair,         // no pair lies within 10 pixels at the best shift
  kNeighbourRings,  // the best shift pairs each ring with its neighbour in the other strip
};

struct SideResult {
  double value = 0;  // the corrected coordinate, 0 unless matched
  SideMatch match = SideMatch::kNoPair;
  int32_t shift = 0;  // the best shift
  // With kNeighbourRings: the position of the peak inside the pairs that pairs with nothing,
  // and whether it lies in the reference strip (TOP, LEFT) or the opposite one.
  double left_out = 0;
  bool left_out_in_reference = false;
};

// One pair (0: TOP against BOTTOM for Y0, 1: LEFT against RIGHT for X0) around coordinate
// C: the whole shift of -100 .. 100 pixels that best aligns the opposite list with the
// reference list (more pairs within 20 pixels, each worth up to 2 pixels of summed misfit;
// then the smaller sum; then the earlier shift), then the mean of C + (x' - x) / 2 over the
// pairs within 10 pixels at that shift. A strip peak nearer the centre than every matched
// peak of its strip is the ring that a pairing of ring n with ring n + 1 skipped (a tilted
// detector whose tilt is not entered leads the shift search there): such a pairing is
// refused, whatever its shift.
SideResult match_side(const StripLists& lists, int32_t pair, double C);

// The centre the lists show: X0 from LEFT against RIGHT, Y0 from TOP against BOTTOM by
// match_side, 0 for a coordinate whose pair did not match.
Centre match_opposite_sides(const StripLists& lists, double X0, double Y0);

// The band width of the centre search's strips, as its edit shows it.
constexpr const char* kNoDirectStripBand = "20";

// What the command does around each strip's measurement: show the strip's direction, which
// the round has just set in integration_params.RectDirection, show the strip's pixel
// histogram, and follow up the strip's peak search (given its status). Any may be empty.
struct StripSteps {
  std::function<void()> direction_chosen;
  std::function<void(const PatternShow&)> histogram_made;
  std::function<void(int32_t status)> peaks_searched;
};

// One round of the centre search, once the command has put the main window in rectangle
// mode by direction with a band of kNoDirectStripBand pixels (the settings stay): for TOP,
// BOTTOM, LEFT and RIGHT in turn sets the strip's direction in the model, makes its pixel
// histogram and searches its peaks, and matches the opposite strips' lists around the
// current centre. NewX and NewY are in image rows and columns; a coordinate whose strips
// did not match keeps its value, and the report says why. The last strip's direction,
// pattern and peaks stay current. Returns 0.
int32_t FindCenterNoDirect(double& NewX, double& NewY, Report& report, const StripSteps& steps = {});

}  // namespace kestrin
