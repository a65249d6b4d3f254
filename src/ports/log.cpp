// The process-wide log buffer and its listener.
#include "ports/log.h"

namespace kestrin {

Log& the_log() {
  static Log log;
  return log;
}

void log_line(std::string_view text) { the_log().add(text); }

void Log::add(std::string_view text) {
  std::string line(text);
  if (history_.size() >= kHistoryLimit)
    history_.erase(history_.begin(), history_.begin() + std::ptrdiff_t(kHistoryLimit / 2));
  history_.push_back(line);
  if (listener_)
    listener_(line);
  else
    pending_.push_back(std::move(line));
}

void Log::set_listener(Listener listener) {
  listener_ = std::move(listener);
  if (!listener_) return;
  std::vector<std::string> held;
  held.swap(pending_);
  for (const auto& line : held) listener_(line);
}

}  // namespace kestrin
