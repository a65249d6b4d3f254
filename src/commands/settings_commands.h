// Reading the settings file into the main window and the state, and saving them: the
// window's side of image/files/settings_file.h.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// Fills the main window's controls and the state from the file, with LoadingFlag set
// meanwhile. Lines past the end of the file read as empty lines. A missing or unreadable
// file, or a line that does not convert (outside the lines with a fall-back value), ends
// the reading there; nothing is reported.
void read_settings_file(const std::string& path);
void read_settings_lines(const std::vector<std::string>& lines);

// The 54 lines for the current controls and state.
std::vector<std::string> settings_file_lines();
// Writes the file (creating the configuration folder when it is the default path).
// A failure is logged, written to standard error and reported by false, never thrown.
bool save_settings_file(const std::string& path);

}  // namespace kestrin
