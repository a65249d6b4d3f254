// One-line setting files kept in the configuration folder (a window's remembered folder,
// for example "frmOscAna.ini"), and the exchange sort the tool windows use for file names.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// Creates or replaces the file `file_name` in config_folder() with `text` as its one line.
// A file that cannot be written raises EInOutError.
void write_program_file_line(const std::string& file_name, const std::string& text);
// The first line of the file `file_name` in config_folder(); a missing or unreadable file
// raises EInOutError ("File not found") for the caller to handle.
std::string read_program_file_line(const std::string& file_name);

// Sorts items[0..high] ascending by byte-wise comparison (capitals before small letters),
// by exchanges: pass k walks j from high down to k + 1 and swaps neighbours out of order.
void sort_strings(std::vector<std::string>& items, int high);

}  // namespace kestrin
