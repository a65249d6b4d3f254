// The macro recorder: while recording is on, every user action appends the script line
// of the `Kestrin` method that repeats it, so a recorded series replays as a script.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

struct MacroRecorder {
  bool MacroRecording = false;
  // Never emptied: every recording since the start appends to the same list.
  std::vector<std::string> MacroList;
  // Appends a line while recording is on.
  void record(const std::string& line) {
    if (MacroRecording) MacroList.push_back(line);
  }
};

// A script string literal for `text`: single quotes, with ', \ and line ends escaped, so
// that a recorded name replays as the same name.
std::string js_quote(std::string_view text);

}  // namespace kestrin
