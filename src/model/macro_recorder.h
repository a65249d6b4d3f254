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

// A script string literal that the lexer reads back as exactly `text`. Apostrophe strings
// have no escapes, so a text without an apostrophe goes between apostrophes as it is; one
// with an apostrophe goes between double quotes with '\' and '"' escaped (no other
// character is escaped: "\n" would read back as CR LF).
std::string js_quote(std::string_view text);

// The argument text of a recorded setter for what the user typed into a parameter edit
// (text that StrToFloat, or StrToInt for an integer edit, accepts). The text stays as
// typed, blanks included, when the script lexer reads it as the same number: decimal
// digits with an optional fraction and exponent, an optional leading '-', and for an
// integer edit also "0x" hexadecimal. Other forms the edits accept ("200.", ".5", "+1",
// "$1F") become the shortest text that reads back as the same value ("200", "0.5", "1",
// "31").
std::string recorded_number(std::string_view typed, bool integer);

}  // namespace kestrin
