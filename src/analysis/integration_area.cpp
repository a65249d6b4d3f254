// The integration region: boxes per direction, the slanted band, the sector, the area tags
// and the border clipping.
#include "analysis/integration_area.h"

#include <algorithm>
#include <limits>
#include <string>

#include "analysis/geometry.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"

namespace kestrin {

namespace {

constexpr double kSqrtHalf = 0.70710678118654752440;  // cos 45 = sin 45

// Truncation toward zero into Int32, saturated, so centres far off the image give far-off
// but representable coordinates.
int32_t trunc32(double z) { return saturate_int32(std::trunc(z)); }
// T(z) = Trunc(z + 0.5) in 64 bits (box arithmetic adds and subtracts 1 afterwards).
int64_t T(double z) { return trunc32(z + 0.5); }

struct Box {
  int64_t x1 = 0, x2 = -1, y1 = 0, y2 = -1;
  void widen(int64_t x, int64_t y) {
    x1 = std::min(x1, x);
    x2 = std::max(x2, x);
    y1 = std::min(y1, y);
    y2 = std::max(y2, y);
  }
};

// The rectangle angle brought into [0, 360) and its quadrant. The exact multiples of 90
// take the quadrant whose tests give the half-strip in the direction of the angle.
double normalised_angle(double a) {
  double n = std::fmod(a, 360.0);
  if (n < 0) n += 360.0;
  if (n >= 360.0) n = 0.0;
  return n;
}

int32_t quadrant_of(double a) {
  if (a == 0.0 || a == 90.0) return 0;
  if (a == 180.0) return 1;
  if (a == 270.0) return 2;
  if (a < 90) return 0;
  if (a < 180) return 1;
  if (a < 270) return 2;
  return 3;
}

Box direction_box(const IntegrationParams& p, int32_t W, int32_t H, std::string& tag) {
  const double half = p.band_width / 2.0;
  const double X0 = p.X0, Y0 = p.Y0, c = kSqrtHalf;
  static const char* const tags[] = {"t", "b", "v", "l", "r", "h", "f", "ru", "ru", "ru", "ru"};
  Box b;
  switch (p.RectDirection) {
    case 0: b = {T(X0 - half), T(X0 + half), 0, T(Y0) - 1}; break;
    case 1: b = {T(X0 - half), T(X0 + half), T(Y0) + 1, H - 1}; break;
    case 2: b = {T(X0 - half), T(X0 + half), 0, H - 1}; break;
    case 3: b = {0, T(X0) - 1, T(Y0 - half), T(Y0 + half)}; break;
    case 4: b = {T(X0) + 1, W - 1, T(Y0 - half), T(Y0 + half)}; break;
    case 5: b = {0, W - 1, T(Y0 - half), T(Y0 + half)}; break;
    case 6: b = {0, W - 1, 0, H - 1}; break;
    case 7: b = {T(X0 - c * half), W - 1, 0, T(Y0 + c * half)}; break;
    case 8: b = {T(X0 - c * half), W - 1, T(Y0 - c * half), H - 1}; break;
    case 9: b = {0, T(X0 + c * half), 0, T(Y0 + c * half)}; break;
    case 10: b = {0, T(X0 + c * half), T(Y0 - c * half), H - 1}; break;
    default: return Box{};
  }
  tag = tags[p.RectDirection];
  return b;
}

// One long edge of the band: from its point P towards the angle, clipped at the border.
void widen_by_edge(Box& b, bool first, double px, double py, double ar, double L) {
  const int32_t sx = trunc32(px), sy = trunc32(py);
  int32_t ex = trunc32(std::cos(ar) * L + px), ey = trunc32(std::sin(ar) * L + py);
  clip_to_image(image_outcode(ex, ey), sx, sy, ex, ey, ex, ey);
  if (first) {
    b = {std::min(sx, ex), std::max(sx, ex), std::min(sy, ey), std::max(sy, ey)};
  } else {
    b.widen(sx, sy);
    b.widen(ex, ey);
  }
}

// The band's membership test without its angle part: the diagonal directions use it.
BandTest direction_band(const IntegrationParams& p) {
  BandTest b;
  b.direction = p.RectDirection;
  b.X0 = p.X0;
  b.Y0 = p.Y0;
  b.d = p.band_width / std::sqrt(2.0);
  return b;
}

Box angle_box(const IntegrationParams& p, int32_t W, int32_t H, IntegrationRegion& r) {
  const double a = normalised_angle(p.rect_angle);
  r.tag = "_rect_angle" + std::to_string(trunc32(p.rect_angle));
  const double ar = a * kDegToRad, half = p.band_width / 2.0, L = double(W) + double(H);
  BandTest& band = r.band;
  band.angle_mode = true;
  band.quadrant = quadrant_of(a);
  band.t = std::tan(a * kDegToRad);
  band.u = std::tan((a - 90.0) * kDegToRad);
  band.p1x = p.X0 + half * std::sin(ar), band.p1y = p.Y0 - half * std::cos(ar);
  band.p2x = p.X0 - half * std::sin(ar), band.p2y = p.Y0 + half * std::cos(ar);
  Box b;
  widen_by_edge(b, true, band.p1x, band.p1y, ar, L);
  widen_by_edge(b, false, band.p2x, band.p2y, ar, L);
  return b;
}

// The sector's azimuth intervals. Start angles of 360 and above are first brought down by
// whole turns, so that a sector never covers more than its own span.
void set_sector_intervals(SectorTest& sector, double s, double e) {
  while (s >= 360.0) {
    s -= 360.0;
    e -= 360.0;
  }
  auto set = [&sector](double lo1, double hi1, double lo2, double hi2) {
    sector.lo1 = lo1;
    sector.hi1 = hi1;
    sector.lo2 = lo2;
    sector.hi2 = hi2;
  };
  if (s >= 0 && s < 180) {
    if (e > 0 && e <= 180) set(s, e, s, e);
    else if (e > 180 && e <= 360) set(s, 180, -180, e - 360);
    else set(-180, e - 360, s, 180);
  } else {
    if (e > 180 && e <= 540) set(s - 360, e - 360, s - 360, e - 360);
    else set(s - 360, 180, -180, e - 720);
  }
}

Box sector_box(const IntegrationParams& p, int32_t W, int32_t H, IntegrationRegion& r) {
  const double s = p.sector_start, e = p.sector_end;
  const int32_t cx = trunc32(p.X0), cy = trunc32(p.Y0);
  Box b{cx, cx, cy, cy};
  // Past 3600 steps of 0.1 degree the arc has gone round once; more adds nothing.
  const double steps = std::trunc((e - s) * 10.0);
  const int32_t n = steps > 3600.0 ? 3600 : trunc32(steps);
  r.tag = Format("_sector%d_%d", {trunc32(s), trunc32(e)});
  const double L = double(W) + double(H);
  for (int32_t i = 0; i <= n + 1; ++i) {
    const double ang = std::min(s + 0.1 * i, e) * kDegToRad;
    int32_t x = trunc32(std::cos(ang) * L + p.X0), y = trunc32(std::sin(ang) * L + p.Y0);
    clip_to_image(image_outcode(x, y), cx, cy, x, y, x, y);
    b.widen(x, y);
  }
  r.sector.X0 = p.X0;
  r.sector.Y0 = p.Y0;
  set_sector_intervals(r.sector, s, e);
  return b;
}

int32_t to_int32(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::optional<IntegrationRegion> calc_integration_area() {
  const ImageStore& img = current_image();
  const IntegrationParams& p = state().integration_params;
  if (p.X0 == 0.0 && p.Y0 == 0.0) return std::nullopt;
  const int32_t W = img.ImageWidth, H = img.ImageHeight;
  IntegrationRegion r;
  r.band = direction_band(p);
  Box b;
  if (p.IntegrationMode == 0 && p.RectAngleMode == 0) b = direction_box(p, W, H, r.tag);
  else if (p.IntegrationMode == 0) b = angle_box(p, W, H, r);
  else b = sector_box(p, W, H, r);
  if (b.x1 < 0) b.x1 = 0;
  if (b.x2 >= W) b.x2 = W - 1;
  if (b.y1 < 0) b.y1 = 0;
  if (b.y2 >= H) b.y2 = H - 1;
  r.x1 = to_int32(b.x1);
  r.x2 = to_int32(b.x2);
  r.y1 = to_int32(b.y1);
  r.y2 = to_int32(b.y2);
  state().nax_pattern.PatternName = img.ImageBaseName + r.tag;
  return r;
}

int32_t sector16_index(double dx, double dy) {
  const double v = std::atan2(dy, dx) * 8.0 / kPi + 0.5;
  return v > 0 ? trunc32(v) : trunc32(v + 16.0);
}

int32_t sector_index(double dx, double dy, double angle) {
  double az = std::atan2(dy, dx) * kRadToDeg;
  if (az < 0) az += 360.0;
  return trunc32(az / angle);
}

int32_t image_outcode(int32_t x, int32_t y) {
  const ImageStore& img = current_image();
  int32_t code = 0;
  if (x < 0) code += 1;
  if (x > img.ImageWidth - 1) code += 2;
  if (y < 0) code += 4;
  if (y > img.ImageHeight - 1) code += 8;
  return code;
}

int32_t clip_to_image(int32_t code, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t& xo, int32_t& yo) {
  const ImageStore& img = current_image();
  const double W1 = double(img.ImageWidth) - 1.0, H1 = double(img.ImageHeight) - 1.0;
  const double X0 = x0, Y0 = y0, X1 = x1, Y1 = y1;
  if (code & 1) {
    if (x1 == x0) return -1;
    const int32_t y = trunc32((Y1 - Y0) * (0.0 - X0) / (X1 - X0) + Y0);
    if (y >= 0 && y <= H1) { xo = 0; yo = y; return 1; }
  }
  if (code & 2) {
    if (x1 == x0) return -1;
    const int32_t y = trunc32((Y1 - Y0) * (W1 - X0) / (X1 - X0) + Y0);
    if (y >= 0 && y <= H1) { xo = int32_t(W1); yo = y; return 1; }
  }
  if (code & 4) {
    if (y1 == y0) return -1;
    const int32_t x = trunc32((X1 - X0) * (0.0 - Y0) / (Y1 - Y0) + X0);
    if (x >= 0 && x <= W1) { xo = x; yo = 0; return 1; }
  }
  if (code & 8) {
    if (y1 == y0) return -1;
    const int32_t x = trunc32((X1 - X0) * (H1 - Y0) / (Y1 - Y0) + X0);
    if (x >= 0 && x <= W1) { xo = x; yo = int32_t(H1); return 1; }
  }
  return -1;
}

}  // namespace kestrin
