// The tool windows' file lists.
#include "commands/file_list_commands.h"

#include "base/text_file.h"
#include "ports/ports.h"

namespace kestrin {

const char* const kImageListFilter =
    "Rigaku R-AXIS5 or FUJI or HiPiC (*.img)|*.IMG|Rigaku R-AXIS4 (*.stl)|*.stl|Rigaku R-AXIS (*.osc)|*.osc|"
    "Bruker CCD Image (*.ccd)|*.ccd|TIFF Image (*.tif)|*.tif";

std::vector<std::string> file_list(ControlName memo) { return split_lines(controls().text(memo)); }

void set_file_list(ControlName memo, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) put_line(text, line);
  controls().set_text(memo, text);
}

std::vector<std::string> choose_files(ControlName dialog, const char* filter) {
  FileDialogSetup setup;
  setup.filter = filter;
  setup.multi_select = true;
  return file_dialogs().run_window_dialog(dialog, setup).files;
}

}  // namespace kestrin
