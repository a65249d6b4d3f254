// What the batch conversion window's buttons do, without the widgets.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// batch_convert of `lines` with the log as its report and the fine 2theta command as each
// file's integration.
void batch_convert_files(const std::vector<std::string>& lines);

// "対象ファイル選択": the window's open dialog with multi-select and the image filter without
// the Gel entry; chosen files replace the list.
void batch_files_select();
// "実行": batch_convert_files with the list's lines.
void batch_files_execute();

}  // namespace kestrin
