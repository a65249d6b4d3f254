// The region pixel loop. One instance of the loop per combination of sampling, exclusion
// tests and region test, so the common case (no exclusions, plain box) carries no per-pixel
// branch besides the bin range; per-row constants come from the sample map's Row.
#include "analysis/angle_accumulator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/sample_maps.h"
#include "analysis/wedge_spans.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

struct NoTest {
  bool outside(int32_t, int32_t) const { return false; }
};

// The sector test row by row: a row walks only the columns the sector's wedges can reach,
// and the exact test (an arc tangent) runs only outside the columns they surely cover.
class SectorRows {
public:
  explicit SectorRows(const SectorTest& t) : test_(t) {
    // The azimuth runs clockwise on the screen: atan2 of the downward offset.
    if (t.lo1 < t.hi1) wedges_.emplace_back(t.lo1, std::min(t.hi1, t.lo1 + 360.0));
    if (t.lo2 < t.hi2 && !(t.lo2 == t.lo1 && t.hi2 == t.hi1)) wedges_.emplace_back(t.lo2, std::min(t.hi2, t.lo2 + 360.0));
  }
  // Narrows [first, last] to what the row's wedges reach and notes what they cover.
  void start_row(int64_t y, int32_t& first, int32_t& last) {
    const double dy = double(y) - test_.Y0;
    double reach_lo = INFINITY, reach_hi = -INFINITY;
    covered_ = {1, 0, 1, 0};
    for (size_t i = 0; i < wedges_.size(); ++i) {
      double lo = 0, hi = 0;
      wedges_[i].reach(dy, lo, hi);
      if (lo <= hi) reach_lo = std::min(reach_lo, lo), reach_hi = std::max(reach_hi, hi);
      wedges_[i].cover(dy, lo, hi);
      if (lo <= hi) covered_[2 * i] = test_.X0 + lo, covered_[2 * i + 1] = test_.X0 + hi;
    }
    if (!WedgeSpans::columns(test_.X0, reach_lo, reach_hi, first, last, first, last)) first = 1, last = 0;
  }
  bool outside(int32_t x, int32_t y) const {
    const double c = x;
    if ((c >= covered_[0] && c <= covered_[1]) || (c >= covered_[2] && c <= covered_[3])) return false;
    return test_.outside(x, y);
  }

private:
  SectorTest test_;
  std::vector<WedgeSpans> wedges_;
  std::array<double, 4> covered_ = {1, 0, 1, 0};  // two intervals of covered columns
};

template <class Test>
void start_row(Test&, int64_t, int32_t&, int32_t&) {}
void start_row(SectorRows& t, int64_t y, int32_t& first, int32_t& last) { t.start_row(y, first, last); }

// Row by row: the columns the region test leaves (the whole box but for a sector), their
// positions at once, then the sums of the pixels that pass the exclusions and the test.
template <bool Omit, class Test, class Map, class Sink>
void scan_rows(const AngleScan& scan, int64_t ylo, int64_t yhi, const Test& shared_test, const Map& map, Sink& sink) {
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  Test test = shared_test;
  std::vector<double> positions(size_t(scan.x2 - scan.x1 + 1) * Map::kSamples);
  double* pos = positions.data();
  for (int64_t y = ylo; y < yhi; ++y) {
    int32_t first = scan.x1, last = scan.x2;
    start_row(test, y, first, last);
    if (first > last) continue;
    const int32_t n = last - first + 1;
    row_positions(map, map.row(double(y)), first, n, pos);
    const size_t row_start = W * size_t(y);
    const uint16_t* codes = img.image_codes.data() + row_start;
    for (int32_t i = 0; i < n; ++i) {
      const int32_t x = first + i;
      if constexpr (Omit) {
        if (scan.mask && scan.mask[row_start + size_t(x)] != 0) continue;
        if (scan.levels && scan.levels[row_start + size_t(x)] == 0) continue;
      }
      if (test.outside(x, int32_t(y))) continue;
      add_samples<Map::kSamples>(pos + i, size_t(n), table[codes[x]], sink);
    }
  }
}

