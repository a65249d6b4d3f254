// The spot search: a local contrast test at every pixel of a rectangle (peak box against the
// border of a background square), two duplicate passes and the refinement of each spot to
// the centroid around its brightest pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "image/formats/image_data.h"

namespace kestrin {

class Report;

// The settings of one search: half sizes of the peak box (s) and of the background square
// (b), the peak/background ratio, the tolerance of the side ratios, the duplicate distance
// and the rectangle (x0, y0)-(x1, y1).
struct SpotScan {
  int32_t s = 1, b = 9;
  double ratio = 1.3, tolerance = 0.2;
  int32_t d = 4;
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct SpotCandidate {
  int32_t x = 0, y = 0;
  friend bool operator==(const SpotCandidate&, const SpotCandidate&) = default;
};

// Every pixel of the rectangle that passes the contrast test, in scan order (rows, then
// columns), for 1 <= b and 0 <= s <= b. Pixels whose border square would leave the image
// are not tested. The sums run over row lanes on the worker threads; they are exact
// integers where every entry of the intensity table is an integer, else the direct sums.
std::vector<SpotCandidate> find_spot_candidates(const ImageData& image, const SpotScan& scan);

// Replaces the spot list by the spots found in the rectangle of the current image. Width
// must be the image's width. A peak box larger than the background square (s > b), a
// background square of no size and a missing image are refused with a line in the report.
void spot_search(int32_t width, int32_t s, int32_t b, double ratio, double tolerance, int32_t d, int32_t x0,
                 int32_t y0, int32_t x1, int32_t y1, Report& report);
// The same, appending the spots found as a new batch: SpotBatchStart becomes the old count.
// The batch is not compared with the spots already listed.
void spot_search_add(int32_t width, int32_t s, int32_t b, double ratio, double tolerance, int32_t d, int32_t x0,
                     int32_t y0, int32_t x1, int32_t y1, Report& report);

// Moves (x, y) to the intensity centroid around the brightest pixel of the 13 x 13 window
// at it (masked pixels left out while the mask is on) and returns that intensity. Without
// a positive pixel in the window the position stays and the result is 0.
double refine_spot(double& x, double& y);

}  // namespace kestrin
