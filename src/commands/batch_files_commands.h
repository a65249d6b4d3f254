// What the batch conversion window's buttons do, without the widgets.
#pragma once

namespace kestrin {

// "対象ファイル選択": the window's open dialog with multi-select and the image filter without
// the Gel entry; chosen files replace the list.
void batch_files_select();
// "実行": batch_convert with the list's lines.
void batch_files_execute();

}  // namespace kestrin
