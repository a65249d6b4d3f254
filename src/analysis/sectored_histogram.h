// The sectored pixel histograms: the whole image cut into angular sectors round the beam
// centre, one distance pattern per sector in one pass. Sixteen fixed sectors with untilted
// distances rounded to the nearest pixel, or free sectors of the division angle with
// tilt-corrected distances split between two bins.
// Each says its lines into `report` and returns what its command shows.
#pragma once

#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// The lines the two sectoring routines say first.
constexpr const char* kSectoringBanner = "<<<<<< SECTORING >>>>>>>";
constexpr const char* kFreeSectoringBanner = "<<<<<< FREE ANGLE SECTORING >>>>>>>";

// The routine of "Sectoring" (whose command records the macro line).
PatternShow calc_sectored_histogram(Report& report);
PatternShow calc_free_angle_sectored_pixel_histogram(Report& report);

}  // namespace kestrin
