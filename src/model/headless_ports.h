// The headless program's ports: the ports' headless defaults, with controls that hold the
// windows' start values and radio groups from the parameter table, and the start texts of
// the tool windows' settings.
#pragma once

#include "ports/controls.h"

namespace kestrin {

// Declares the table's radio groups on the controls and writes the start values (the
// table's and the tool windows' start texts) into them.
void prepare_headless_controls(HeadlessControls& controls);

// Back to fresh headless ports whose controls hold the start values.
void reset_headless_ports();

}  // namespace kestrin
