// Writing an image store back in the format of the loaded image file: the format writers
// with the program's row order, their lines logged.
#pragma once

#include <string>

#include "base/report.h"

namespace kestrin {

// Writes the current image's codes (from_main non-zero) or the background image's codes
// into `name`, an R-AXIS file: an existing file keeps its header, a new one is a copy of
// the loaded image file. The wavelength and camera length of the loaded file's header
// replace the geometry unless locked. Returns 0 on success, 1 on failure (said into
// `report`, with the header's lines).
int save_rigaku_file(const std::string& name, int from_main, Report& report);

}  // namespace kestrin
