// The 2theta of one spot: a narrow band through the spot integrated into a 2theta profile,
// a peak added at the spot's 2theta and fitted, the nearest fitted peak written into the
// spot's record and the analysis grid, the profile saved as a RAW pattern.
#pragma once

#include <cstdint>
#include <string>

#include "commands/spot_analysis_commands.h"

namespace kestrin {

// The azimuth (degrees, 0 to 360) that points the main window's rectangle band from the
// beam centre (x0, y0) at the pixel (x, y): the region's angles run clockwise on the screen
// from +x (y down), so a = atan2(y - y0, x - x0).
double spot_azimuth(double x, double y, double x0, double y0);

// The RAW profile of spot i (0-based): the image's folder and base name, "_", the number
// i + 1 in three digits, ".RAW".
std::string spot_profile_name(int32_t spot);

// Writes one cell of the analysis grid (the table grows to hold it) and shows it.
void set_analysis_cell(int32_t column, int32_t row, const std::string& text);

// The analysis of spot i: the main window's region set to the rectangle by angle with the
// spot's azimuth and the band, the parameters read, the band histogram, a peak at the
// spot's 2theta (or 0.005 beside it down the slope) fitted over the profile window with
// the chosen fit type (FitType is restored on every exit), the profile saved, the nearest
// fitted peak within the allowance written into the record and grid (zeros when none), and
// the graph's 2theta range set to the profile window and drawn.
void analyze_spot_2theta(int32_t spot, const Spot2ThetaSettings& settings);

}  // namespace kestrin
