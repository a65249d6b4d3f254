// The region pixel loop. One instance of the loop per combination of sampling, exclusion
// tests and region test, so the common case (no exclusions, plain box) carries no per-pixel
// branch besides the bin range; per-row constants come from the sample map's Row.
#include "analysis/angle_accumulator.h"

#include <algorithm>
#include <cmath>

#include "analysis/lanes.h"
#include "analysis/sample_maps.h"
#include "base/convert.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

struct NoTest {
  bool outside(int32_t, int32_t) const { return false; }
};

template <bool Omit, class Test, class Map, class Sink>
void scan_rows(const AngleScan& scan, int64_t ylo, int64_t yhi, const Test& test, const Map& map, Sink& sink) {
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  double pos[Map::kSamples];
  for (int64_t y = ylo; y < yhi; ++y) {
    const typename Map::Row row = map.row(double(y));
    const size_t row_start = W * size_t(y);
    const uint16_t* codes = img.image_codes.data() + row_start;
    for (int32_t x = scan.x1; x <= scan.x2; ++x) {
      if constexpr (Omit) {
        if (scan.mask && scan.mask[row_start + size_t(x)] != 0) continue;
        if (scan.levels && scan.levels[row_start + size_t(x)] == 0) continue;
      }
      if (test.outside(x, int32_t(y))) continue;
      pixel_positions(map, row, double(x), pos);
      add_samples<Map::kSamples>(pos, 1, table[codes[x]], sink);
    }
  }
}

// The common case, every pixel of the box: the raw values of a whole row first, sample by
// sample (loops the compiler vectorises), then their bin positions, then the sums.
template <class Map, class Sink>
void scan_rows_plain(const AngleScan& scan, int64_t ylo, int64_t yhi, const Map& map, Sink& sink) {
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  const int32_t x1 = scan.x1, n = scan.x2 - scan.x1 + 1;
  const size_t all = size_t(n) * Map::kSamples;
  std::vector<double> positions(all);
  double* pos = positions.data();
  for (int64_t y = ylo; y < yhi; ++y) {
    const typename Map::Row row = map.row(double(y));
    const uint16_t* codes = img.image_codes.data() + W * size_t(y) + size_t(x1);
    for (int k = 0; k < Map::kSamples; ++k) {
      double* out = pos + size_t(k) * size_t(n);
      for (int32_t i = 0; i < n; ++i) out[i] = map.value(row, double(x1 + i), k);
    }
    for (size_t i = 0; i < all; ++i) pos[i] = map.position(pos[i]);
    for (int32_t i = 0; i < n; ++i) add_samples<Map::kSamples>(pos + i, size_t(n), table[codes[i]], sink);
  }
}

template <class Map, class Sink>
void scan_lane(const AngleScan& scan, const Map& map, int64_t ylo, int64_t yhi, Sink& sink) {
  const bool omit = scan.mask || scan.levels;
  switch (scan.region) {
    case RegionTest::None:
      omit ? scan_rows<true>(scan, ylo, yhi, NoTest{}, map, sink) : scan_rows_plain(scan, ylo, yhi, map, sink);
      break;
    case RegionTest::Band:
      omit ? scan_rows<true>(scan, ylo, yhi, scan.band, map, sink) : scan_rows<false>(scan, ylo, yhi, scan.band, map, sink);
      break;
    case RegionTest::Sector:
      omit ? scan_rows<true>(scan, ylo, yhi, scan.sector, map, sink)
           : scan_rows<false>(scan, ylo, yhi, scan.sector, map, sink);
      break;
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
// a corner lies behind the sample.
double corner_position(const AngleScan& scan, double margin) {
  const DetectorGeometry& g = scan.geometry;
  double most = -1.0;
  for (double y : {scan.y1 - margin, scan.y2 + margin}) {
    const DetectorGeometry::Row r = g.row(y);
    for (double x : {scan.x1 - margin, scan.x2 + margin}) {
      if (!g.in_front(r, x)) return std::nan("");
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
      double* w = buffers.data() + size_t(lane) * lane_size;
      Sink sink{w, w + bins, bins};
      scan_lane(scan, map, lane_begin(scan.y1, rows, lanes, lane), lane_begin(scan.y1, rows, lanes, lane + 1), sink);
    });
  });
  merge_lanes(buffers, lane_size, lanes);
  for (int32_t i = 0; i < bins; ++i) {
    sums.weight[size_t(i)] += buffers[size_t(i)];
    sums.sum[size_t(i)] += buffers[size_t(bins + i)];
  }
}

int32_t bin_value(double weight, double sum) { return saturate_int32(std::trunc(10.0 * sum / weight + 0.5)); }

int32_t angle_bin_value(double weight, double sum, double two_theta_deg) {
  const double c = std::cos(two_theta_deg * kDegToRad);
  return saturate_int32(std::trunc(10.0 * sum / (weight * (c * c * c)) + 0.5));
}

}  // namespace kestrin
