// The cake window's commands.
#include "commands/cake_commands.h"

#include "analysis/cake.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

bool cake_with(const CakeShape& shape) {
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
