// The sectored pixel loop: chunks of neighbouring sectors, each walking the part of every row
// that its wedge of azimuths can reach, on worker threads.
#include "analysis/sector_accumulator.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "analysis/sample_maps.h"
#include "analysis/wedge_spans.h"
#include "base/lanes.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

// Sums of the sectors a chunk holds at a time: 4 MB, so a few chunks in work stay small
// next to the image.
constexpr size_t kChunkDoubles = size_t(1) << 19;
constexpr double kFixedWidth = 22.5;

// The wedge of sectors k1..k2-1 as azimuths [start, end] in degrees.
WedgeSpans wedge_of(const SectorDivision& d, int32_t k1, int32_t k2) {
  if (d.fixed16) return WedgeSpans(kFixedWidth * k1 - kFixedWidth / 2, kFixedWidth * k2 - kFixedWidth / 2);
  return WedgeSpans(d.angle * k1, std::min(d.angle * k2, 360.0));
}

struct ChunkJob {
  const AngleScan& scan;
  const SectorDivision& division;
  int32_t k1, k2, bins;
  double* sums;  // sector k's sink sums (weight and sum of each bin side by side) at (k - k1) 2 bins
};

// Sectors at least this wide (degrees) walk their own part of each row, so that the pixels
// they surely cover need no arc tangent; narrower ones cover too few for that to pay, and
// every pixel of the chunk's part is tested.
constexpr double kMinCoveringWidth = 0.25;

// One row of a chunk: the positions of the columns [first, first + n) that the chunk's wedge
// reaches are in pos (sample k of column first + i at pos[k n + i]).
template <bool Omit, class Map>
struct ChunkRow {
  const ChunkJob& job;
  const std::vector<WedgeSpans>& wedges;  // one per sector of the chunk, or none
  const double* table;
  const uint16_t* codes;
  const uint8_t *mask, *levels;  // of the row; null when not used
  double X0, dy;
  int32_t first, n;
  const double* pos;

  bool excluded(int32_t x) const {
    if constexpr (Omit) {
      if (mask && mask[x] != 0) return true;
      if (levels && levels[x] == 0) return true;
    }
    return false;
  }
  void add(int32_t k, int32_t x) const {
    SinkFor<Map> sink{job.sums + size_t(k - job.k1) * 2 * size_t(job.bins), job.bins};
    add_samples<Map::kSamples>(pos + (x - first), size_t(n), table[codes[x]], sink);
  }
  // Every column tested: its exact sector decides (sectors holds n entries of scratch).
  void by_test(int32_t* sectors, double* scratch) const {
    job.division.row_sectors(X0, dy, first, n, sectors, scratch);
    for (int32_t x = first; x < first + n; ++x) {
      if (excluded(x)) continue;
      const int32_t k = sectors[x - first];
      if (k >= job.k1 && k < job.k2) add(k, x);
    }
  }
  // Each sector walks its own part: columns it surely covers join it at once, the others
  // when their exact sector is it, so each pixel lands once, where its azimuth puts it.
  void by_sector() const {
    for (int32_t k = job.k1; k < job.k2; ++k) {
      const WedgeSpans& wedge = wedges[size_t(k - job.k1)];
      double lo = 0, hi = 0;
      int32_t a = 0, b = 0;
      wedge.reach(dy, lo, hi);
      if (!WedgeSpans::columns(X0, lo, hi, first, first + n - 1, a, b)) continue;
      wedge.cover(dy, lo, hi);
      for (int32_t x = a; x <= b; ++x) {
        if (excluded(x)) continue;
        const double dx = x - X0;
        if ((dx >= lo && dx <= hi) || job.division.sector_of(dx, dy) == k) add(k, x);
      }
    }
  }
};

template <bool Omit, class Map>
void scan_chunk(const ChunkJob& job, const Map& map) {
  const AngleScan& scan = job.scan;
  const ImageStore& img = *scan.image;
  const size_t W = size_t(img.ImageWidth);
  const DetectorGeometry& g = scan.geometry;
  const WedgeSpans chunk = wedge_of(job.division, job.k1, job.k2);
  std::vector<WedgeSpans> wedges;
  const double width = job.division.fixed16 ? kFixedWidth : job.division.angle;
  if (width >= kMinCoveringWidth)
    for (int32_t k = job.k1; k < job.k2; ++k) wedges.push_back(wedge_of(job.division, k, k + 1));
  const size_t columns = size_t(scan.x2 - scan.x1 + 1);
  std::vector<double> positions(columns * Map::kSamples);
  std::vector<int32_t> sectors(wedges.empty() ? columns : 0);
  std::vector<double> scratch(wedges.empty() ? columns : 0);
  for (int64_t y = scan.y1; y <= scan.y2; ++y) {
    const DetectorGeometry::Row offsets = g.row(double(y));
    double lo = 0, hi = 0;
    int32_t first = 0, last = 0;
    chunk.reach(offsets.dy, lo, hi);
    if (!WedgeSpans::columns(g.X0, lo, hi, scan.x1, scan.x2, first, last)) continue;
    const int32_t n = last - first + 1;
    row_positions(map, map.row(double(y)), first, n, positions.data());
    const size_t row_start = W * size_t(y);
    const ChunkRow<Omit, Map> row{job,
                                  wedges,
                                  img.intensity_table.data(),
                                  img.image_codes.data() + row_start,
                                  scan.mask ? scan.mask + row_start : nullptr,
                                  scan.levels ? scan.levels + row_start : nullptr,
                                  g.X0,
                                  offsets.dy,
                                  first,
                                  n,
                                  positions.data()};
    wedges.empty() ? row.by_test(sectors.data(), scratch.data()) : row.by_sector();
  }
}

