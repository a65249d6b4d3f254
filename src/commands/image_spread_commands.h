// What the image spread window's buttons do, without the widgets.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// "対象ファイル選択": the window's open dialog (multi-select, "Rigaku R-AXIS5 (*.img)|*.IMG");
// chosen files replace the list.
void spread_select_files();
// "Refファイル選択": the same dialog with the filter "Ref. file (*.csv)|*.CSV"; a chosen file's
// name goes into the reference-name edit.
void spread_select_reference();
// "実行": with "RefFile作成" checked, make_spread_reference with the list; otherwise
// spread_images with the reference-name edit and the list.
void spread_execute();

// "RefFile作成", a long run: only for a list of exactly one file. The file's reference lines
// (spread_reference_lines), a name from the spread window's save dialog, and the reference
// file written there (completely or not at all); the window's reference-name edit shows the
// name. Every line goes to the log.
void make_spread_reference(const std::vector<std::string>& files);
// spread_images with its lines in the log.
void spread_images_command(const std::string& reference, const std::vector<std::string>& files);

}  // namespace kestrin