template <class Map, class Sink>
void scan_lane(const AngleScan& scan, const Map& map, int64_t ylo, int64_t yhi, Sink& sink) {
  const bool omit = scan.mask || scan.levels;
  switch (scan.region) {
    case RegionTest::None:
      omit ? scan_rows<true>(scan, ylo, yhi, NoTest{}, map, sink) : scan_rows<false>(scan, ylo, yhi, NoTest{}, map, sink);
      break;
    case RegionTest::Band:
      omit ? scan_rows<true>(scan, ylo, yhi, scan.band, map, sink) : scan_rows<false>(scan, ylo, yhi, scan.band, map, sink);
      break;
    case RegionTest::Sector: {
      const SectorRows sector(scan.sector);
      omit ? scan_rows<true>(scan, ylo, yhi, sector, map, sink) : scan_rows<false>(scan, ylo, yhi, sector, map, sink);
      break;
    }
  }
}

int64_t row_count(const AngleScan& scan) {
  if (scan.x2 < scan.x1 || scan.y2 < scan.y1) return 0;
  return int64_t(scan.y2) - scan.y1 + 1;
}

// Adds lanes 1.. into lane 0, in lane order.
void merge_lanes(std::vector<double>& lanes, size_t lane_size, int32_t count) {
  double* out = lanes.data();
  for (int32_t l = 1; l < count; ++l) {
    const double* in = lanes.data() + size_t(l) * lane_size;
    for (size_t i = 0; i < lane_size; ++i) out[i] += in[i];
  }
}

// The largest bin position over the box's corners, pushed out by `margin` pixels; NaN when
// a corner lies behind the sample (the untilted rounded distance has no behind).
double corner_position(const AngleScan& scan, double margin) {
  const DetectorGeometry& g = scan.geometry;
  double most = -1.0;
  for (double y : {scan.y1 - margin, scan.y2 + margin}) {
    const DetectorGeometry::Row r = g.row(y);
    for (double x : {scan.x1 - margin, scan.x2 + margin}) {
      if (scan.sampling != Sampling::RoundedDistance && !g.in_front(r, x)) return std::nan("");
      double p = 0;
      switch (scan.sampling) {
        case Sampling::Distance: p = g.rho(r, x); break;
        case Sampling::RoundedDistance: p = RoundedDistanceMap{g}.value(r, x, 0); break;
        default: p = (g.two_theta(r, x) - scan.begin) / scan.step; break;
      }
      if (std::isnan(p)) return p;
      most = std::max(most, p);
    }
  }
  return most;
}

}  // namespace

int32_t reachable_bins(const AngleScan& scan) {
  if (scan.sampling == Sampling::Curved) return kPatternSize;
  const double most = corner_position(scan, scan.sampling == Sampling::Fine ? 1.0 / 3.0 : 0.0);
  if (std::isnan(most)) return kPatternSize;
  if (most < 0) return 2;
  if (!(most < kPatternSize)) return kPatternSize;
  return std::min<int32_t>(kPatternSize, int32_t(most) + 4);
}

void accumulate_angles(const AngleScan& scan, AngleSums& sums) {
  const int64_t rows = row_count(scan);
  const int32_t bins = sums.bins();
  if (rows == 0 || bins < 2) return;
  const int32_t lanes = lane_count(rows);
  const size_t lane_size = 2 * size_t(bins);
  std::vector<double> buffers(size_t(lanes) * lane_size, 0.0);
  with_sample_map(scan, [&](const auto& map) {
    using Sink = SinkFor<std::decay_t<decltype(map)>>;
    run_lanes(lanes, [&](int32_t lane) {
      Sink sink{buffers.data() + size_t(lane) * lane_size, bins};
      scan_lane(scan, map, lane_begin(scan.y1, rows, lanes, lane), lane_begin(scan.y1, rows, lanes, lane + 1), sink);
    });
  });
  merge_lanes(buffers, lane_size, lanes);
  for (int32_t i = 0; i < bins; ++i) {
    sums.weight[size_t(i)] += buffers[2 * size_t(i)];
    sums.sum[size_t(i)] += buffers[2 * size_t(i) + 1];
  }
}

int32_t bin_value(double weight, double sum) { return saturate_int32(std::trunc(10.0 * sum / weight + 0.5)); }

double cube_cos(double two_theta_deg) {
  const double c = std::cos(two_theta_deg * kDegToRad);
  return c * c * c;
}

int32_t cubed_bin_value(double weight, double sum, double cube) {
  return saturate_int32(std::trunc(10.0 * sum / (weight * cube) + 0.5));
}

int32_t angle_bin_value(double weight, double sum, double two_theta_deg) {
  return cubed_bin_value(weight, sum, cube_cos(two_theta_deg));
}

}  // namespace kestrin
