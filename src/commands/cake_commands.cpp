// The cake window's commands.
#include "commands/cake_commands.h"

#include "analysis/cake.h"
#include "commands/main_form_commands.h"
#include "model/parameter_table.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The slices are sectors: the sector radio is chosen first, with its click command when it
// was not chosen, unless another run refuses the cake.
bool cake_with(const CakeShape& shape) {
  if (!long_run_active() && shape.slices_computed > 0) choose_choice(*parameter_named("IntegrationMode"), 1);
  if (!make_cake(shape)) return false;
  cake_window().draw_cake();
  if (state().WindowShow == 1) cake_window().show();
  return true;
}

}  // namespace

bool cake_clicked() { return cake_with(kCake); }

bool sector_cake_clicked() { return cake_with(kSectorCake); }

void cake_brightness_changed(int32_t position) {
  CakeState& cake = cake_state();
  if (!cake.made) return;
  set_cake_brightness(cake.CakeDIB, position);
  cake_window().draw_cake();
}

}  // namespace kestrin
