// The oscillation analysis window: its controls and one call per button.
#include "app/osc_ana_form.h"

#include "analysis/spot_tables.h"
#include "app/tool_form_builder.h"
#include "commands/osc_ana_commands.h"
#include "model/state.h"
#include "ports/names/osc_ana_form_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmOscAna::TfrmOscAna(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmOscAna::form));
  setCaption("KES for Windows (for OscAna)");
  setColor(kToolFormColour);
  setClientWidth(760);
  setClientHeight(560);
  ToolFormBuilder b(this, frmOscAna::start_texts);
  createButtons(b);
  createSettings(b);
  createLists(b);
  opdImageFile = new TOpenDialog(this);
  opdImageFile->setName(std::string(frmOscAna::opdImageFile.control));
  osc_ana_form_create();
}

void TfrmOscAna::createButtons(ToolFormBuilder& b) {
  pbtnSpotList = b.button(this, frmOscAna::pbtnSpotList, "Load Spot List", 8, 8, 140);
  pbtnFileSelect = b.button(this, frmOscAna::pbtnFileSelect, "Select Target Files", 156, 8, 140);
  pbtnExecute = b.button(this, frmOscAna::pbtnExecute, "Execute", 304, 8, 100);
  Button1 = b.button(this, frmOscAna::Button1, "Pause", 412, 8, 80);
  Button3 = b.button(this, frmOscAna::Button3, "Continue", 500, 8, 80);
  Button2 = b.button(this, frmOscAna::Button2, "Cancel", 588, 8, 80);
  pbtnSpotList->OnClick = [](TComponent*) { osc_load_spot_list_command(); };
  pbtnFileSelect->OnClick = [](TComponent*) { osc_select_files_command(); };
  pbtnExecute->OnClick = [](TComponent*) { osc_execute_command(); };
  Button1->OnClick = [](TComponent*) { batch_pause_command(); };
  Button3->OnClick = [](TComponent*) { batch_continue_command(); };
  Button2->OnClick = [](TComponent*) { batch_cancel_command(); };
}

void TfrmOscAna::createSettings(ToolFormBuilder& b) {
  TGroupBox* search = b.group(this, "スポットサーチ条件", 440, 44, 312, 150);
  const ToolFormBuilder::LabelledEdit rows[] = {{&edtCenterSize, frmOscAna::edtCenterSize, "Size1"},
                                                {&edtBGSize, frmOscAna::edtBGSize, "Size2"},
                                                {&edtShikii1, frmOscAna::edtShikii1, "しきい値1"},
                                                {&edtShikii2, frmOscAna::edtShikii2, "しきい値2"},
                                                {&edtSameSpotDistance, frmOscAna::edtSameSpotDistance, "同スポット幅"}};
  b.labelled_edits(search, rows, 12, 200, 20);
  TGroupBox* assign = b.group(this, "スポットAssignセッティング（単位=pixel）", 440, 200, 312, 76);
  b.label(assign, "切捨て条件(リファレンスとの距離)", 12, 20);
  edtSpotDiscardDistance = b.edit(assign, frmOscAna::edtSpotDiscardDistance, 250, 20, 50);
  edtSpotDiscardDistance->setEnabled(false);
  b.label(assign, "サーチ距離(リファレンスからの距離)", 12, 46);
  edtSearchDistance = b.edit(assign, frmOscAna::edtSearchDistance, 250, 46, 50);
  b.label(this, "出力ファイル名に追加する文字列", 440, 288);
  edtAddString = b.edit(this, frmOscAna::edtAddString, 440, 308, 200);
}

void TfrmOscAna::createLists(ToolFormBuilder& b) {
  memFileName = new TMemo(this);
  memFileName->setName(std::string(frmOscAna::memFileName.control));
  memFileName->setParent(this);
  memFileName->setBounds(8, 44, 424, 290);
  memFileName->setScrollBars(ssBoth);
  sgridSpotReference = b.grid(this, frmOscAna::sgridSpotReference, 8, 342, 744, 210);
  show_spot_reference();
}

void TfrmOscAna::show_spot_reference() {
  if (state().reference_grid.empty()) state().reference_grid = spot_reference_grid();
  show_table(*sgridSpotReference, state().reference_grid);
}

}  // namespace kestrin::app
