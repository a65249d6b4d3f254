// Where the samples of a pixel fall on a pattern's bin axis, one map per kind of pattern:
// flat-detector 2theta, the same at nine sub-pixel positions, curved-plate 2theta, the
// tilt-corrected distance and the untilted distance rounded to the nearest bin. Each map
// works in two stages so that the first can run over a whole row as one loop the compiler
// vectorises: value() gives a sample's raw value (a tangent, a cosine, a distance) and
// position() turns it into the bin position b + f. Only the pixel loops include this.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#if defined(__x86_64__) || defined(__i386__)
#include <cstdlib>  // names the C library, for the test below
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
#include <sys/platform/x86.h>
#endif
#endif

#include "analysis/angle_accumulator.h"
#include "analysis/curved_plate.h"
#include "analysis/geometry.h"

namespace kestrin {

// 2theta of a flat detector: bin position (2theta - begin) / step.
struct FlatAngleMap {
  static constexpr int kSamples = 1;
  static constexpr bool kWhole = false;
  using Row = DetectorGeometry::Row;
  DetectorGeometry g;
  double begin = 0, step = 1;

  Row row(double y) const { return g.row(y); }
  double value(const Row& r, double x, int) const { return g.tan_two_theta(r, x); }
  double position(double tangent) const { return (DetectorGeometry::degrees_of_tan(tangent) - begin) / step; }
};

// The flat detector sampled at the nine sub-positions (x + i/3, y + j/3), i and j each -1,
// 0, +1, j outer: the offsets of u and v are fixed for a run, so a sample costs one
// distance and one angle.
struct FineAngleMap {
  static constexpr int kSamples = 9;
  static constexpr bool kWhole = false;
  using Row = DetectorGeometry::Row;
  DetectorGeometry g;
  double begin = 0, step = 1;
  double du[kSamples] = {}, dv[kSamples] = {};

  static FineAngleMap make(const DetectorGeometry& g, double begin, double step) {
    FineAngleMap m{g, begin, step};
    int k = 0;
    for (int j = -1; j <= 1; ++j) {
      for (int i = -1; i <= 1; ++i, ++k) {
        const double ox = i / 3.0;
        const double oy = -(j / 3.0) * g.ratio;  // dy grows upwards, rows downwards
        m.du[k] = ox * g.cB + oy * g.sB;
        m.dv[k] = oy * g.cB - ox * g.sB;
      }
    }
    return m;
  }
  Row row(double y) const { return g.row(y); }
  double value(const Row& r, double x, int k) const {
    const double dx = x - g.X0;
    return g.rho_of(dx * g.cB + r.dy_sB + du[k], r.dy_cB - dx * g.sB + dv[k]) * g.scale;
  }
  double position(double tangent) const { return (DetectorGeometry::degrees_of_tan(tangent) - begin) / step; }
};

// 2theta of the curved imaging plate.
struct CurvedAngleMap {
  static constexpr int kSamples = 1;
  static constexpr bool kWhole = false;
  struct Row {
    double length;
  };
  CurvedPlate c;
  double begin = 0, step = 1;

  Row row(double y) const { return {c.row_length(y)}; }
  double value(const Row& r, double x, int) const { return c.cos_two_theta(r.length, x); }
  double position(double cosine) const { return (CurvedPlate::degrees_of_cos(cosine) - begin) / step; }
};

// The tilt-corrected distance rho in pixels, bin i at distance i. A pixel behind the
// sample has a negative rho (its numerator is never negative), so it falls below bin 0.
struct DistanceMap {
  static constexpr int kSamples = 1;
  static constexpr bool kWhole = false;
  using Row = DetectorGeometry::Row;
  DetectorGeometry g;

  Row row(double y) const { return g.row(y); }
  double value(const Row& r, double x, int) const { return g.rho(r, x); }
  double position(double rho) const { return rho; }
};

// The untilted distance sqrt(dx^2 + dy^2) plus one half: a whole-bin sink puts the pixel
// into the nearest bin.
struct RoundedDistanceMap {
  static constexpr int kSamples = 1;
  static constexpr bool kWhole = true;
  using Row = DetectorGeometry::Row;
  DetectorGeometry g;

