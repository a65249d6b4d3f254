// The sectored pixel loop: chunks of neighbouring sectors, each walking the part of every row
// that its wedge of azimuths can reach, on worker threads.
#include "analysis/sector_accumulator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/lanes.h"
#include "analysis/sample_maps.h"
#include "analysis/wedge_spans.h"
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
  // Every column tested: its exact sector decides.
  void by_test() const {
    for (int32_t x = first; x < first + n; ++x) {
      if (excluded(x)) continue;
      const int32_t k = job.division.sector_of(x - X0, dy);
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
  std::vector<double> positions(size_t(scan.x2 - scan.x1 + 1) * Map::kSamples);
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
    wedges.empty() ? row.by_test() : row.by_sector();
  }
}

// Sectors per chunk: within the memory budget, no wider than 90 degrees where a sector
// allows, and enough chunks to keep the threads busy (the sums do not depend on it).
int32_t chunk_size(const SectorDivision& d, int32_t bins) {
  const int64_t by_budget = int64_t(kChunkDoubles / (2 * size_t(bins)));
  const double width = d.fixed16 ? kFixedWidth : d.angle;
  const int64_t by_angle = int64_t(90.0 / width);
  const int64_t by_threads = d.count / (4 * int64_t(worker_threads()));
  return int32_t(std::clamp<int64_t>(std::min({by_budget, by_angle, by_threads}), 1, d.count));
}

}  // namespace

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
  with_sample_map(scan, [&](const auto& map) {
    run_lanes(chunks, [&](int32_t chunk) {
      const int32_t k1 = chunk * size, k2 = std::min(division.count, k1 + size);
      std::vector<double> sums(size_t(k2 - k1) * 2 * size_t(bins), 0.0);
      const ChunkJob job{scan, division, k1, k2, bins, sums.data()};
      omit ? scan_chunk<true>(job, map) : scan_chunk<false>(job, map);
      std::vector<double> weight(static_cast<size_t>(bins)), sum(static_cast<size_t>(bins));
      for (int32_t k = k1; k < k2; ++k) {
        const double* ws = sums.data() + size_t(k - k1) * 2 * size_t(bins);
        for (int32_t i = 0; i < bins; ++i) weight[size_t(i)] = ws[2 * i], sum[size_t(i)] = ws[2 * i + 1];
        finish(k, weight.data(), sum.data());
      }
    });
  });
}

}  // namespace kestrin
