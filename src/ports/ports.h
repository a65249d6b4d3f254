// The ports through which image and analysis code reaches the windows. One process-wide
// set; the program installs its windows' implementations, tests install their own.
#pragma once

#include "ports/controls.h"
#include "ports/log.h"
#include "ports/views.h"

namespace kestrin {

struct Ports {
  Controls* controls;
  Views* views;
  Prompts* prompts;
};

// The current ports. Until something is installed, headless implementations serve.
Ports& ports();
inline Controls& controls() { return *ports().controls; }
inline Views& views() { return *ports().views; }
inline Prompts& prompts() { return *ports().prompts; }

// Installs a set of ports; null members keep the headless defaults.
void install_ports(Controls* c, Views* v, Prompts* p);
// Back to fresh, empty headless defaults (cancelling file dialogs). The headless program's
// start values come from the parameter table: see model/headless_ports.h.
void reset_ports();
HeadlessControls& headless_controls();

}  // namespace kestrin
