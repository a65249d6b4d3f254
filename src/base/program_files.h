// One-line setting files kept in the configuration folder (a window's remembered folder,
// for example "frmOscAna.ini"), and the exchange sort the tool windows use for file names.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kestrin {

// Creates or replaces the file `file_name` in config_folder() with `text` as its one line.
// A file that cannot be written raises EInOutError.
void write_program_file_line(const std::string& file_name, const std::string& text);
// The first line of the file `file_name` in config_folder(); a missing or unreadable file
// raises EInOutError ("File not found") for the caller to handle.
std::string read_program_file_line(const std::string& file_name);

// Sorts items[0..high] by exchanges: pass k walks j from high down to k + 1 and swaps
// items[j - 1] and items[j] when before(items[j], items[j - 1]).
template <class Before>
void exchange_sort(std::vector<std::string>& items, int high, Before before) {
  if (high >= int(items.size())) high = int(items.size()) - 1;
  for (int k = 0; k <= high; ++k)
    for (int j = high; j > k; --j)
      if (before(items[size_t(j)], items[size_t(j - 1)])) std::swap(items[size_t(j)], items[size_t(j - 1)]);
}

// The exchange sort ascending by byte-wise comparison (capitals before small letters).
void sort_strings(std::vector<std::string>& items, int high);

}  // namespace kestrin
