// The sectored pixel loop: chunks of neighbouring sectors, each walking the part of every row
// that its wedge of azimuths can reach, on worker threads.
#include "analysis/sector_accumulator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/lanes.h"
#include "analysis/sample_maps.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

// Sums of the sectors a chunk holds at a time: 4 MB, so a few chunks in work stay small
// next to the image.
constexpr size_t kChunkDoubles = size_t(1) << 19;
// How far past a wedge's edges the walked part of a row reaches, in pixels. Far more than
// the rounding of an azimuth can move a pixel, so every pixel that the exact sector test
// puts into a chunk's sectors is walked; the test itself decides.
constexpr double kSpanMargin = 1.0;
constexpr double kFixedWidth = 22.5;

// The wedge of sectors k1..k2-1 as azimuths [start, end] in degrees.
struct Wedge {
  double start, end;
};

Wedge wedge_of(const SectorDivision& d, int32_t k1, int32_t k2) {
  if (d.fixed16) return {kFixedWidth * k1 - kFixedWidth / 2, kFixedWidth * k2 - kFixedWidth / 2};
  return {d.angle * k1, std::min(d.angle * k2, 360.0)};
}

// One edge of a wedge part, as the half-plane n . (dx, dy) >= -kSpanMargin.
struct Side {
  double nx, ny;
};

// A wedge cut into parts of at most 90 degrees, each the meet of two half-planes: left of
// its start ray and right of its end ray.
struct WedgeSides {
  std::vector<Side> sides;  // start and end side of each part

  explicit WedgeSides(const Wedge& w) {
    const int parts = std::max(1, int(std::ceil((w.end - w.start) / 90.0)));
    for (int i = 0; i < parts; ++i) {
      const double b1 = (w.start + (w.end - w.start) * i / parts) * kDegToRad;
      const double b2 = (w.start + (w.end - w.start) * (i + 1) / parts) * kDegToRad;
      sides.push_back({-std::sin(b1), std::cos(b1)});
      sides.push_back({std::sin(b2), -std::cos(b2)});
    }
  }

  // The dx interval [lo, hi] of the row at offset dy that covers every part (their hull);
  // lo > hi when no part reaches the row.
  void span(double dy, double& lo, double& hi) const {
    lo = INFINITY;
    hi = -INFINITY;
    for (size_t i = 0; i < sides.size(); i += 2) {
      double plo = -INFINITY, phi = INFINITY;
      for (const Side& s : {sides[i], sides[i + 1]}) {
        const double c = -kSpanMargin - s.ny * dy;  // s.nx dx >= c
        if (s.nx > 0) plo = std::max(plo, c / s.nx);
        else if (s.nx < 0) phi = std::min(phi, c / s.nx);
        else if (c > 0) plo = INFINITY;
      }
      if (plo > phi) continue;
      lo = std::min(lo, plo);
      hi = std::max(hi, phi);
    }
  }
};

struct ChunkJob {
  const AngleScan& scan;
  const SectorDivision& division;
  int32_t k1, k2, bins;
  double* sums;  // sector k's weights at (k - k1) 2 bins, its sums right after
};

template <bool Omit, class Map>
void scan_chunk(const ChunkJob& job, const Map& map) {
  const AngleScan& scan = job.scan;
  const ImageStore& img = *scan.image;
  const double* table = img.intensity_table.data();
  const size_t W = size_t(img.ImageWidth);
  const DetectorGeometry& g = scan.geometry;
  const WedgeSides wedge(wedge_of(job.division, job.k1, job.k2));
  double pos[Map::kSamples];
  for (int64_t y = scan.y1; y <= scan.y2; ++y) {
    const DetectorGeometry::Row offsets = g.row(double(y));
    double lo = 0, hi = 0;
    wedge.span(offsets.dy, lo, hi);
    const double first = std::max(std::floor(g.X0 + lo), double(scan.x1));
    const double last = std::min(std::ceil(g.X0 + hi), double(scan.x2));
    if (!(first <= last)) continue;
    const typename Map::Row row = map.row(double(y));
    const size_t row_start = W * size_t(y);
    for (int32_t x = int32_t(first); x <= int32_t(last); ++x) {
      if constexpr (Omit) {
        if (scan.mask && scan.mask[row_start + size_t(x)] != 0) continue;
        if (scan.levels && scan.levels[row_start + size_t(x)] == 0) continue;
      }
      const int32_t k = job.division.sector_of(x - g.X0, offsets.dy);
      if (k < job.k1 || k >= job.k2) continue;
      double* w = job.sums + size_t(k - job.k1) * 2 * size_t(job.bins);
      SinkFor<Map> sink{w, w + job.bins, job.bins};
      pixel_positions(map, row, double(x), pos);
      add_samples<Map::kSamples>(pos, 1, table[img.image_codes[row_start + size_t(x)]], sink);
    }
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
      for (int32_t k = k1; k < k2; ++k) {
        const double* w = sums.data() + size_t(k - k1) * 2 * size_t(bins);
        finish(k, w, w + bins);
      }
    });
  });
}

}  // namespace kestrin
