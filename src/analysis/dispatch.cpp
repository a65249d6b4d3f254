// The integration dispatchers.
#include "analysis/dispatch.h"

#include "analysis/angle_histogram.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The region the radios show (-1: none checked, and nothing is integrated).
enum Region : int32_t { kRectangle = 0, kSector = 1, kSectoredDivision = 2 };
int32_t region() { return checked_choice(*parameter_named("IntegrationMode")); }

// A box along a direction, unless the direction is a diagonal or the angle mode is chosen.
bool box_direction() {
  constexpr int32_t kAngleMode = 1;
  return state().integration_params.RectDirection < 7 && checked_choice(*parameter_named("RectAngleMode")) != kAngleMode;
}

// The checks of the sector and the division angles, with their lines on failure.
bool sector_angles_valid() {
  if (check_sector_angles() == 0) return true;
  log_line("Input angle error!");
  return false;
}
bool division_angle_valid() {
  if (check_division_angle() == 0) return true;
  log_line("Input division angle error!");
  if (division_angle_below_limit()) log_line(smallest_division_angle_line());
  return false;
}

// The rectangle angles on an axis, which the pixel dispatcher refuses for a band.
bool axis_angle(double a) { return a == 0.0 || a == 90.0 || a == 180.0 || a == 270.0 || a == 360.0; }

}  // namespace

void calc_angle_histogram_selection() {
  state().macro.record("Kestrin.AngleIntensity();");
  const bool curved = current_image().image_type == kTypeRaxisCS;
  const int32_t shown = region();
  if (shown == kRectangle) {
    if (box_direction()) {
      curved ? calc_curved_angle_histogram() : calc_angle_histogram();
    } else {
      curved ? calc_curved_angle_histogram_band() : calc_angle_histogram_band();
    }
  } else if (shown == kSector) {
    if (!sector_angles_valid()) return;
    curved ? calc_curved_angle_histogram_sector() : calc_angle_histogram_sector();
  } else if (shown == kSectoredDivision) {
    if (!division_angle_valid()) return;
    if (!curved) calc_free_angle_sectored_angle_histogram();
  }
  state().fit_tables.count = 0;
}

void calc_curved_angle_histogram_selection() {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 0 && img.image_type != kTypeRaxisCS) {
    log_line(" calc_curved_angle_histogram_selection() : bad file type (not CurvedIP); the pattern is kept.");
    return;
  }
  calc_angle_histogram_selection();  // without an image its routine says so
}

void calc_fine_angle_histogram_selection() {
  if (current_image().image_type == kTypeRaxisCS) {
    log_line(" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)");
    return;
  }
  state().macro.record("Kestrin.FineAngleIntensity();");
  if (region() == kRectangle) {
    box_direction() ? calc_fine_angle_histogram() : calc_fine_angle_histogram_band();
  } else {
    if (!sector_angles_valid()) return;
    calc_fine_angle_histogram_sector();
  }
  state().fit_tables.count = 0;
}

void calc_pixel_histogram_selection() {
  if (current_image().image_type == kTypeRaxisCS) {
    log_line(" calc_pixel_histogram_selection() bad file type.(curvedIP)");
    return;
  }
  state().macro.record("Kestrin.PixelIntensity();");
  const int32_t shown = region();
  if (shown == kRectangle) {
    if (box_direction()) {
      calc_pixel_histogram();
    } else if (axis_angle(state().integration_params.rect_angle)) {
      log_line(" calc_pixel_histogram_selection() bad angle. please check \"Direction\" and select from combobox.");
      return;
    } else {
      calc_slant_pixel_histogram();
    }
  } else if (shown == kSector) {
    if (!sector_angles_valid()) return;
    calc_slant_pixel_histogram_sector();
  } else if (shown == kSectoredDivision) {
    if (!division_angle_valid()) return;
    calc_free_angle_sectored_pixel_histogram();
  }
  state().fit_tables.count = 0;
}

}  // namespace kestrin
