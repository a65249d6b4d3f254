// The batch conversion window.
#include "app/batch_files_form.h"

#include "app/tool_form_controls.h"
#include "commands/batch_files_commands.h"
#include "ports/names/batch_files_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmBatchFiles::TfrmBatchFiles(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmBatchFiles::form, "frmBatchFiles", 520, 360);
  pbtnFileSelect = make_panel_button(this, std::string(frmBatchFiles::pbtnFileSelect.control), "対象ファイル選択", 8, 8,
                                     160, 28);
  btnExecute = add_button(this, this, frmBatchFiles::btnExecute, "実行", 432, 8, 80, 28);
  memFileName = add_memo(this, this, frmBatchFiles::memFileName, 8, 44, 504, 308);
  memFileName->setAnchors(setOf({akLeft, akTop, akRight, akBottom}));
  opdImageList = new TOpenDialog(this);
  opdImageList->setName(std::string(frmBatchFiles::opdImageList.control));
  pbtnFileSelect->OnClick = [](TComponent*) { batch_files_select(); };
  btnExecute->OnClick = [](TComponent*) { batch_files_execute(); };
}

}  // namespace kestrin::app
