// Splitting lines at commas: the string lists' comma text and the CSV cells of the tool
// windows' files, and the test whether a CSV file starts with a header row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// The string lists' comma-text rule: items end at commas and at blanks (characters 1 to
// 32) outside double quotes; a quoted item keeps its blanks and commas, with doubled quotes
// for one quote; empty items between commas are kept, and a comma that ends the text adds
// an empty item.
std::vector<std::string> split_comma_text(std::string_view text);

// The CSV cells of a line: control characters (1 to 31) before and after a cell are
// skipped; a cell that starts with a double quote is read as a quoted string (doubled
// quotes for one quote), anything after its closing quote up to the next comma being a cell
// of its own; otherwise a cell runs to the next comma or control character, its spaces
// included. Empty cells between commas are kept, and a comma that ends the line adds an
// empty cell.
std::vector<std::string> split_commas(std::string_view line);

// The platform's Trim: the text without the blanks and control characters (0 to 32) at
// either end.
std::string_view Trim(std::string_view s);

// True when the file's first line, trimmed and split as comma text, holds a cell that is not
// a number before its first empty cell. A file that cannot be read raises EInOutError.
bool csv_has_header(const std::string& file_name);

}  // namespace kestrin
