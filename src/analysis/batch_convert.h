// Batch conversion: a list of image files, each loaded, integrated with the fine 2theta
// routine under the main window's settings and written as an NPD pattern beside it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/report.h"

namespace kestrin {

// What the conversion does with each file: the command layer's load, fine 2theta
// integration and pattern save, each with its log lines, macro line and windows.
struct ConvertSteps {
  std::function<void(const std::string&)> load;
  std::function<void()> integrate;
  std::function<void(const std::string&)> save;
};

// Converts the files named by `lines`, in order, as one long run (ports/long_run.h): for
// each line `load`, `integrate` and `save` with the image's folder + base name + ".npd",
// then the windows handle their events once. A line whose image does not load (a blank
// line, a bad name, a file the reader refuses) says " batch_convert() : <line> skipped."
// and writes nothing. The pattern is emptied before each integration, so a refused
// integration leaves nothing to write under the new name. The run stops after the current
// file when the program ends.
void batch_convert(const std::vector<std::string>& lines, const ConvertSteps& steps, Report& report);

}  // namespace kestrin
