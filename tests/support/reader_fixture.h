// Common set-up of the loader tests: fresh shared state, headless ports and an empty log.
#pragma once

#include "commands/headless_ports.h"
#include "image/program_state.h"
#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin::test {

// A fresh start for a loader test: shared state, headless ports and an empty log. Loads are
// tested with the header values in use, so the header locks (checked at the program's
// start) start unchecked here.
void reset_for_reader_test();

}  // namespace kestrin::test
