// The ".kes" parameter file: geometry and 2theta range of one image, one value per line;
// "default.kes" also restores the image and pattern names.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// Reads the file into integration_params (and, for "default.kes", the names). Returns 1
// when the file cannot be opened (nothing changes), else 0, also when reading stopped
// early at a line that does not convert or at a pixel size X of 0.
int read_param_file(const std::string& file_name);

// Reads a ".kes" file (extension compared with case) and shows its values in the main
// window's edits; anything else, or a file that cannot be opened, is ignored silently.
void load_param_proc(const std::string& file_name);

// Writes the current parameters (after reading the main window's edits, except for the
// name "Kestrin.kes"). Refuses, with a log line, a name whose extension is not ".kes" and
// the settings file.
void save_param_proc(const std::string& file_name);

// The 17 lines of a parameter file for the current parameters.
std::vector<std::string> param_file_lines();

}  // namespace kestrin
