// The 2theta histograms of a flat detector: the box, band and sector routines (one pattern
// into nax_pattern) and the free-sector routine (one pattern per sector).
#pragma once

#include <cstdint>
#include <string_view>

#include "analysis/angle_accumulator.h"
#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// One run of the box, band or sector 2theta frame: banner-less, with the box line, the
// report and (shown by the command) the main window's 2theta edits. The curved plate divides by no cos^3.
struct RegionRun {
  RegionTest region = RegionTest::None;
  Sampling sampling = Sampling::Flat;
  bool clear_fit = true;      // the fit count is cleared before the pixel loop
  bool cos3_line = true;      // report line "cos3 correction was made"
  bool lorentz_line = true;   // report line "Use normal lorentz factor ..."
};
// Each run says its lines into `report` and returns what its command shows (nothing when
// it stopped before making a pattern).
PatternShow run_region_histogram(const RegionRun& run, Report& report);

PatternShow calc_angle_histogram(Report& report);
PatternShow calc_angle_histogram_band(Report& report);
PatternShow calc_angle_histogram_sector(Report& report);
PatternShow calc_free_angle_sectored_angle_histogram(Report& report);

// False, after saying why, when the geometry of integration_params cannot give a
// pattern: camera length or 2theta step not above 0, or a value that is not finite.
// `routine` names the caller in the line.
bool integration_parameters_usable(std::string_view routine, Report& report);

}  // namespace kestrin
