// Slow, literal per-pixel transcriptions of the histogram kernels, for comparing with the
// routines: every pixel of the box in row-major order, the exclusion and region tests of
// the shared state, the formulas written out step by step with the standard library's
// functions, one pair of sums for the whole run.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/integration_area.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin::test {

enum class RefKind { Flat, Fine, Curved, Distance };

// The reference pattern: the values, each value before its final truncation (to tell
// rounding ties), and the last filled bin. Stored as far as the sums reached; the bins
// beyond, like the empty ones, hold `empty`.
struct RefPattern {
  std::vector<int32_t> values;
  std::vector<double> exact;
  std::vector<bool> filled;
  int32_t last = 0;
  int32_t empty = 0;

  int32_t value(int32_t i) const {
    return size_t(i) < values.size() && filled[size_t(i)] ? values[size_t(i)] : empty;
  }
  double exact_value(int32_t i) const { return size_t(i) < exact.size() ? exact[size_t(i)] : 0.0; }
};

// Sums over bins 0..36000, stored as far as some bin is reached.
struct RefSums {
  std::vector<double> w, s;
  void reach(size_t bin) {
    if (bin >= w.size()) w.resize(bin + 1, 0.0), s.resize(bin + 1, 0.0);
  }
  // Splits I at bin position pos as the routines do; nothing before bin 0 or past bin 36000.
  void split(double pos, double I) {
    if (!(pos >= 0)) return;
    const double b = std::trunc(pos);
    if (b + 1 > kPatternSize - 1) return;
    const size_t i = size_t(b);
    reach(i + 1);
    w[i] += (b + 1) - pos;
    w[i + 1] += pos - b;
    s[i] += ((b + 1) - pos) * I;
    s[i + 1] += (pos - b) * I;
  }
};

inline constexpr double kRefPi = 3.14159265358979323846;

// True when the pixel is left out by OmitGreen or OmitBlue.
inline bool ref_excluded(int32_t x, int32_t y) {
  const SharedState& st = state();
  const size_t at = size_t(x) + size_t(current_image().ImageWidth) * size_t(y);
  if (st.OmitGreen && st.image_mask.bytes.size() > at && st.image_mask.bytes[at] != 0) return true;
  if (st.OmitBlue && st.display_levels.level.size() > at && st.display_levels.level[at] == 0) return true;
  return false;
}

// Calls visit(x, y, I) for every pixel of the area's box that passes the exclusions and the
// area's region test (0 none, 1 band, 2 sector), row-major.
inline void ref_walk(const IntegrationRegion& area, int region,
                     const std::function<void(int32_t, int32_t, double)>& visit) {
  const ImageStore& img = current_image();
  for (int32_t y = std::max(area.y1, 0); y <= std::min(area.y2, img.ImageHeight - 1); ++y)
    for (int32_t x = std::max(area.x1, 0); x <= std::min(area.x2, img.ImageWidth - 1); ++x) {
      if (ref_excluded(x, y)) continue;
      if (region == 1 && area.band.outside(x, y)) continue;
      if (region == 2 && area.sector.outside(x, y)) continue;
      visit(x, y, img.intensity(x, y));
    }
}

// 2theta (degrees) of the flat detector at the point (px, py), the steps written out one by one.
inline double ref_flat_two_theta(const IntegrationParams& p, double px, double py) {
  const double d = kRefPi / 180.0;
  const double dx = px - p.X0;
  const double dy = (p.Y0 - py) * p.pixel_ratio();
  const double u = dx * std::cos(p.Beta * d) + dy * std::sin(p.Beta * d);
  const double v = dy * std::cos(p.Beta * d) - dx * std::sin(p.Beta * d);
  const double c2 = std::cos(p.Phi * d) * std::cos(p.Phi * d);
  const double k = std::sin(p.Phi * d) * p.pixel_x / p.Lo;
  const double rho = std::sqrt(u * u * c2 + v * v) / (u * k + 1);
  return std::atan(rho * p.pixel_x / p.Lo) / d;
}

inline double ref_curved_two_theta(const IntegrationParams& p, double x, double y) {
  const double A = (x - p.X0) * p.pixel_x;
  const double h = (p.Y0 - y) * p.pixel_y;
  const double c = std::cos(A / p.Lo) * p.Lo / std::sqrt(p.Lo * p.Lo + h * h);
  return std::acos(std::max(-1.0, std::min(1.0, c))) * 180.0 / kRefPi;
}

// The tilt-corrected distance of the pixel histograms; NaN behind the sample.
inline double ref_distance(const IntegrationParams& p, double x, double y) {
  const double d = 0.017453292519943295;
  const double dy = (p.Y0 - y) * p.pixel_ratio();
  const double dx = x - p.X0;
  const double u = dy * std::sin(d * p.Beta) + dx * std::cos(d * p.Beta);
  const double v = dy * std::cos(d * p.Beta) - dx * std::sin(d * p.Beta);
  const double c2 = std::cos(d * p.Phi) * std::cos(d * p.Phi);
  const double k = p.Phi == 0 ? 0.0 : std::sin(d * p.Phi) * p.pixel_x / p.Lo;
  if (!(u * k + 1.0 > 0)) return std::nan("");
  return std::sqrt(v * v + c2 * u * u) / (u * k + 1.0);
}

