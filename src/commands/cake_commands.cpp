// The cake window's commands.
#include "commands/cake_commands.h"

#include "analysis/cake.h"
#include "base/convert.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "image/image_store.h"
#include "model/parameter_table.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The slices are sectors: the sector radio is chosen first, with its click command when it
// was not chosen, unless another run refuses the cake.
bool cake_with(const CakeShape& shape) {
  if (!long_run_active() && shape.slices_computed > 0) choose_choice(*parameter_named("IntegrationMode"), 1);
  if (!run_cake(shape)) return false;
  cake_window().draw_cake();
  if (state().WindowShow == 1) cake_window().show();
  return true;
}

}  // namespace

namespace {

// The sector radio checked (without its click command) and the sector edits of slice s.
void show_slice(const CakeShape& shape, int32_t s) {
  set_integer_parameter(*parameter_named("IntegrationMode"), 1);
  show_parameter_text(&IntegrationParams::sector_start, Format("%d", {shape.slice_degrees * s}));
  show_parameter_text(&IntegrationParams::sector_end, Format("%d", {shape.slice_degrees * (s + 1)}));
}

}  // namespace

bool run_cake(const CakeShape& shape) {
  // The slices set their sectors in the model. The edits are read first, so that none of
  // them typed and not yet read replaces a slice's sector, and the first slice is shown
  // before it runs, so that a centre search, which reads the edits, keeps its sector.
  if (!long_run_active() && shape.slices_computed > 0) {
    read_image_parameters();
    show_slice(shape, 0);
  }
  Report report = log_report();
  const CakeRun run = make_cake(shape, report);
  if (run.slices_begun > 0) show_slice(shape, run.slices_begun - 1);
  show_pattern(run.shown);
  return run.made;
}

bool cake_clicked() { return cake_with(kCake); }

bool sector_cake_clicked() { return cake_with(kSectorCake); }

void cake_brightness_changed(int32_t position) {
  CakeState& cake = cake_state();
  if (!cake.made) return;
  set_cake_brightness(cake.CakeDIB, position);
  cake_window().draw_cake();
}

}  // namespace kestrin
