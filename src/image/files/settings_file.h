// The settings file "Kestrin.kes": the main window's parameter edits, region choices and
// header locks, the remembered dialog folders and filter indexes, the options and the
// display colours, one value per line in a fixed order (54 lines, no keys). This file
// reads the lines into the state and says what the controls are to show; the command
// layer (commands/settings_commands.h) moves the texts between the lines and the controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/parameter_table.h"

namespace kestrin {

// The settings file in the configuration folder.
std::string settings_file_path();

// A line of the table's part of the file (lines 1 to 24) as the main window takes it: an
// edit's text, shown even when it does not convert; the number of an index, choice or
// check box line, which is shown only when the line converts.
struct SettingsControlLine {
  const SettingsEntry* entry;
  std::string text;
  std::optional<int32_t> number;
};

// Reads the lines (past the end of the file every line is empty) until one does not
// convert, outside the lines with a fall-back value: the edits' values (but those the
// file keeps as text only), the header locks, the dialog folders and filter indexes, the
// options and the colours go into the state. Returns the table's lines read, the one that
// ended the reading among them, for the controls.
std::vector<SettingsControlLine> read_settings_values(const std::vector<std::string>& lines);

// The file's lines; none for a missing, oversized or unreadable file.
std::optional<std::vector<std::string>> settings_file_contents(const std::string& path);

// The 54 lines: the table's lines as the controls give them (one per settings entry, in
// their order), then the state's.
std::vector<std::string> settings_lines_of(std::vector<std::string> table_lines);

// Writes the lines (creating the configuration folder when it is the default path); on a
// failure, false with the reason in `error`.
bool write_settings_file(const std::string& path, const std::vector<std::string>& lines, std::string& error);

}  // namespace kestrin
