// The pixel loop of the 2theta histograms: each pixel's tilt-corrected 2theta split
// linearly into its two nearest bins, as weight and weighted intensity sums. Lanes of rows
// run on worker threads and are merged in lane order.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/geometry.h"
#include "analysis/integration_area.h"

namespace kestrin {

struct ImageStore;

enum class RegionTest { None, Band, Sector };

// Everything one accumulation reads, copied out of the shared state once per run.
struct AngleScan {
  const ImageStore* image = nullptr;
  DetectorGeometry geometry;
  double begin = 0, step = 1;
  int32_t x1 = 0, x2 = -1, y1 = 0, y2 = -1;  // inclusive box
  const uint8_t* mask = nullptr;    // non-null: leave out pixels whose mask byte is not 0
  const uint8_t* levels = nullptr;  // non-null: leave out pixels of display level 0
  RegionTest region = RegionTest::None;
  BandTest band;
  SectorTest sector;
};

// Bin sums: weight and weighted intensity per bin, bins 0..size-1.
struct AngleSums {
  std::vector<double> weight, sum;
  explicit AngleSums(int32_t bins = 0) : weight(size_t(bins), 0.0), sum(size_t(bins), 0.0) {}
  int32_t bins() const { return int32_t(weight.size()); }
};

// The number of bins any pixel of the scan's box can reach (at most 36001). The largest
// 2theta over a rectangle lies at one of its corners (the region of angles below a bound is
// convex on the detector plane), so the corners bound it; a detector turned so far that a
// corner lies behind the sample gets all bins.
int32_t reachable_bins(const AngleScan& scan);

// Accumulates the scan into sums (sized by the caller; samples whose upper bin falls
// outside the sums are dropped).
void accumulate_angles(const AngleScan& scan, AngleSums& sums);

// Accumulates the whole box into one set of sums per free sector of the division angle,
// the sector taken from the pixel's upward, ratio-scaled offset. An azimuth that rounds
// to 360 degrees counts in sector 0.
void accumulate_sectored_angles(const AngleScan& scan, double division_angle, std::vector<AngleSums>& sectors);

// The pattern value of one bin: Trunc(10 sum / (weight cos^3) + 0.5), saturated to Int32.
int32_t angle_bin_value(double weight, double sum, double two_theta_deg);

}  // namespace kestrin
