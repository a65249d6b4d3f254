// The headless program's ports: the ports' headless defaults, with controls that hold the
// windows' start values and radio groups from the parameter table, and the start texts of
// the tool windows' settings.
#pragma once

#include "ports/controls.h"

namespace kestrin {

// Declares the radio groups of the parameter table and of the built windows on the
// controls and writes the start values (the table's, the built windows', the tool
// windows' start texts, the graph window's SAMEPEAK edit, which is no parameter, and the
// script window's number cells) into them.
void prepare_headless_controls(HeadlessControls& controls);

// Back to fresh headless ports whose controls hold the start values, with the parameter
// window port over them.
void reset_headless_ports();

}  // namespace kestrin
