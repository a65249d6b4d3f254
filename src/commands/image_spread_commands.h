// What the image spread window's buttons do, without the widgets.
#pragma once

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

}  // namespace kestrin
