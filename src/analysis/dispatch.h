// The integration dispatchers: the region radios and the image type choose one routine.
// Each says its lines into `report` and returns what its command shows (nothing when it
// refused or stopped); the commands record the macro lines and read the parameters between
// the choice and the run.
#pragma once

#include <string_view>

#include "analysis/histogram_frame.h"
#include "base/report.h"

namespace kestrin {

// A histogram routine as the dispatchers hand it on.
using HistogramRoutine = PatternShow (*)(Report&);

// What a dispatcher chose after its checks of the region's angles: `refused` after the
// check's lines (nothing runs and the fit count stays), else the routine to run, none when
// the region has none (no radio checked, free sectors of a curved plate).
struct HistogramChoice {
  bool refused = false;
  HistogramRoutine routine = nullptr;
};
// The region as the main window shows it when the command starts, before the parameters
// are read (so a sector or division edit that is not a number is refused, not raised).
struct RegionShown {
  int32_t region = -1;          // the checked region radio: 0 rectangle, 1 sector, 2 sectored division
  bool angle_mode = false;      // the rectangle by angle radio
  bool sector_valid = false;    // the sector start and end edits form a valid pair
  bool division_valid = false;  // the division angle edit gives 1 to kMaxSectorCount sectors
  bool division_too_small = false;  // it gives more than kMaxSectorCount
};

// Runs the choice: its routine, then the fit count cleared; nothing for a refusal.
PatternShow run_histogram_choice(const HistogramChoice& choice, Report& report);
// The line `routine` says before it looks at the parameters (its banner), or "" when it says
// none first.
std::string_view opening_line(HistogramRoutine routine);

// The refusals of a curved-plate image by the fine and the pixel dispatchers.
constexpr std::string_view kFineCurvedRefusal = " calc_fine_angle_histogram_selection(): bad file type(CurvedIP)";
constexpr std::string_view kPixelCurvedRefusal = " calc_pixel_histogram_selection() bad file type.(curvedIP)";
// True, after saying `refusal`, when the current image is a curved plate (type 9).
bool curved_plate_refused(std::string_view refusal, Report& report);
// True, after saying its line, when "Curved IP > Angle - Intensity" refuses the current
// image (one loaded that is not a curved plate; without an image the routine says so).
bool curved_selection_refused(Report& report);

// "Angle Intensity": the box, band, sector or free-sector routine of the chosen region
// (curved-plate routines for type 9), after the checks of the sector or division angle.
HistogramChoice angle_histogram_choice(const RegionShown& shown, Report& report);
// "Angle Intensity (fine)": the same for the sub-pixel routines (the free sectors take the
// sector routine); the curved plate is refused before.
HistogramChoice fine_angle_histogram_choice(const RegionShown& shown, Report& report);
// "Pixel Intensity": the box, band, sector or free-sector pixel histogram; a band along an
// axis is refused; the curved plate is refused before.
HistogramChoice pixel_histogram_choice(const RegionShown& shown, Report& report);

}  // namespace kestrin
