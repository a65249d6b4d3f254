// The one place where the Qt-free program meets its windows: the program installs its
// windows' ports here, the harness installs none and runs headless. Either way the ports
// not given are headless, and the controls of windows not built yet hold their start
// values from the parameter table.
#pragma once

#include "ports/ports.h"

namespace kestrin {

// Installs the given ports over fresh headless ones. The headless stand-ins of the main
// window's radio buttons run the window's click commands when they become checked.
void wire_program(const Ports& windows);

// The program's start without windows: headless ports, then the start state as the main
// window's creation sets it (start_program_state).
void start_headless_program();

}  // namespace kestrin
