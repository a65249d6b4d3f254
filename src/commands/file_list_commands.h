// The file lists of the tool windows (batch conversion, merging, spreading): a memo of full
// file names, one a line, filled from the window's own multi-select open dialog.
#pragma once

#include <string>
#include <vector>

#include "ports/controls.h"

namespace kestrin {

// The image filter of the tool windows: the image dialog's filter without the Gel entry.
extern const char* const kImageListFilter;

// The memo's lines (an empty memo has none; a blank line is an empty string).
std::vector<std::string> file_list(ControlName memo);
void set_file_list(ControlName memo, const std::vector<std::string>& lines);

// Runs the window's open dialog `dialog` with multi-select and `filter`; the chosen names in
// the dialog's order, none when the user cancelled.
std::vector<std::string> choose_files(ControlName dialog, const char* filter);

}  // namespace kestrin
