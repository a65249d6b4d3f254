// The process-wide log buffer and its listener.
#include "ports/log.h"

namespace kestrin {

Log& the_log() {
  static Log log;
  return log;
}

void log_line(std::string_view text) { the_log().add(text); }

Report log_report() {
  return Report([](std::string_view line) { log_line(line); });
}

void log_not_available(std::string_view routine) {
  log_line(" " + std::string(routine) + "() : not available in this version.");
}

namespace {

// Appends a line; a full buffer first drops its older half, so it never holds more than
// kHistoryLimit lines and trimming stays rare.
void append_bounded(std::vector<std::string>& lines, std::string line) {
  if (lines.size() >= Log::kHistoryLimit)
    lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(Log::kHistoryLimit / 2));
  lines.push_back(std::move(line));
}

}  // namespace

void Log::add(std::string_view text) {
  std::string line(text);
  append_bounded(history_, line);
  if (listener_)
    listener_(line);
  else
    append_bounded(pending_, std::move(line));
}

void Log::set_listener(Listener listener) {
  listener_ = std::move(listener);
  if (!listener_) return;
  std::vector<std::string> held;
  held.swap(pending_);
  for (const auto& line : held) listener_(line);
}

}  // namespace kestrin
