// The pixel loop of the histograms over a region: each pixel's samples (its 2theta on a
// flat or curved detector, nine sub-pixel 2theta values, or its distance from the centre)
// split into bins as weight and weighted intensity sums. Lanes of rows run on worker
// threads and are merged in lane order.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/curved_plate.h"
#include "analysis/geometry.h"
#include "analysis/integration_area.h"

namespace kestrin {

struct ImageStore;

enum class RegionTest { None, Band, Sector };

// What a pixel's samples are binned by: Flat, Fine (nine sub-positions) and Curved give
// 2theta bins of begin + i step, split between two bins; Distance gives the tilt-corrected
// distance, bin i at i pixels, split; RoundedDistance the untilted distance, each pixel
// wholly into its nearest bin.
enum class Sampling { Flat, Fine, Curved, Distance, RoundedDistance };

// Everything one accumulation reads, copied out of the shared state once per run.
struct AngleScan {
  const ImageStore* image = nullptr;
  Sampling sampling = Sampling::Flat;
  DetectorGeometry geometry;
  CurvedPlate curved;
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

// The number of bins any sample of the scan's box can reach (at most 36001). The largest
// 2theta or distance over a rectangle lies at one of its corners (the region where it stays
// below a bound is convex on the detector plane), so the corners bound it; a detector turned
// so far that a corner lies behind the sample, and the curved plate, get all bins.
int32_t reachable_bins(const AngleScan& scan);

// Accumulates the scan into sums (sized by the caller; samples whose bins fall outside the
// sums are dropped).
void accumulate_angles(const AngleScan& scan, AngleSums& sums);

// The pattern value of a bin: Trunc(10 sum / weight + 0.5), and the same divided by cos^3 of
// the bin's angle; both saturated to Int32.
int32_t bin_value(double weight, double sum);
int32_t angle_bin_value(double weight, double sum, double two_theta_deg);
// The two halves of angle_bin_value, for runs that divide many bins of one angle: cos^3 of
// the angle, and the value of a bin given it.
double cube_cos(double two_theta_deg);
int32_t cubed_bin_value(double weight, double sum, double cube);

}  // namespace kestrin