  Row row(double y) const { return g.row(y); }
  double value(const Row& r, double x, int) const {
    const double dx = x - g.X0;
    return std::sqrt(dx * dx + r.dy * r.dy) + 0.5;
  }
  double position(double v) const { return v; }
};

// Calls fn with the map of the scan's sampling.
template <class Fn>
void with_sample_map(const AngleScan& scan, Fn&& fn) {
  switch (scan.sampling) {
    case Sampling::Flat: return fn(FlatAngleMap{scan.geometry, scan.begin, scan.step});
    case Sampling::Fine: return fn(FineAngleMap::make(scan.geometry, scan.begin, scan.step));
    case Sampling::Curved: return fn(CurvedAngleMap{scan.curved, scan.begin, scan.step});
    case Sampling::Distance: return fn(DistanceMap{scan.geometry});
    case Sampling::RoundedDistance: return fn(RoundedDistanceMap{scan.geometry});
  }
}

// The two ways a sample enters the sums. A sink's sums hold the weight and the weighted
// intensity of bin b side by side, at ws[2 b] and ws[2 b + 1], so a sample touches one
// stretch of memory.
struct SplitSink {
  double* ws;
  int32_t bins;
  // Split linearly between bins b and b + 1, so b + 1 must be a bin.
  double limit() const { return double(bins - 1); }
  void add(int32_t b, double f, double I) {
    double* p = ws + 2 * size_t(b);
    p[0] += 1.0 - f;
    p[1] += (1.0 - f) * I;
    p[2] += f;
    p[3] += f * I;
  }
};

struct WholeSink {
  double* ws;
  int32_t bins;
  // Wholly into bin b, weight 1.
  double limit() const { return double(bins); }
  void add(int32_t b, double, double I) {
    double* p = ws + 2 * size_t(b);
    p[0] += 1.0;
    p[1] += I;
  }
};

// The sink a map's samples go to.
template <class Map>
using SinkFor = std::conditional_t<Map::kWhole, WholeSink, SplitSink>;

// Adds the samples at positions pos[0], pos[stride], ... of one pixel of intensity I:
// samples before bin 0, past the sink's last bin or not a number are dropped.
template <int Samples, class Sink>
inline void add_samples(const double* pos, size_t stride, double I, Sink& sink) {
  const double limit = sink.limit();
  for (int k = 0; k < Samples; ++k) {
    const double p = pos[size_t(k) * stride];
    if (!(p >= 0.0 && p < limit)) continue;
    const int32_t b = int32_t(p);
    sink.add(b, p - b, I);
  }
}

namespace detail {

// The bin positions of the samples of pixels x1..x1+n-1 of a row: sample k of pixel i at
// pos[k n + i]. The raw values first, sample by sample, then their positions: loops the
// compiler vectorises. Inlined into each build of row_positions below.
template <class Map>
[[gnu::always_inline]] inline void row_positions_body(const Map& shared_map, const typename Map::Row& row,
                                                      int32_t x1, int32_t n, double* pos) {
  // A copy of our own: the buffer cannot alias it, so its constants stay in registers.
  const Map map = shared_map;
  for (int k = 0; k < Map::kSamples; ++k) {
    double* out = pos + size_t(k) * size_t(n);
    for (int32_t i = 0; i < n; ++i) out[i] = map.value(row, double(x1 + i), k);
  }
  const size_t all = size_t(n) * Map::kSamples;
  for (size_t i = 0; i < all; ++i) pos[i] = map.position(pos[i]);
}

#if defined(__x86_64__) || defined(__i386__)
// The AVX2 build of the loops. It is chosen by hand: not every compiler takes
// target_clones on a template.
template <class Map>
[[gnu::target("avx2")]] void row_positions_avx2(const Map& map, const typename Map::Row& row, int32_t x1,
                                                int32_t n, double* pos) {
  row_positions_body(map, row, x1, n, pos);
}

// Asked of the C library, which found the processor's features when the program started:
// __builtin_cpu_supports would link the compiler's own probe, which runs its CPUID queries
// at every start of every program that links the analysis code, whether it integrates or not.
inline bool cpu_has_avx2() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
  static const bool has = CPU_FEATURE_ACTIVE(AVX2);
#else
  static const bool has = __builtin_cpu_supports("avx2");
#endif
  return has;
}
#endif

template <class Map>
void row_positions_baseline(const Map& map, const typename Map::Row& row, int32_t x1, int32_t n, double* pos) {
  row_positions_body(map, row, x1, n, pos);
}

}  // namespace detail

// The bin positions of the samples of pixels x1..x1+n-1 of a row (sample k of pixel i at
// pos[k n + i]), in an AVX2 build besides the baseline one where the processor has it (the
// same IEEE operations, so the same results).
template <class Map>
void row_positions(const Map& map, const typename Map::Row& row, int32_t x1, int32_t n, double* pos) {
#if defined(__x86_64__) || defined(__i386__)
  if (detail::cpu_has_avx2()) return detail::row_positions_avx2(map, row, x1, n, pos);
#endif
  detail::row_positions_baseline(map, row, x1, n, pos);
}

}  // namespace kestrin
