// The spot window: its controls and one call per button.
#include "app/spot_form.h"

#include "analysis/spot_list.h"
#include "analysis/spot_tables.h"
#include "app/tool_form_builder.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "commands/spot_commands.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/names/spot_form_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmSpot::TfrmSpot(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmSpot::form));
  setCaption("KES for Windows (Spot List) (for RIGAKU R-AXIS format)");
  setColor(kToolFormColour);
  setClientWidth(640);
  setClientHeight(560);
  ToolFormBuilder b(this, frmSpot::start_texts);
  createSettings(b);
  createButtons(b);
  sgridSpotList = b.grid(this, frmSpot::sgridSpotList, 8, 196, 624, 356);
  sgridSpotList->OnSelectCell = [](TComponent*, int, int row, bool&) { spot_grid_cell_selected(row); };
  edtX1->setText(Format("%d", {current_image().ImageWidth}));
  edtY1->setText(Format("%d", {current_image().ImageHeight}));
  init_spot_columns();
  state().spot_grid = spot_list_grid();
  show_spot_list();
}

void TfrmSpot::createSettings(ToolFormBuilder& b) {
  const ToolFormBuilder::LabelledEdit rows[] = {{&edtCenterSize, frmSpot::edtCenterSize, "Size1"},
                                                {&edtBGSize, frmSpot::edtBGSize, "Size2"},
                                                {&edtShikii1, frmSpot::edtShikii1, "しきい値1"},
                                                {&edtShikii2, frmSpot::edtShikii2, "しきい値2"},
                                                {&edtSameSpotDistance, frmSpot::edtSameSpotDistance, "同スポット幅"}};
  b.labelled_edits(this, rows, 8, 100, 8);
  b.label(this, "LEFT_TOP(pixel) (", 180, 8);
  edtX0 = b.edit(this, frmSpot::edtX0, 320, 8);
  b.label(this, ",", 380, 8);
  edtY0 = b.edit(this, frmSpot::edtY0, 390, 8);
  b.label(this, ")", 450, 8);
  b.label(this, "RIGHT_BOTTOM(pixel) (", 180, 33);
  edtX1 = b.edit(this, frmSpot::edtX1, 320, 33);
  b.label(this, ",", 380, 33);
  edtY1 = b.edit(this, frmSpot::edtY1, 390, 33);
  b.label(this, ")", 450, 33);
  for (TEdit* e : {edtX0, edtY0, edtX1, edtY1})
    e->OnKeyDown = [](TComponent*, int& key, TShiftState) {
      if (key == kEnterKey) area_edit_entered();
    };
}

void TfrmSpot::createButtons(ToolFormBuilder& b) {
  pbtnSpotSearch = b.button(this, frmSpot::pbtnSpotSearch, "Spot Search(New)", 180, 66, 150);
  pbtnSpotSearchAdd = b.button(this, frmSpot::pbtnSpotSearchAdd, "Area Search(New or Add)", 336, 66, 190);
  pbtnDeleteSpotRectArea = b.button(this, frmSpot::pbtnDeleteSpotRectArea, "Del. in Area", 180, 98, 110);
  pbtnDeleteSpotList = b.button(this, frmSpot::pbtnDeleteSpotList, "Del. in List", 296, 98, 110);
  pbtnDeleteSameSpot = b.button(this, frmSpot::pbtnDeleteSameSpot, "Del. Same Spot", 412, 98, 120);
  PanelButton1 = b.button(this, frmSpot::PanelButton1, "Del. All Spot", 538, 98, 94);
  pbtnSavePeak = b.button(this, frmSpot::pbtnSavePeak, "Save List", 180, 130, 110);
  pbtnLoadSpot = b.button(this, frmSpot::pbtnLoadSpot, "Load List", 296, 130, 110);
  pbtnClose = b.button(this, frmSpot::pbtnClose, "Close", 538, 130, 94);
  pbtnSpotSearch->OnClick = [](TComponent*) { spot_search_new_command(); };
  pbtnSpotSearchAdd->OnClick = [](TComponent*) { spot_search_area_command(); };
  pbtnDeleteSpotRectArea->OnClick = [](TComponent*) { delete_spots_in_area_command(); };
  pbtnDeleteSpotList->OnClick = [](TComponent*) { delete_listed_spots_command(); };
  pbtnDeleteSameSpot->OnClick = [](TComponent*) { delete_same_spots_command(); };
  PanelButton1->OnClick = [](TComponent*) { delete_all_spots_command(); };
  pbtnSavePeak->OnClick = [](TComponent*) { save_spot_list_command(); };
  pbtnLoadSpot->OnClick = [](TComponent*) { load_spot_list_command(); };
  pbtnClose->OnClick = [this](TComponent*) { hide(); };
}

void TfrmSpot::show_spot_list() {
  show_table(*sgridSpotList, state().spot_grid);
  for (int c = 1; c <= 3 && c < sgridSpotList->colCount(); ++c) sgridSpotList->setColWidth(c, 80);
  if (sgridSpotList->colCount() > 4) sgridSpotList->setColWidth(4, 150);
}

void TfrmSpot::select_row(int row) {
  if (row < 1 || row >= sgridSpotList->rowCount()) return;
  sgridSpotList->setSelection({0, row, std::min(3, sgridSpotList->colCount() - 1), row});
  sgridSpotList->setTopRow(row);
}

}  // namespace kestrin::app
