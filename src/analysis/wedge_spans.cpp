// Row spans of azimuth wedges.
#include "analysis/wedge_spans.h"

#include <algorithm>
#include <cmath>

#include "analysis/geometry.h"

namespace kestrin {

namespace {

constexpr double kInf = INFINITY;

}  // namespace

WedgeSpans::WedgeSpans(double start, double end) {
  const int parts = std::max(1, int(std::ceil((end - start) / 90.0)));
  for (int i = 0; i < parts; ++i) {
    const double b1 = (start + (end - start) * i / parts) * kDegToRad;
    const double b2 = (start + (end - start) * (i + 1) / parts) * kDegToRad;
    // Left of the ray at b1, right of the ray at b2.
    parts_.push_back({-std::sin(b1), std::cos(b1)});
    parts_.push_back({std::sin(b2), -std::cos(b2)});
  }
  convex_ = end - start <= 180.0;
  first_ = parts_.front();
  last_ = parts_.back();
}

void WedgeSpans::clip(const Side& s, double c, double dy, double& lo, double& hi) {
  const double need = c - s.ny * dy;  // s.nx dx >= need
  if (s.nx > 0) {
    lo = std::max(lo, need / s.nx);
  } else if (s.nx < 0) {
    hi = std::min(hi, need / s.nx);
  } else if (need > 0) {
    lo = kInf;
    hi = -kInf;
  }
}

bool WedgeSpans::columns(double X0, double lo, double hi, int32_t x1, int32_t x2, int32_t& first, int32_t& last) {
  const double a = std::floor(X0 + lo), b = std::ceil(X0 + hi);
  if (!(a <= b && a <= x2 && b >= x1)) return false;
  first = a > x1 ? int32_t(a) : x1;
  last = b < x2 ? int32_t(b) : x2;
  return true;
}

void WedgeSpans::reach(double dy, double& lo, double& hi) const {
  lo = kInf;
  hi = -kInf;
  for (size_t i = 0; i < parts_.size(); i += 2) {
    double plo = -kInf, phi = kInf;
    clip(parts_[i], -kMargin, dy, plo, phi);
    clip(parts_[i + 1], -kMargin, dy, plo, phi);
    if (!(plo <= phi)) continue;
    lo = std::min(lo, plo);
    hi = std::max(hi, phi);
  }
}

void WedgeSpans::cover(double dy, double& lo, double& hi) const {
  lo = -kInf;
  hi = kInf;
  if (!convex_) {
    lo = kInf;
    hi = -kInf;
    return;
  }
  clip(first_, kMargin, dy, lo, hi);
  clip(last_, kMargin, dy, lo, hi);
}

}  // namespace kestrin
