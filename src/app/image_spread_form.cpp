// The image spread window.
#include "app/image_spread_form.h"

#include "app/tool_form_controls.h"
#include "commands/image_spread_commands.h"
#include "ports/names/image_spread_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmImageSpread::TfrmImageSpread(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmImageSpread::form, "frmImageSpread", 520, 420);
  pbtnFileSelect = make_panel_button(this, std::string(frmImageSpread::pbtnFileSelect.control), "対象ファイル選択", 8,
                                     8, 160, 28);
  btnExecute = add_button(this, this, frmImageSpread::btnExecute, "実行", 432, 8, 80, 28);
  createModeGroup();
  memFileName = add_memo(this, this, frmImageSpread::memFileName, 8, 132, 504, 280);
  memFileName->setAnchors(setOf({akLeft, akTop, akRight, akBottom}));
  opdImageList = new TOpenDialog(this);
  opdImageList->setName(std::string(frmImageSpread::opdImageList.control));
  svdRefFile = new TSaveDialog(this);
  svdRefFile->setName(std::string(frmImageSpread::svdRefFile.control));
  pbtnFileSelect->OnClick = [](TComponent*) { spread_select_files(); };
  btnRefFileSelect->OnClick = [](TComponent*) { spread_select_reference(); };
  btnExecute->OnClick = [](TComponent*) { spread_execute(); };
}

void TfrmImageSpread::createModeGroup() {
  TGroupBox* g = add_group_box(this, this, "モード選択", 8, 44, 504, 80);
  rbtnSpreadNew = add_radio_button(this, g, frmImageSpread::rbtnSpreadNew, "RefFile作成", 12, 22, 140);
  rbtnSpreadRef = add_radio_button(this, g, frmImageSpread::rbtnSpreadRef, "画像伸長", 12, 50, 140);
  rbtnSpreadNew->setChecked(true);
  edtRefFileName = add_edit(this, g, frmImageSpread::edtRefFileName, "", 160, 48, 230);
  btnRefFileSelect = add_button(this, g, frmImageSpread::btnRefFileSelect, "Refファイル選択", 396, 46, 100, 26);
}

}  // namespace kestrin::app
