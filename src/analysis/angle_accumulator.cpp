// The 2theta pixel loop. One instance of the loop per combination of exclusion tests and
// region test, so the common case (no exclusions, plain box) carries no per-pixel branch
// besides the angle range; per-row constants come from the geometry kernel's Row.
#include "analysis/angle_accumulator.h"

#include <algorithm>
#include <cmath>

#include "analysis/lanes.h"
#include "base/convert.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

struct NoTest {
  bool outside(int32_t, int32_t) const { return false; }
};

// Shares intensity I between bins b and b + 1, fraction f to b + 1: weights into w, sums into s.
inline void spread(double* w, double* s, int32_t b, double f, double I) {
  w[b] += 1.0 - f;
  w[b + 1] += f;
  s[b] += (1.0 - f) * I;
  s[b + 1] += f * I;
}

// Sums of one lane: weights then sums, `bins` each.
struct BinSink {
  double* w;
  double* s;
  int32_t bins;
  void add(double, const DetectorGeometry::Row&, int32_t b, double f, double I) { spread(w, s, b, f, I); }
};

// Sums of one lane for every free sector: sector k's weights at base + 2 k bins, its sums
// right after them.
struct SectorSink {
  double* base;
  int32_t bins;
  int32_t sectors;
  double X0, angle;
  void add(double x, const DetectorGeometry::Row& r, int32_t b, double f, double I) {
    int32_t k = sector_index(x - X0, r.dy, angle);
    // A tiny negative azimuth plus 360 can round to exactly 360: that is sector 0.
    if (k == sectors) k = 0;
    if (k < 0 || k >= sectors) return;
    double* w = base + size_t(k) * 2 * size_t(bins);
    spread(w, w + bins, b, f, I);
  }
};

template <bool Omit, class Test, class Sink>
void scan_rows(const AngleScan& scan, int64_t ylo, int64_t yhi, const Test& test, Sink& sink) {
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  const DetectorGeometry g = scan.geometry;
  const double begin = scan.begin, step = scan.step;
  // The upper bin b + 1 must stay inside the sums.
  const double limit = double(sink.bins - 1);
  for (int64_t y = ylo; y < yhi; ++y) {
    const DetectorGeometry::Row row = g.row(double(y));
    const size_t row_start = W * size_t(y);
    const uint16_t* codes = img.image_codes.data() + row_start;
    for (int32_t x = scan.x1; x <= scan.x2; ++x) {
      if constexpr (Omit) {
        if (scan.mask && scan.mask[row_start + size_t(x)] != 0) continue;
        if (scan.levels && scan.levels[row_start + size_t(x)] == 0) continue;
      }
      if (test.outside(x, int32_t(y))) continue;
      const double t = g.two_theta(row, double(x));
      if (!(t >= begin)) continue;
      const double pos = (t - begin) / step;
      if (!(pos < limit)) continue;
      const int32_t b = int32_t(pos);
      sink.add(double(x), row, b, pos - b, table[codes[x]]);
    }
  }
}

// The common case, every pixel of the box: the tangents of a whole row first (a loop the
// compiler vectorises), then their angles and bin positions, then the sums.
template <class Sink>
void scan_rows_plain(const AngleScan& scan, int64_t ylo, int64_t yhi, Sink& sink) {
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  const DetectorGeometry g = scan.geometry;
  const double begin = scan.begin, step = scan.step;
  const double limit = double(sink.bins - 1);
  const int32_t x1 = scan.x1, n = scan.x2 - scan.x1 + 1;
  std::vector<double> positions(static_cast<size_t>(n));
  double* pos = positions.data();
  for (int64_t y = ylo; y < yhi; ++y) {
    const DetectorGeometry::Row row = g.row(double(y));
    const uint16_t* codes = img.image_codes.data() + W * size_t(y) + size_t(x1);
    for (int32_t i = 0; i < n; ++i) pos[i] = g.tan_two_theta(row, double(x1 + i));
    for (int32_t i = 0; i < n; ++i) pos[i] = (DetectorGeometry::degrees_of_tan(pos[i]) - begin) / step;
    for (int32_t i = 0; i < n; ++i) {
      const double p = pos[i];
      // p >= 0 exactly when 2theta >= begin; NaN fails both tests.
      if (!(p >= 0.0 && p < limit)) continue;
      const int32_t b = int32_t(p);
      sink.add(double(x1 + i), row, b, p - b, table[codes[i]]);
    }
  }
}

