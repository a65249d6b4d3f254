// The 2theta histograms of the curved imaging plate (no tilt, no cos^3) and the sub-pixel
// ("fine") histograms of a flat detector, each over a box, a slanted band or a sector. The
// two box routines share their own frame; the band and sector routines use the frame of
// the flat 2theta histograms.
// Each says its lines into `report` and returns what its command shows.
#pragma once

#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// The line the box routines say first.
constexpr const char* kFineAngleBanner = "<<<<<   Fine Angle Histogram   >>>>>";

PatternShow calc_curved_angle_histogram(Report& report);
PatternShow calc_curved_angle_histogram_band(Report& report);
PatternShow calc_curved_angle_histogram_sector(Report& report);

PatternShow calc_fine_angle_histogram(Report& report);
PatternShow calc_fine_angle_histogram_band(Report& report);
PatternShow calc_fine_angle_histogram_sector(Report& report);

}  // namespace kestrin