// The sums buffers of the chunks in work: a chunk takes one and gives it back when done, so
// the chunks that follow reuse memory already mapped instead of asking the system anew.
class SumsPool {
public:
  std::vector<double> take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) return {};
    std::vector<double> b = std::move(free_.back());
    free_.pop_back();
    return b;
  }
  void give(std::vector<double>&& b) {
    const std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(std::move(b));
  }

private:
  std::mutex mutex_;
  std::vector<std::vector<double>> free_;
};

// Sectors per chunk: within the memory budget, no wider than 90 degrees where a sector
// allows, and enough chunks to keep the threads busy (the sums do not depend on it).
int32_t chunk_size(const SectorDivision& d, int32_t bins) {
  const int64_t by_budget = int64_t(kChunkDoubles / (2 * size_t(bins)));
  const double width = d.fixed16 ? kFixedWidth : d.angle;
  const int64_t by_angle = int64_t(90.0 / width);
  const int64_t by_threads = d.count / (4 * int64_t(worker_threads()));
  return int32_t(std::clamp<int64_t>(std::min({by_budget, by_angle, by_threads}), 1, d.count));
}

// The azimuth of a row's columns as a sector coordinate: the degrees counter-clockwise from
// +x in [0, 360], divided by the sector angle. The arc tangent is the geometry kernel's, on
// the smaller over the larger offset, folded into the quadrant; the loop has no branch, so
// it vectorises. It differs from the exact coordinate (atan2 in degrees, plus 360 when
// negative, divided by the angle) by the rounding of a few operations, far below a 1e-13
// part of 360 degrees. Where both offsets are 0 the coordinate is not a number.
[[gnu::always_inline]] inline void azimuth_row_body(double X0, double dy, int32_t first, int32_t n, double angle,
                                                    double* out) {
  constexpr double kHalfPi = kPi / 2;
  const double ay = std::fabs(dy);
  for (int32_t i = 0; i < n; ++i) {
    const double dx = double(first + i) - X0;
    const double ax = std::fabs(dx);
    const bool steep = ay > ax;
    const double t = steep ? ax / ay : ay / ax;
    const double a = steep ? kHalfPi - kernel_atan(t) : kernel_atan(t);
    const double deg = (dx < 0 ? kPi - a : a) * kRadToDeg;
    out[i] = (dy < 0 ? 360.0 - deg : deg) / angle;
  }
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx2")]] void azimuth_row_avx2(double X0, double dy, int32_t first, int32_t n, double angle,
                                              double* out) {
  azimuth_row_body(X0, dy, first, n, angle, out);
}
#endif

void azimuth_row_baseline(double X0, double dy, int32_t first, int32_t n, double angle, double* out) {
  azimuth_row_body(X0, dy, first, n, angle, out);
}

void azimuth_row(double X0, double dy, int32_t first, int32_t n, double angle, double* out) {
#if defined(__x86_64__) || defined(__i386__)
  if (detail::cpu_has_avx2()) return azimuth_row_avx2(X0, dy, first, n, angle, out);
#endif
  azimuth_row_baseline(X0, dy, first, n, angle, out);
}

}  // namespace

void SectorDivision::row_sectors(double X0, double dy, int32_t first, int32_t n, int32_t* out, double* scratch) const {
  if (fixed16) {
    for (int32_t i = 0; i < n; ++i) out[i] = sector_of(double(first + i) - X0, dy);
    return;
  }
  azimuth_row(X0, dy, first, n, angle, scratch);
  // A coordinate this far from every whole number lies in the same sector as the exact one:
  // the margin is a million times the rounding of either. Others (and not-a-number) take
  // the exact test; they are a few in a million.
  const double margin = 1e-10 * (1.0 + 360.0 / angle);
  const double top = double(count) - margin;
  for (int32_t i = 0; i < n; ++i) {
    const double q = scratch[i];
    if (q > margin && q < top) {
      const int32_t k = int32_t(q);
      const double f = q - k;
      if (f > margin && f < 1.0 - margin) {
        out[i] = k;
        continue;
      }
    }
    out[i] = sector_of(double(first + i) - X0, dy);
  }
}

int32_t SectorDivision::sector_of(double dx, double dy) const {
  if (fixed16) {
    const int32_t s = sector16_index(dx, dy);
    return s == 16 ? 0 : s;
  }
  const int32_t s = sector_index(dx, dy, angle);
  return s == count ? 0 : s;
}

void accumulate_sectors(const AngleScan& scan, const SectorDivision& division, int32_t bins, const SectorFinish& finish) {
  if (division.count < 1 || bins < 2 || scan.x2 < scan.x1 || scan.y2 < scan.y1) return;
  const int32_t size = chunk_size(division, bins);
  const int32_t chunks = (division.count + size - 1) / size;
  const bool omit = scan.mask || scan.levels;
  SumsPool pool;
  with_sample_map(scan, [&](const auto& map) {
    run_lanes(chunks, [&](int32_t chunk) {
      const int32_t k1 = chunk * size, k2 = std::min(division.count, k1 + size);
      std::vector<double> sums = pool.take();
      sums.assign(size_t(k2 - k1) * 2 * size_t(bins), 0.0);
      const ChunkJob job{scan, division, k1, k2, bins, sums.data()};
      omit ? scan_chunk<true>(job, map) : scan_chunk<false>(job, map);
      for (int32_t k = k1; k < k2; ++k) finish(k, sums.data() + size_t(k - k1) * 2 * size_t(bins));
      pool.give(std::move(sums));
    });
  });
}

}  // namespace kestrin
