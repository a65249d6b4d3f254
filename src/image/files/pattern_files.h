// The pattern file routines: save the current pattern in the form its extension names,
// with or without an angular window, and read one back into the current pattern, its
// axis and the peak table. They say what they do into a report; the commands around them
// run the dialogs and remember their slots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/report.h"

namespace kestrin {

struct ShownParameter;  // image/files/pattern_reader.h

// Writes the current pattern to `file_name` (empty: does nothing) in the form its
// extension names, which the command has completed from the save dialog's filter; says its
// steps into `report`. Throws std::runtime_error when the file cannot be written.
void save_nax_proc(const std::string& file_name, Report& report);
// The same; RAW and NPD forms of a 2theta pattern keep only the points of the window
// from theta1 to theta2 (degrees), and the NPD form has no peak block.
void save_nax_proc2(const std::string& file_name, double theta1, double theta2, Report& report);

// Reads a pattern file (".t", ".xy", ".rie", ".wpp", ".raw", ".pil", ".csv"; any other
// extension is read as ".t") into the current pattern, its axis and the peak table, after
// remembering the name's folder and the open dialog's filter index; says a summary into
// `report`. Returns the edit texts the file gives (the command shows them, redraws the
// graph and refills the peak list), or nothing when no pattern was taken. Throws
// std::runtime_error when the file cannot be read and ConversionError for a number that
// the form does not allow to fail.
std::optional<std::vector<ShownParameter>> load_nax_proc(const std::string& file_name, int filter_index,
                                                         Report& report);

// The name of a pattern file beside the loaded image: its folder, its base name, for a
// numbered file "_" and the number in three columns, then "." and `ext`. Nothing for an
// empty extension or one of the image extensions "img", "stl", "osc", "ccd", "tif"
// (compared with case), which a pattern must never overwrite.
std::optional<std::string> pattern_path_beside_image(const std::string& ext, const int* number = nullptr);

}  // namespace kestrin
