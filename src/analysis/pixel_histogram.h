// The pixel histograms: mean intensity against the tilt-corrected distance from the beam
// centre in whole pixels, over a box, a slanted band or a sector, and the cake window's
// sector variant that leaves the drawing to its caller.
#pragma once

#include <cstdint>

#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// The lines the pixel histograms say first.
constexpr const char* kPixelBanner = "<<<<<   Pixel Histogram   >>>>>";
constexpr const char* kSlantBanner = "<<<<<   Slant Pixel Histogram   >>>>>";

// Each says its lines into `report` and returns what its command shows.
PatternShow calc_pixel_histogram(Report& report);
PatternShow calc_slant_pixel_histogram(Report& report);
PatternShow calc_slant_pixel_histogram_sector(Report& report);
// The sector variant without the graph drawing (its range edits are still to show).
PatternShow calc_cake_slant_pixel_histogram(Report& report);

}  // namespace kestrin
