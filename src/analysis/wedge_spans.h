// The part of an image row that a wedge of azimuths round the beam centre can reach, and
// the part it surely covers: pixel loops walk only the first and test the exact azimuth of
// a pixel only outside the second, so each pixel's membership is decided exactly as by its
// azimuth while the costly arc tangent runs only near the wedge's edges.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrin {

// Offsets (dx, dy) from the centre; the azimuth is atan2(dy, dx) in degrees.
class WedgeSpans {
public:
  // The wedge from `start` to `end` degrees, counter-clockwise in the (dx, dy) plane,
  // 0 < end - start <= 360.
  WedgeSpans(double start, double end);

  // The dx interval [lo, hi] of the row at offset dy holding every point within `kMargin`
  // of the wedge; lo > hi when the row misses it. The hull of the row's parts, so a wedge
  // wider than 180 degrees may give points outside it.
  void reach(double dy, double& lo, double& hi) const;
  // The dx interval of the row whose points lie inside the wedge, farther than `kMargin`
  // from its edges; lo > hi when there are none (always, for wedges wider than 180 degrees).
  void cover(double dy, double& lo, double& hi) const;

  // Far more than the rounding of an azimuth can move a point, in units of dx.
  static constexpr double kMargin = 1.0;

  // The columns [first, last] of x1..x2 whose offsets from X0 lie in [lo, hi], rounded
  // outwards; false (and nothing written) when there are none.
  static bool columns(double X0, double lo, double hi, int32_t x1, int32_t x2, int32_t& first, int32_t& last);

private:
  // The half-plane n . (dx, dy) >= c.
  struct Side {
    double nx, ny;
  };
  static void clip(const Side& s, double c, double dy, double& lo, double& hi);

  std::vector<Side> parts_;  // start and end side of each part of at most 90 degrees
  bool convex_ = false;
  Side first_{}, last_{};  // the wedge's own start and end sides
};

}  // namespace kestrin