template <class Sink>
void scan_lane(const AngleScan& scan, int64_t ylo, int64_t yhi, Sink& sink) {
  const bool omit = scan.mask || scan.levels;
  switch (scan.region) {
    case RegionTest::None:
      omit ? scan_rows<true>(scan, ylo, yhi, NoTest{}, sink) : scan_rows_plain(scan, ylo, yhi, sink);
      break;
    case RegionTest::Band:
      omit ? scan_rows<true>(scan, ylo, yhi, scan.band, sink) : scan_rows<false>(scan, ylo, yhi, scan.band, sink);
      break;
    case RegionTest::Sector:
      omit ? scan_rows<true>(scan, ylo, yhi, scan.sector, sink) : scan_rows<false>(scan, ylo, yhi, scan.sector, sink);
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

}  // namespace

int32_t reachable_bins(const AngleScan& scan) {
  const DetectorGeometry& g = scan.geometry;
  double most = -1.0;
  for (int32_t y : {scan.y1, scan.y2}) {
    const DetectorGeometry::Row r = g.row(double(y));
    for (int32_t x : {scan.x1, scan.x2}) {
      if (!g.in_front(r, double(x))) return kPatternSize;
      const double t = g.two_theta(r, double(x));
      if (std::isnan(t)) return kPatternSize;
      most = std::max(most, t);
    }
  }
  if (most < scan.begin) return 2;
  const double pos = (most - scan.begin) / scan.step;
  if (!(pos < kPatternSize)) return kPatternSize;
  return std::min<int32_t>(kPatternSize, int32_t(pos) + 4);
}

void accumulate_angles(const AngleScan& scan, AngleSums& sums) {
  const int64_t rows = row_count(scan);
  const int32_t bins = sums.bins();
  if (rows == 0 || bins < 2) return;
  const int32_t lanes = lane_count(rows);
  const size_t lane_size = 2 * size_t(bins);
  std::vector<double> buffers(size_t(lanes) * lane_size, 0.0);
  run_lanes(lanes, [&](int32_t lane) {
    double* w = buffers.data() + size_t(lane) * lane_size;
    BinSink sink{w, w + bins, bins};
    scan_lane(scan, lane_begin(scan.y1, rows, lanes, lane), lane_begin(scan.y1, rows, lanes, lane + 1), sink);
  });
  merge_lanes(buffers, lane_size, lanes);
  for (int32_t i = 0; i < bins; ++i) {
    sums.weight[size_t(i)] += buffers[size_t(i)];
    sums.sum[size_t(i)] += buffers[size_t(bins + i)];
  }
}

void accumulate_sectored_angles(const AngleScan& scan, double division_angle, std::vector<AngleSums>& sectors) {
  const int64_t rows = row_count(scan);
  const int32_t count = int32_t(sectors.size());
  if (rows == 0 || count == 0) return;
  const int32_t bins = sectors[0].bins();
  if (bins < 2) return;
  const size_t lane_size = 2 * size_t(bins) * size_t(count);
  // Lanes share a memory budget: many sectors run in fewer lanes.
  constexpr size_t kBudgetDoubles = size_t(32) << 20;
  const int32_t lanes = lane_count(rows, int32_t(std::clamp<size_t>(kBudgetDoubles / lane_size, 1, 32)));
  std::vector<double> buffers(size_t(lanes) * lane_size, 0.0);
  run_lanes(lanes, [&](int32_t lane) {
    SectorSink sink{buffers.data() + size_t(lane) * lane_size, bins, count, scan.geometry.X0, division_angle};
    scan_lane(scan, lane_begin(scan.y1, rows, lanes, lane), lane_begin(scan.y1, rows, lanes, lane + 1), sink);
  });
  merge_lanes(buffers, lane_size, lanes);
  for (int32_t k = 0; k < count; ++k) {
    const double* w = buffers.data() + size_t(k) * 2 * size_t(bins);
    for (int32_t i = 0; i < bins; ++i) {
      sectors[size_t(k)].weight[size_t(i)] += w[i];
      sectors[size_t(k)].sum[size_t(i)] += w[bins + i];
    }
  }
}

int32_t angle_bin_value(double weight, double sum, double two_theta_deg) {
  const double c = std::cos(two_theta_deg * kDegToRad);
  return saturate_int32(std::trunc(10.0 * sum / (weight * (c * c * c)) + 0.5));
}

}  // namespace kestrin
