// The centre search for the routines that still read the main window's edits themselves.
#include "analysis/center.h"

#include "base/convert.h"
#include "base/report.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

void find_local_maximum(double& X, double& Y) {
  Report report = log_report();
  find_local_maximum(X, Y, report);
}

int32_t find_center() {
  state().macro.record("Kestrin.FindCenter();");
  Report report = log_report();
  if (!announce_find_center(report)) return 1;
  read_parameters(current_image().ImageHeight);
  const int32_t status = find_center(report);
  if (status != 0) return status;
  const IntegrationParams& p = state().integration_params;
  controls().set_text(frmMain::edtCenterX0, Format("%10.5f", {p.X0}));
  controls().set_text(frmMain::edtCenterY0, Format("%10.5f", {shown_y(p.Y0)}));
  image_window().redraw_image();
  return 0;
}

}  // namespace kestrin
