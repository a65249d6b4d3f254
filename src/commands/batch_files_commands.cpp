// The batch conversion window's buttons.
#include "commands/batch_files_commands.h"

#include "analysis/batch_convert.h"
#include "commands/file_commands.h"
#include "commands/file_list_commands.h"
#include "commands/histogram_commands.h"
#include "ports/log.h"
#include "ports/names/batch_files_names.h"

namespace kestrin {

void batch_files_select() {
  const std::vector<std::string> files = choose_files(frmBatchFiles::opdImageList, kImageListFilter);
  if (!files.empty()) set_file_list(frmBatchFiles::memFileName, files);
}

void batch_convert_files(const std::vector<std::string>& lines) {
  Report report = log_report();
  const ConvertSteps steps{[](const std::string& name) { load_image_command(name); }, fine_angle_intensity_command,
                           save_nax_command};
  batch_convert(lines, steps, report);
}

void batch_files_execute() { batch_convert_files(file_list(frmBatchFiles::memFileName)); }

}  // namespace kestrin
