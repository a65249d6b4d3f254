// The spot search written out literally, pixel by pixel and pair by pair, as the slow
// reference the fast search is compared with.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/spot_search.h"
#include "image/formats/image_data.h"

namespace kestrin::test {

struct ReferenceSpot {
  double x, y, intensity;
};

inline std::vector<SpotCandidate> reference_candidates(const ImageData& img, const SpotScan& s) {
  std::vector<SpotCandidate> out;
  auto I = [&](int32_t x, int32_t y) { return img.intensity(x, y); };
  const int32_t b = s.b;
  for (int32_t y = s.y0 + b; y <= s.y1 - 1 - b; ++y)
    for (int32_t x = s.x0 + b; x <= s.x1 - 1 - b; ++x) {
      double top = 0, bottom = 0, left = 0, right = 0, box = 0;
      for (int32_t i = x - b; i <= x + b; ++i) top += I(i, y - b);
      for (int32_t i = x - b; i <= x + b; ++i) bottom += I(i, y + b);
      for (int32_t j = y - b + 1; j <= y + b - 1; ++j) left += I(x - b, j);
      for (int32_t j = y - b + 1; j <= y + b - 1; ++j) right += I(x + b, j);
      for (int32_t j = y - s.s; j <= y + s.s; ++j)
        for (int32_t i = x - s.s; i <= x + s.s; ++i) box += I(i, j);
      const double bg = (top + bottom + left + right) / (8 * b);
      const double peak = box / ((2 * s.s + 1) * (2 * s.s + 1));
      if (bg == 0 || top == 0 || bottom == 0 || left == 0 || right == 0) continue;
      if (peak / bg > s.ratio && peak - bg > 15.0 && std::fabs(1 - top / bottom) < s.tolerance &&
          std::fabs(1 - bottom / left) < s.tolerance && std::fabs(1 - left / right) < s.tolerance &&
          std::fabs(1 - right / top) < s.tolerance)
        out.push_back({x, y});
    }
  return out;
}

// The non-transitive duplicate pass over every pair.
inline std::vector<bool> reference_duplicates(const std::vector<double>& x, const std::vector<double>& y, double d) {
  std::vector<bool> gone(x.size(), false);
  for (size_t i = 0; i < x.size(); ++i) {
    if (gone[i]) continue;
    for (size_t j = i + 1; j < x.size(); ++j)
      if (std::fabs(x[i] - x[j]) <= d && std::fabs(y[i] - y[j]) <= d) gone[j] = true;
  }
  return gone;
}

// The refinement without a mask.
inline double reference_refine(const ImageData& img, double& x, double& y) {
  const int32_t W = img.ImageWidth, H = img.ImageHeight;
  double maximum = 0;
  int32_t mx = -1, my = -1;
  for (int32_t j = -6; j <= 6; ++j)
    for (int32_t i = -6; i <= 6; ++i) {
      const int32_t px = int32_t(std::trunc(x + i)), py = int32_t(std::trunc(y + j));
      if (px < 0 || py < 0 || px >= W || py >= H) continue;
      if (img.intensity(px, py) > maximum) maximum = img.intensity(px, py), mx = px, my = py;
    }
  if (mx < 0) return 0;
  double sx = 0, sy = 0, sw = 0;
  for (int32_t j = -9; j <= 9; ++j)
    for (int32_t i = -9; i <= 9; ++i) {
      const int32_t px = mx + i, py = my + j;
      if (px < 0 || py < 0 || px >= W || py >= H) continue;
      const double v = img.intensity(px, py);
      if (v >= 0.1 * maximum) sx += i * v, sy += j * v, sw += v;
    }
  if (sw != 0) x = sx / sw + mx, y = sy / sw + my;
  return maximum;
}

inline std::vector<ReferenceSpot> reference_search(const ImageData& img, const SpotScan& s) {
  std::vector<double> x, y;
  for (const SpotCandidate& c : reference_candidates(img, s)) x.push_back(c.x), y.push_back(c.y);
  const std::vector<bool> first = reference_duplicates(x, y, s.d);
  std::vector<ReferenceSpot> refined;
  for (size_t i = 0; i < x.size(); ++i) {
    if (first[i]) continue;
    ReferenceSpot r{x[i], y[i], 0};
    r.intensity = reference_refine(img, r.x, r.y);
    refined.push_back(r);
  }
  std::vector<double> rx, ry;
  for (const ReferenceSpot& r : refined) rx.push_back(r.x), ry.push_back(r.y);
  const std::vector<bool> second = reference_duplicates(rx, ry, 2.0);
  std::vector<ReferenceSpot> out;
  for (size_t i = 0; i < refined.size(); ++i)
    if (!second[i]) out.push_back(refined[i]);
  return out;
}

}  // namespace kestrin::test
