// The fitting windows of the peak-fitting drivers.
#include "analysis/fit_windows.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/convert.h"

namespace kestrin {

namespace {

constexpr int32_t kSmoothing = 2;       // moving average over 2 * 2 + 1 points
constexpr int32_t kStepsWithoutNew = 2;  // a walk ends after this many steps without a new extreme
constexpr int32_t kNoLeftValley = 12;
constexpr int32_t kNoRightValley = 10;

// Walks from `from` by `step` over slope while it reaches new extremes (new minima when
// falling, new maxima otherwise); returns the point of the last extreme.
int32_t walk_to_extreme(std::span<const double> slope, int32_t from, int32_t step, bool falling) {
  const int32_t n = int32_t(slope.size());
  int32_t best = from, misses = 0;
  for (int32_t i = from + step; i >= 0 && i < n && misses < kStepsWithoutNew; i += step) {
    const bool better = falling ? slope[size_t(i)] < slope[size_t(best)] : slope[size_t(i)] > slope[size_t(best)];
    if (better) {
      best = i;
      misses = 0;
    } else {
      ++misses;
    }
  }
  return best;
}

// Round(v) clipped to 0 .. n-1.
int32_t clipped_point(double v, int32_t n) {
  const double c = std::clamp(v, -1.0, double(n));
  return std::clamp(Round(c), 0, n - 1);
}

// Walks from k by `step` until the second of two points in a row that are each lower than
// their next neighbour on the walk's side; returns the first of the two, found telling
// whether the walk met such a pair before the end of y.
int32_t valley_walk(std::span<const double> y, int32_t k, int32_t step, bool& found) {
  const int32_t n = int32_t(y.size());
  int32_t run = 0, first = k;
  for (int32_t i = k; i + step >= 0 && i + step < n; i += step) {
    if (y[size_t(i)] < y[size_t(i + step)]) {
      if (++run == 1) first = i;
      if (run == 2) {
        found = true;
        return first;
      }
    } else {
      run = 0;
    }
  }
  found = false;
  return first;
}

}  // namespace

void moving_average(std::span<double> values, int32_t h) {
  const int32_t n = int32_t(values.size());
  if (h <= 0 || n < 2 * h + 1) return;
  const std::vector<double> copy(values.begin(), values.end());
  for (int32_t i = h; i <= n - 1 - h; ++i) {
    double sum = 0;
    for (int32_t j = i - h; j <= i + h; ++j) sum += copy[size_t(j)];
    values[size_t(i)] = sum / double(2 * h + 1);
  }
}

void forward_slope(std::span<const double> x, std::span<double> y) {
  const size_t n = std::min(x.size(), y.size());
  for (size_t i = 1; i < n; ++i)
    if (x[i] != x[i - 1]) y[i - 1] = (y[i] - y[i - 1]) / (x[i] - x[i - 1]);
}

NarrowedWindow narrow_fit_window(std::span<const double> x, std::span<const double> y, int32_t middle,
                                 int32_t fit_type) {
  NarrowedWindow w;
  const int32_t n = int32_t(std::min(x.size(), y.size()));
  if (n < 1) return w;
  middle = std::clamp(middle, 0, n - 1);
  std::vector<double> smooth(y.begin(), y.begin() + n);
  moving_average(smooth, kSmoothing);
  forward_slope(x.first(size_t(n)), smooth);
  // The last value has no forward neighbour and holds no slope.
  const std::span<const double> slope = std::span<const double>(smooth).first(size_t(std::max(n - 1, 1)));
  const int32_t slopes = int32_t(slope.size());
  middle = std::min(middle, slopes - 1);
  w.R = walk_to_extreme(slope, middle, 1, true);
  w.L = walk_to_extreme(slope, middle, -1, false);
  auto centre = [&w] { return (double(w.L) + double(w.R)) / 2; };
  auto width = [&w] { return double(w.R) - double(w.L); };
  while (w.rounds < kMaxNarrowRounds) {
    const int32_t from = clipped_point(centre() - width(), slopes), to = clipped_point(centre() + width(), slopes);
    if (from > to) break;
    const auto [lo, hi] = std::minmax_element(slope.begin() + from, slope.begin() + to + 1);
    // minmax_element gives the last of equal maxima: take the first, as a plain scan does.
    const int32_t L = int32_t(std::find(slope.begin() + from, slope.begin() + to + 1, *hi) - slope.begin());
    const int32_t R = int32_t(lo - slope.begin());
    ++w.rounds;
    if (L == w.L && R == w.R) break;
    w.L = L, w.R = R;
  }
  const double reach = (fit_type == 0 ? 2.0 : 3.0) * (width() / 2);
  w.fit = {clipped_point(centre() - reach, n), clipped_point(centre() + reach, n)};
  return w;
}

PointRange fit_window(std::span<const double> y, int32_t k) {
  const int32_t n = int32_t(y.size());
  if (n < 1) return {};
  k = std::clamp(k, 0, n - 1);
  bool found = false;
  const int32_t left = valley_walk(y, k, -1, found);
  PointRange r;
  r.first = found ? left - 2 : k - kNoLeftValley;
  const int32_t right = valley_walk(y, k, 1, found);
  r.last = found ? right : k + kNoRightValley;
  r.first = std::max(r.first, 0);
  r.last = std::min(r.last, n - 1);
  if (r.size() > kMaxFitWindow) {
    const int32_t cut = (r.size() - kMaxFitWindow + 1) / 2;
    r.first += cut;
    r.last -= cut;
  }
  return r;
}

}  // namespace kestrin
