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
};

// Receives each sector's sums, `bins` weights and `bins` sums, once per sector. It may be
// called from worker threads, for different sectors at the same time.
using SectorFinish = std::function<void(int32_t sector, const double* weight, const double* sum)>;

// Accumulates the scan's box (its region test is not used) into `bins` bins per sector and
// hands every sector's sums to finish.
void accumulate_sectors(const AngleScan& scan, const SectorDivision& division, int32_t bins, const SectorFinish& finish);

}  // namespace kestrin
