// The pixel loop of the sectored histograms: every pixel of the scan's box goes to the
// pattern of its sector. Sectors are handled in chunks of neighbouring sectors, each chunk
// walking only the rows' spans that its wedge can touch, so the sums of a few chunks are
// held at a time however many sectors there are. Each sector's sums are added in row-major
// pixel order by one thread, so they do not depend on the number of threads.
#pragma once

#include <cstdint>
#include <functional>

#include "analysis/angle_accumulator.h"

namespace kestrin {

// How pixels are dealt to sectors, by the azimuth of their upward, ratio-scaled offset
// from the centre (counter-clockwise from +x).
struct SectorDivision {
  // Sixteen fixed sectors centred on multiples of 22.5 degrees (sector16_index), the
  // azimuth of exactly -11.25 degrees in sector 0; else `count` free sectors of `angle`
  // degrees from +x (sector_index), an azimuth that rounds up to 360 in sector 0.
  bool fixed16 = false;
  double angle = 22.5;
  int32_t count = 16;

  int32_t sector_of(double dx, double dy) const;
  // sector_of(x - X0, dy) of the columns x = first..first+n-1 of one row, into out[0..n):
  // the same values, from an azimuth computed row-wide and checked against the sector
  // edges (see the .cpp). Free sectors only; scratch holds n doubles.
  void row_sectors(double X0, double dy, int32_t first, int32_t n, int32_t* out, double* scratch) const;
};

// Receives each sector's sums once per sector: bin i's weight at sums[2 i] and its weighted
// intensity at sums[2 i + 1], for `bins` bins. It may be called from worker threads, for
// different sectors at the same time.
using SectorFinish = std::function<void(int32_t sector, const double* sums)>;

// Accumulates the scan's box (its region test is not used) into `bins` bins per sector and
// hands every sector's sums to finish.
void accumulate_sectors(const AngleScan& scan, const SectorDivision& division, int32_t bins, const SectorFinish& finish);

}  // namespace kestrin
