// The windows of the peak-fitting drivers: smoothing and slopes of a peak's values, the
// Levenberg-Marquardt window narrowed to the peak's inflection points, and the CFDQR2
// window bounded by the neighbouring valleys.
#pragma once

#include <cstdint>
#include <span>

namespace kestrin {

// Replaces each value i in h .. n-1-h by the mean of the 2h+1 values i-h .. i+h of an
// unchanged copy; the h values at each end stay.
void moving_average(std::span<double> values, int32_t h);

// Forward slope in place: y[i-1] becomes (y[i] - y[i-1]) / (x[i] - x[i-1]) for i = 1 .. n-1
// and stays where x[i] = x[i-1]; the last value stays.
void forward_slope(std::span<const double> x, std::span<double> y);

// First and last point of a window, inclusive.
struct PointRange {
  int32_t first = 0, last = -1;
  int32_t size() const { return last - first + 1; }
};

// The narrowing stops here when L and R still change (they can cycle between two states).
constexpr int32_t kMaxNarrowRounds = 100;

struct NarrowedWindow {
  int32_t L = 0, R = 0;  // steepest ascent and steepest descent of the smoothed values
  PointRange fit;        // the fitting window, within the values
  int32_t rounds = 0;    // refinement rounds run
};

// Narrows the values (x, y) of a raw window round point `middle` to a fitting window: the
// values smoothed over 5 points and their forward slope; from `middle` a walk to the right
// finds the steepest descent R and one to the left the steepest ascent L (each walk stops
// after two steps without a new extreme); then, with m = (L + R) / 2 and w = R - L, the
// points Round(m - w) .. Round(m + w) give a new L (largest slope) and R (smallest) until
// neither changes, at most kMaxNarrowRounds rounds. The fitting window is
// Round(m - w) .. Round(m + w) for the Lorentzian (fit_type 0) and Round(m - 1.5 w) ..
// Round(m + 1.5 w) otherwise, clipped to the values.
NarrowedWindow narrow_fit_window(std::span<const double> x, std::span<const double> y, int32_t middle,
                                 int32_t fit_type);

// Most points a CFDQR2 window holds.
constexpr int32_t kMaxFitWindow = 500;

// The CFDQR2 window round point k of y (0 <= k < y.size()). Walking left from k, the walk
// stops at the second of two points in a row that are each lower than their left neighbour;
// the window starts 2 points left of the first of the two (at k - 12 when the walk reaches
// the start without such a pair). Walking right the same with the right neighbour, the
// window ending at the first of the two (at k + 10 without a pair). Clipped to the points of
// y; a window of more than kMaxFitWindow points loses the same number of points at each end.
PointRange fit_window(std::span<const double> y, int32_t k);

}  // namespace kestrin
