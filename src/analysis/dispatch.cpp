// The integration dispatchers.
#include "analysis/dispatch.h"

#include "analysis/angle_histogram.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "image/image_store.h"
#include "model/parameters.h"  // kMaxSectorCount, smallest_division_angle_line
#include "model/state.h"

namespace kestrin {

namespace {

// The region the radios show (-1: none checked, and nothing is integrated).
enum Region : int32_t { kRectangle = 0, kSector = 1, kSectoredDivision = 2 };

// A box along a direction, unless the direction is a diagonal or the angle mode is chosen.
bool box_direction(const RegionShown& shown) {
  return state().integration_params.RectDirection < 7 && !shown.angle_mode;
}

// The checks of the sector and the division angles, with their lines on failure.
bool sector_angles_valid(const RegionShown& shown, Report& report) {
  if (shown.sector_valid) return true;
  report.say("Input angle error!");
  return false;
}
bool division_angle_valid(const RegionShown& shown, Report& report) {
  if (shown.division_valid) return true;
  report.say("Input division angle error!");
  if (shown.division_too_small) report.say(smallest_division_angle_line());
  return false;
}

// The rectangle angles on an axis, which the pixel dispatcher refuses for a band.
bool axis_angle(double a) { return a == 0.0 || a == 90.0 || a == 180.0 || a == 270.0 || a == 360.0; }

}  // namespace

PatternShow run_histogram_choice(const HistogramChoice& choice, Report& report) {
  if (choice.refused) return {};
  const PatternShow made = choice.routine ? choice.routine(report) : PatternShow{};
  state().fit_tables.count = 0;
  return made;
}

std::string_view opening_line(HistogramRoutine routine) {
  if (routine == calc_fine_angle_histogram || routine == calc_curved_angle_histogram) return kFineAngleBanner;
  if (routine == calc_pixel_histogram) return kPixelBanner;
  if (routine == calc_slant_pixel_histogram || routine == calc_slant_pixel_histogram_sector) return kSlantBanner;
  if (routine == calc_free_angle_sectored_pixel_histogram) return kFreeSectoringBanner;
  return {};
}

bool curved_plate_refused(std::string_view refusal, Report& report) {
  if (current_image().image_type != kTypeRaxisCS) return false;
  report.say(refusal);
  return true;
}

bool curved_selection_refused(Report& report) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag != 0 || img.image_type == kTypeRaxisCS) return false;
  report.say(" calc_curved_angle_histogram_selection() : bad file type (not CurvedIP); the pattern is kept.");
  return true;
}

HistogramChoice angle_histogram_choice(const RegionShown& region, Report& report) {
  const bool curved = current_image().image_type == kTypeRaxisCS;
  const int32_t shown = region.region;
  if (shown == kRectangle) {
    if (box_direction(region)) return {false, curved ? calc_curved_angle_histogram : calc_angle_histogram};
    return {false, curved ? calc_curved_angle_histogram_band : calc_angle_histogram_band};
  }
  if (shown == kSector) {
    if (!sector_angles_valid(region, report)) return {true};
    return {false, curved ? calc_curved_angle_histogram_sector : calc_angle_histogram_sector};
  }
  if (shown == kSectoredDivision) {
    if (!division_angle_valid(region, report)) return {true};
    return {false, curved ? nullptr : calc_free_angle_sectored_angle_histogram};
  }
  return {};
}

HistogramChoice fine_angle_histogram_choice(const RegionShown& region, Report& report) {
  if (region.region == kRectangle) return {false, box_direction(region) ? calc_fine_angle_histogram : calc_fine_angle_histogram_band};
  if (!sector_angles_valid(region, report)) return {true};
  return {false, calc_fine_angle_histogram_sector};
}

HistogramChoice pixel_histogram_choice(const RegionShown& region, Report& report) {
  const int32_t shown = region.region;
  if (shown == kRectangle) {
    if (box_direction(region)) return {false, calc_pixel_histogram};
    if (axis_angle(state().integration_params.rect_angle)) {
      report.say(" calc_pixel_histogram_selection() bad angle. please check \"Direction\" and select from combobox.");
      return {true};
    }
    return {false, calc_slant_pixel_histogram};
  }
  if (shown == kSector) {
    if (!sector_angles_valid(region, report)) return {true};
    return {false, calc_slant_pixel_histogram_sector};
  }
  if (shown == kSectoredDivision) {
    if (!division_angle_valid(region, report)) return {true};
    return {false, calc_free_angle_sectored_pixel_histogram};
  }
  return {};
}

}  // namespace kestrin
