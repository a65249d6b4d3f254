// What an analysis or image routine has to say. The routine appends lines and never writes
// the log itself; the command layer that called it decides where the lines go. A Report
// made with a sink hands each line on as it comes (the log, so a long run shows its
// progress line by line); one made without keeps them for the caller to read.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrin {

class Report {
public:
  using Sink = std::function<void(std::string_view)>;

  Report() = default;
  explicit Report(Sink sink) : sink_(std::move(sink)) {}

  void say(std::string_view line) {
    if (sink_) sink_(line);
    else lines_.emplace_back(line);
  }
  // The lines said so far; empty when the report has a sink.
  const std::vector<std::string>& lines() const { return lines_; }

private:
  Sink sink_;
  std::vector<std::string> lines_;
};

}  // namespace kestrin
