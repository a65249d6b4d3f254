// The headless program's ports: the ports' headless defaults, with controls that hold the
// windows' start values and radio groups from the parameter table.
#pragma once

#include "ports/controls.h"

namespace kestrin {

// Declares the table's radio groups on the controls and writes the start values into them
// (those of the parameter table and the script window's number cells).
void prepare_headless_controls(HeadlessControls& controls);

// Back to fresh headless ports whose controls hold the start values.
void reset_headless_ports();

}  // namespace kestrin
