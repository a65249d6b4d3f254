// The spot background calculation.
#include "analysis/spot_bg.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/rank_filter.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

constexpr int32_t kNotFound = 999;
constexpr double kThresholdStep = 0.01;

// The squares about one pixel: its medians by half size and the extremes of each ring.
class SpotSquares {
public:
  SpotSquares(const ImageStore& img, int32_t x, int32_t y, int32_t smallest, int32_t largest)
      : img_(img), x_(x), y_(y), smallest_(smallest) {
    const size_t n = size_t(largest - smallest + 1);
    median_.resize(n);
    ring_max_.resize(n);
    ring_min_.resize(n);
    CodeHistogram hist;
    uint64_t held = 0;
    auto add = [&](int32_t px, int32_t py) {
      hist.add(img_.image_codes[size_t(px) + size_t(img_.ImageWidth) * size_t(py)]);
      ++held;
    };
    for (int32_t py = y - smallest; py <= y + smallest; ++py)
      for (int32_t px = x - smallest; px <= x + smallest; ++px) add(px, py);
    for (int32_t h = smallest; h <= largest; ++h) {
      if (h > smallest) for_ring(h, add);
      median_[size_t(h - smallest)] = img_.intensity_table[hist.select(held / 2)];
      double lo = std::numeric_limits<double>::infinity(), hi = -lo;
      for_ring(h, [&](int32_t px, int32_t py) {
        lo = std::min(lo, intensity(px, py));
        hi = std::max(hi, intensity(px, py));
      });
      ring_min_[size_t(h - smallest)] = lo;
      ring_max_[size_t(h - smallest)] = hi;
    }
  }

  double median(int32_t h) const { return median_[size_t(h - smallest_)]; }

  // True when a pixel of ring r exceeds t times m. Division keeps the order of its
  // numerators, so the ring's largest intensity decides (its smallest for a negative m).
  bool hot(int32_t r, double m, double t) const {
    const bool positive = m > 0 || (m == 0 && !std::signbit(m));
    const double extreme = positive ? ring_max_[size_t(r - smallest_)] : ring_min_[size_t(r - smallest_)];
    return extreme / m > t;
  }

  double intensity(int32_t px, int32_t py) const { return img_.intensity(px, py); }

  // The border of the (2r + 1) square: its top and bottom rows, then its left and right
  // columns without the corners.
  template <class Fn>
  void for_ring(int32_t r, Fn fn) const {
    for (int32_t px = x_ - r; px <= x_ + r; ++px) fn(px, y_ - r);
    for (int32_t px = x_ - r; px <= x_ + r; ++px) fn(px, y_ + r);
    for (int32_t py = y_ - r + 1; py <= y_ + r - 1; ++py) fn(x_ - r, py);
    for (int32_t py = y_ - r + 1; py <= y_ + r - 1; ++py) fn(x_ + r, py);
  }

private:
  const ImageStore& img_;
  int32_t x_, y_, smallest_;
  std::vector<double> median_, ring_max_, ring_min_;
};

// The innermost ring, walking inwards, at which a hot ring is followed by a cold one (the
// outside counts as hot).
int32_t found_ring(const SpotSquares& sq, int32_t largest, int32_t smallest, double m, double t) {
  int32_t found = kNotFound;
  bool flag = true;
  for (int32_t r = largest; r >= smallest; --r) {
    const bool hot = sq.hot(r, m, t);
    if (flag && !hot) {
      found = r;
      flag = false;
    }
    if (hot) flag = true;
  }
  return found;
}

}  // namespace

int32_t spot_bg_calc(int32_t start_size, int32_t end_size, double& bg, int32_t& best_size, double& best_threshold,
                     double& amplitude, double& net_intensity, int32_t& bg_distance, double threshold_start,
                     double threshold_end, double spot_intensity, double y, double x) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1 || !(std::fabs(x) < 1e9 && std::fabs(y) < 1e9) ||
      img.image_codes.size() != size_t(img.ImageWidth) * size_t(img.ImageHeight))
    return -1;
  const int32_t px = int32_t(std::nearbyint(x)), py = int32_t(std::nearbyint(y));
  const int32_t largest = std::min({start_size, px, py, img.ImageWidth - 1 - px, img.ImageHeight - 1 - py});
  const double steps = std::nearbyint((threshold_start - threshold_end) / kThresholdStep);
  if (end_size < 0 || largest < end_size || !(steps < double(kMaxSpotThresholds))) return -1;
  const SpotSquares sq(img, px, py, end_size, largest);
  int32_t best = kNotFound;
  best_size = kNotFound;
  best_threshold = threshold_start;
  for (int32_t hs = largest; hs >= end_size; --hs)
    for (int64_t i = 0; i <= int64_t(steps); ++i) {
      const double t = threshold_start - double(i) * kThresholdStep;
      const int32_t found = found_ring(sq, largest, end_size, sq.median(hs), t);
      if (found < best) best = found, best_size = hs, best_threshold = t;
    }
  if (best == kNotFound) return -2;
  double sum = 0;
  int32_t count = 0;
  sq.for_ring(best, [&](int32_t rx, int32_t ry) { sum += sq.intensity(rx, ry), ++count; });
  bg = sum / count;
  net_intensity = 0;
  for (int32_t ry = py - best; ry <= py + best; ++ry)
    for (int32_t rx = px - best; rx <= px + best; ++rx) net_intensity += sq.intensity(rx, ry) - bg;
  amplitude = spot_intensity - bg;
  bg_distance = best;
  return 0;
}

}  // namespace kestrin
