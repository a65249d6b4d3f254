// The 2theta dispatchers. The curved-plate and fine routines are not part of this build
// yet: where one of them would run, the dispatcher says so in the log.
#include "analysis/dispatch.h"

#include "analysis/angle_histogram.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kCurvedPlateType = 9;

bool box_direction() {
  return state().integration_params.RectDirection < 7 && !controls().checked(frmMain::rbtnRect_Angle);
}

}  // namespace

void calc_angle_histogram_selection() {
  state().macro.record("Kestrin.AngleIntensity();");
  const bool curved = current_image().image_type == kCurvedPlateType;
  Controls& c = controls();
  if (c.checked(frmMain::rbtnRectangle)) {
    if (box_direction()) {
      curved ? log_not_available("calc_curved_angle_histogram") : calc_angle_histogram();
    } else {
      curved ? log_not_available("calc_curved_angle_histogram_band") : calc_angle_histogram_band();
    }
  } else if (c.checked(frmMain::rbtnSector)) {
    if (check_sector_angles() == 1) {
      log_line("Input angle error!");
      return;
    }
    curved ? log_not_available("calc_curved_angle_histogram_sector") : calc_angle_histogram_sector();
  } else if (c.checked(frmMain::rbtnSectoredDivision)) {
    if (check_division_angle() == 1) {
      log_line("Input division angle error!");
      if (division_angle_below_limit()) log_line(smallest_division_angle_line());
      return;
    }
    if (!curved) calc_free_angle_sectored_angle_histogram();
  }
  state().fit_tables.count = 0;
}

void calc_fine_angle_histogram_selection() {
  if (current_image().image_type == kCurvedPlateType) {
    log_line(" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)");
    return;
  }
  state().macro.record("Kestrin.FineAngleIntensity();");
  if (controls().checked(frmMain::rbtnRectangle)) {
    log_not_available(box_direction() ? "calc_fine_angle_histogram" : "calc_fine_angle_histogram_band");
  } else {
    if (check_sector_angles() == 1) {
      log_line("Input angle error!");
      return;
    }
    log_not_available("calc_fine_angle_histogram_sector");
  }
  state().fit_tables.count = 0;
}

}  // namespace kestrin
