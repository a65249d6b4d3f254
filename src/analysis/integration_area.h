// The integration region, computed as a value: the pixel box a routine walks, the area tag
// of the pattern name, and the per-pixel membership tests of the slanted band and the
// sector. Also the sector index functions and the one-step clipping of rays at the image
// border.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrin {

// The 22.5-degree sector (0..15, 16 only at exactly -11.25 degrees) of an offset, dy up.
int32_t sector16_index(double dx, double dy);
// The free sector of an offset for a division angle, dy up, counter-clockwise from +x.
int32_t sector_index(double dx, double dy, double angle);
int32_t image_outcode(int32_t x, int32_t y);
// Moves the far end (x1, y1) of a ray from the inside point (x0, y0) onto the image border:
// 1 when it did, -1 when not (outputs then unchanged).
int32_t clip_to_image(int32_t code, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t& xo, int32_t& yo);

// The band test in a form for the pixel loops: everything it needs copied out of the
// parameters once per run. The rectangle by angle tests against the band's two long edges
// (points on them, the angle's quadrant and tangents); the diagonal directions RU..LL
// against the centre and the half width; any other region is outside.
struct BandTest {
  bool angle_mode = false;
  int32_t quadrant = 0, direction = 0;
  double t = 0, u = 0;       // tan a, tan(a - 90)
  double p1x = 0, p1y = 0, p2x = 0, p2y = 0;  // a point on each long edge
  double X0 = 0, Y0 = 0, d = 0;

  bool outside(int32_t x, int32_t y) const {
    if (angle_mode) {
      const double L1 = t * x + p1y - t * p1x;
      const double L2 = t * x + p2y - t * p2x;
      const double L3 = u * x + p1y - u * p1x;
      switch (quadrant) {
        case 0: return !(y > L1 && y < L2 && y > L3);
        case 1: return !(y < L1 && y > L2 && y > L3);
        case 2: return !(y < L1 && y > L2 && y < L3);
        case 3: return !(y > L1 && y < L2 && y < L3);
        default: return true;
      }
    }
    const double p = x - X0, q = y - Y0;
    switch (direction) {
      case 7: return !(-d <= p + q && p + q <= d && q <= p);
      case 8: return !(-d <= q - p && q - p <= d && p + q >= 0);
      case 9: return !(-d <= q - p && q - p <= d && p + q <= 0);
      case 10: return !(-d <= p + q && p + q <= d && q >= p);
      default: return true;
    }
  }
};

// The sector as [lo1, hi1) united with [lo2, hi2), azimuths in degrees, clockwise (y down).
struct SectorTest {
  double X0 = 0, Y0 = 0;
  double lo1 = 0, hi1 = 0, lo2 = 0, hi2 = 0;

  bool outside(int32_t x, int32_t y) const {
    const double az = std::atan2(y - Y0, x - X0) * (180.0 / 3.14159265358979323846);
    return !((lo1 <= az && az < hi1) || (lo2 <= az && az < hi2));
  }
};

// The integration region of the current parameters: the inclusive pixel box a routine
// walks (it may be empty: x1 > x2 or y1 > y2), the area tag that the pattern name takes,
// and the membership tests of the band and the sector.
struct IntegrationRegion {
  int32_t x1 = 0, x2 = -1, y1 = 0, y2 = -1;
  std::string tag;
  BandTest band;
  SectorTest sector;
};

// Computes the region of integration_params (as the caller read them) and sets PatternName
// to the image's base name and the tag. Nothing, and nothing else touched, when the centre
// is exactly (0, 0).
std::optional<IntegrationRegion> calc_integration_area();

}  // namespace kestrin