// Adds pixel (x, y) of intensity I to the sums as the kind samples it.
inline void ref_add(RefKind kind, const IntegrationParams& p, int32_t x, int32_t y, double I, RefSums& sums) {
  switch (kind) {
    case RefKind::Flat:
      sums.split((ref_flat_two_theta(p, x, y) - p.two_theta_begin) / p.two_theta_step, I);
      break;
    case RefKind::Fine:
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
          sums.split((ref_flat_two_theta(p, x + i / 3.0, y + j / 3.0) - p.two_theta_begin) / p.two_theta_step, I);
      break;
    case RefKind::Curved:
      sums.split((ref_curved_two_theta(p, x, y) - p.two_theta_begin) / p.two_theta_step, I);
      break;
    case RefKind::Distance: {
      const double r = ref_distance(p, x, y);
      if (r < 36000) sums.split(r, I);
      break;
    }
  }
}

// The final pass: bins from `first` on with weight of at least 1e-6; 2theta kinds divided
// by cos^3 of the bin's angle (not the curved plate).
inline RefPattern ref_finish(RefKind kind, const IntegrationParams& p, const RefSums& sums, int32_t first) {
  RefPattern r;
  r.values.assign(sums.w.size(), 0);
  r.exact.assign(sums.w.size(), 0.0);
  r.filled.assign(sums.w.size(), false);
  const bool cos3 = kind == RefKind::Flat || kind == RefKind::Fine;
  for (int32_t i = first; i < int32_t(sums.w.size()); ++i) {
    if (!(sums.w[size_t(i)] >= 1e-6)) continue;
    double c3 = 1.0;
    if (cos3) {
      const double c = std::cos((p.two_theta_begin + i * p.two_theta_step) * kRefPi / 180.0);
      c3 = c * c * c;
    }
    r.exact[size_t(i)] = 10.0 * sums.s[size_t(i)] / (sums.w[size_t(i)] * c3) + 0.5;
    r.values[size_t(i)] = int32_t(std::trunc(r.exact[size_t(i)]));
    r.filled[size_t(i)] = true;
    r.last = i;
  }
  return r;
}

// The region histogram of the current area (after a routine ran, so the parameters are the
// routine's and the area is the one it integrated).
inline RefPattern ref_region(RefKind kind, int region) {
  const IntegrationParams p = state().integration_params;
  const IntegrationRegion area = calc_integration_area().value_or(IntegrationRegion{});
  RefSums sums;
  ref_walk(area, region, [&](int32_t x, int32_t y, double I) { ref_add(kind, p, x, y, I, sums); });
  return ref_finish(kind, p, sums, kind == RefKind::Distance ? 20 : 0);
}

// One pattern per sector over the whole image: free sectors of the division angle (sector
// index `count` joins sector 0) with the kind's split, or (fixed16) the sixteen fixed sectors
// with untilted distances rounded to the nearest bin (index 16 joins sector 0).
inline std::vector<RefPattern> ref_sectored(RefKind kind, bool fixed16, int32_t count) {
  const IntegrationParams p = state().integration_params;
  const ImageStore& img = current_image();
  std::vector<RefSums> sums(static_cast<size_t>(count));
  IntegrationRegion whole;
  whole.x2 = img.ImageWidth - 1;
  whole.y2 = img.ImageHeight - 1;
  ref_walk(whole, 0, [&](int32_t x, int32_t y, double I) {
    const double dx = x - p.X0, dy = (p.Y0 - y) * p.pixel_ratio();
    int32_t s = fixed16 ? sector16_index(dx, dy) : sector_index(dx, dy, p.division_angle);
    if (s == (fixed16 ? 16 : count)) s = 0;
    RefSums& into = sums[size_t(s)];
    if (!fixed16) return ref_add(kind, p, x, y, I, into);
    const double k = std::trunc(std::sqrt(dx * dx + dy * dy) + 0.5);
    if (k > kPatternSize - 1) return;
    into.reach(size_t(k));
    into.w[size_t(k)] += 1;
    into.s[size_t(k)] += I;
  });
  std::vector<RefPattern> out;
  for (const RefSums& s : sums) out.push_back(ref_finish(kind, p, s, kind == RefKind::Distance ? 20 : 0));
  return out;
}

// Our values (bins 0..n-1) equal the reference's, or differ by 1 where the reference's
// value lies within a rounding error of a tie. Returns the number of such ties.
inline int expect_matches_reference(const std::function<int32_t(int32_t)>& ours, const RefPattern& ref, int32_t n) {
  int ties = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t a = ours(i), b = ref.value(i);
    if (a == b) continue;
    const double e = ref.exact_value(i);
    const bool tie = std::fabs(e - std::round(e)) < 1e-9 * std::max(1.0, std::fabs(e));
    EXPECT_TRUE(std::abs(int64_t(a) - b) == 1 && tie) << "bin " << i << ": " << a << " against " << b << " (" << e << ")";
    ++ties;
  }
  return ties;
}

}  // namespace kestrin::test
