// Wiring the ports.
#include "commands/wiring.h"

#include "analysis/histogram_frame.h"
#include "commands/headless_ports.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "commands/parameter_controls.h"
#include "ports/ports.h"

namespace kestrin {

void wire_program(const Ports& windows) {
  reset_headless_ports();
  set_missing_centre_search(find_missing_centre);
  install_ports(windows);
  controls().set_change_listener(mark_parameter_changed);
}

void start_headless_program() {
  wire_program({});
  start_program_state();
}

}  // namespace kestrin
