// The long-run guard and the event pump helper.
#include "ports/long_run.h"

#include <string>

#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin {

namespace {
bool running = false;
}

bool run_long(std::string_view routine, const std::function<void()>& body) {
  if (running) {
    log_line(" " + std::string(routine) + "() : another run is in progress.");
    return false;
  }
  running = true;
  struct Reset {
    ~Reset() { running = false; }
  } reset;
  body();
  return true;
}

bool long_run_active() { return running; }

void pump_events() { ports().events->process_messages(); }

bool program_terminated() { return ports().events->terminated(); }

void wait_for_events(const std::function<bool()>& done) { ports().events->wait_until(done); }

}  // namespace kestrin
