// Wiring the ports.
#include "commands/wiring.h"

#include "commands/main_form_commands.h"
#include "model/headless_ports.h"
#include "model/parameter_table.h"
#include "ports/names/main_form_names.h"

namespace kestrin {

namespace {

// The main window's radio buttons run the same commands when their headless stand-ins are
// checked, so a script setter that checks one does the same with and without windows.
void connect_main_form_radios(HeadlessControls& c) {
  for (const RadioChoice& r : parameter_of(frmMain::rbtnRectangle)->radios)
    c.set_click_handler(r.radio, [mode = r.value] { region_radio_clicked(mode); });
  for (const RadioChoice& r : parameter_of(frmMain::rbtnRect_Direction)->radios)
    c.set_click_handler(r.radio, [mode = r.value] { rect_mode_radio_clicked(mode); });
}

}  // namespace

void wire_program(const Ports& windows) {
  reset_headless_ports();
  connect_main_form_radios(headless_controls());
  install_ports(windows);
}

void start_headless_program() {
  wire_program({});
  start_program_state();
}

}  // namespace kestrin
