// The log: the one routine through which image, analysis and window code report. Lines are
// kept in a buffer until a listener (the log window, the harness) attaches, so nothing
// logged before the log window exists is lost.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/report.h"

namespace kestrin {

// Appends one line to the log. No prefix, no time stamp.
void log_line(std::string_view text);
// Logs that a command's routine is not part of this build yet:
// " <routine>() : not available in this version."
void log_not_available(std::string_view routine);
// A report whose lines go to the log as they are said: what the command layer hands to
// the routines it calls.
Report log_report();

// The process-wide log. A listener receives every line as it is logged; lines logged
// while no listener is attached are held (the newest kHistoryLimit of them, so a process
// without a log window does not grow without bound) and handed to the next listener.
class Log {
public:
  using Listener = std::function<void(const std::string&)>;
  void add(std::string_view text);
  void set_listener(Listener listener);  // delivers held lines first
  // Lines logged since the last clear_history, for tests and the harness; only the newest
  // kHistoryLimit lines are kept, so a long session does not grow without bound.
  static constexpr size_t kHistoryLimit = 100000;
  const std::vector<std::string>& history() const { return history_; }
  void clear_history() { history_.clear(); }

private:
  Listener listener_;
  std::vector<std::string> pending_;
  std::vector<std::string> history_;
};

Log& the_log();

}  // namespace kestrin
