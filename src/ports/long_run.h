// Long runs: they stay on the GUI thread and let the windows handle their queued events
// between steps through one helper, and one guard keeps a second long run from starting
// inside that pump (the user's second click on a command that is still running).
#pragma once

#include <functional>
#include <string_view>

namespace kestrin {

// Hands the windows' queued events to them once. The default has no windows.
class EventPump {
public:
  virtual ~EventPump() = default;
  virtual void process_messages() {}
  // True once the program is ending; long runs stop after their current step.
  virtual bool terminated() const { return false; }
  // Lets the windows handle their events, sleeping while there are none, until `done`
  // holds or the program ends. The default has no events to wait for and returns at once.
  virtual void wait_until(const std::function<bool()>& done) { (void)done; }
};

// Runs body as a long run and returns true. While one runs, a second is refused: it logs
// " <routine>() : another run is in progress." and returns false without running.
bool run_long(std::string_view routine, const std::function<void()>& body);
// True while a long run is running.
bool long_run_active();
// Lets the windows handle their queued events once (through the installed pump).
void pump_events();
// True once the program is ending (through the installed pump).
bool program_terminated();
// Lets the windows handle their events until `done` holds (through the installed pump);
// without windows it returns at once, whether or not `done` holds.
void wait_for_events(const std::function<bool()>& done);

}  // namespace kestrin
