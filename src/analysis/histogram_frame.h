// What every histogram routine shares: the centre search when no centre is set, the
// parameter checks, the scan of a region read from the shared state, the final pass into
// pattern values, the report lines about the centre and the tilt, the pattern title and
// the pattern graph's ranges.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/report.h"

#include "analysis/angle_accumulator.h"
#include "analysis/sector_accumulator.h"

namespace kestrin {

// A bin whose weight stays below this counts as empty.
constexpr double kEmptyWeight = 1e-6;

// Distance bins below this are cleared: the centre region never reaches the pattern.
constexpr int32_t kFirstDistanceBin = 20;

// The centre search the histograms run when the centre of integration_params is exactly
// (0, 0). The command layer installs its own (it records the macro line, logs, shows the
// centre in the edits and reads them back), so no routine here writes a control; until
// then none runs.
void set_missing_centre_search(void (*search)());
// Runs that search when the centre is exactly (0, 0).
void find_center_when_missing();

// The start of every run: without an image, says `no_image_line` and returns false; else
// finds the centre when none is set and returns true. The command has read the parameters.
bool image_ready(std::string_view no_image_line, Report& report);

// Clears the pattern values and the peak count, and the fit count when asked.
void clear_pattern(bool clear_fit);

// The free sectors of the division angle, after saying "Sector Angle" and "Sector Number";
// 0, after saying "Input division angle error!", when the angle gives none or too many.
int32_t free_sector_count(Report& report);

// False, after saying why, when the centre, the pixel sizes or (with `tilted`) the tilt
// cannot give distances: a value that is not finite, or a tilt without a camera length
// above 0. The distance needs no camera length otherwise. `routine` names the caller.
bool distance_parameters_usable(std::string_view routine, Report& report, bool tilted = true);

// The geometry of the distance routines: as for 2theta, but the tilt term is 0 without a
// tilt, whatever the camera length.
DetectorGeometry distance_geometry(const IntegrationParams& p);

// The scan of box x1..x2, y1..y2 (clamped to the image) with the exclusions of OmitGreen and
// OmitBlue and the sampling's geometry, from the shared state; no region test.
AngleScan make_scan(int32_t x1, int32_t x2, int32_t y1, int32_t y2, Sampling sampling);
// The scan of an integration region's box with its band or sector test (or none).
AngleScan make_region_scan(const IntegrationRegion& area, RegionTest region, Sampling sampling);

// The final pass of a 2theta pattern: each filled bin i into pattern[i], divided by cos^3 of
// its angle when `cos3`; raises `maximum` and `last` (the last filled bin).
void finish_angle_pattern(const AngleSums& sums, double begin, double step, bool cos3, int32_t* pattern,
                          int32_t& maximum, int32_t& last);

// Sizes sector_patterns for n sectors and empties sectors 0..n-1: patterns, last points
// and peak counts (the peak lists keep their entries).
void clear_sector_patterns(int32_t n);

// The common maximum and last filled bin of a sectored run.
struct SectoredResult {
  int32_t maximum = 0, last = 0;
};
// The value of a filled bin i from its weight and sum: bin_value, or with `angle`
// angle_bin_value at 2theta begin + i step.
struct BinValues {
  bool angle = false;
  double begin = 0, step = 1;
};
// Accumulates the scan into the division's sectors and stores each sector's pattern in the
// sector store (sized and cleared before): its filled bins from `first` on through `values`,
// stored up to its last filled bin, and its last point (last filled bin + 1; 1 when none).
SectoredResult store_sectored_patterns(const AngleScan& scan, const SectorDivision& division, int32_t first,
                                       const BinValues& values);

// "Center position =" with the centre as shown (row flipped under VerticalReverse), and
// " Tilt = ... Azimuth =".
void log_centre_and_tilt(Report& report);
// The centre row as the report shows it.
double reported_y0();

// The report of a distance pattern: " Region          = ", the box, the largest distance
// and intensity, and (`multiplied`) the line on the scale factor 10.
void log_distance_report(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t last, int32_t maximum,
                         bool multiplied, Report& report);

// PatternTitle := PatternName + the image's two info texts.
void set_pattern_title();

// What a histogram run leaves for its command to show: which range edits take the graph's
// new view ranges (from integration_params) and whether the graph is redrawn. A run that
// stopped before making a pattern shows nothing.
struct PatternShow {
  enum class Ranges : uint8_t { None, Angle, Pixel };
  Ranges ranges = Ranges::None;
  bool main_window = false, graph_window = false;  // Angle: whose 2theta begin and end edits
  const char* format = "%6d";                       // Pixel: the format of the four range edits
  bool draw = false;
};

// The graph's view ranges of a 2theta pattern: 2theta begin..end and y from 0 to y_end, into
// integration_params; the command shows the graph window's y edits ("%6d") and the 2theta
// begin and end edits ("%8.4f") of the main window and of the graph window where asked for.
PatternShow publish_angle_ranges(int32_t y_end, bool main_window, bool graph_window);

// The graph's view ranges of a distance pattern: x from 100 to x_end, y from 0 to y_end, into
// integration_params; the command shows them in the graph window's four range edits (in
// `format`).
PatternShow publish_pixel_ranges(int32_t x_end, int32_t y_end, const char* format);

}  // namespace kestrin
