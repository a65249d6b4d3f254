// The ".kes" parameter file: geometry and 2theta range of one image, one value per line;
// "default.kes" also restores the image and pattern names.
#pragma once

#include <string>
#include <vector>

#include "base/report.h"

namespace kestrin {

// Reads the file into integration_params (and, for "default.kes", the names). Returns 1
// when the file cannot be opened (nothing changes), else 0, also when reading stopped
// early at a line that does not convert or at a pixel size X of 0.
int read_param_file(const std::string& file_name);

// Reads a ".kes" file (extension compared with case); true when it was read (the command
// then shows its values in the main window's edits). Anything else, or a file that cannot
// be opened, is ignored silently.
bool load_param_proc(const std::string& file_name);

// True, with its line in `report`, for a name that is not written: one whose extension is
// not ".kes", and the settings file.
bool save_param_refused(const std::string& file_name, Report& report);
// Whether the command commits the main window's edits before the file is written: for
// every name but "Kestrin.kes".
bool save_param_reads_edits(const std::string& file_name);
// Writes the current parameters into a name save_param_refused let through; a file that
// cannot be written says so into `report`.
void save_param_proc(const std::string& file_name, Report& report);

// The 17 lines of a parameter file for the current parameters.
std::vector<std::string> param_file_lines();

}  // namespace kestrin
