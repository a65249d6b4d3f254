// TfrmSpot: the spot window. The spot-search settings and area, the searches, the
// deletions, the list in a grid, and saving and loading it.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class ToolFormBuilder;

class TfrmSpot : public kgui::TForm {
public:
  explicit TfrmSpot(kgui::TComponent* owner);

  kgui::TEdit *edtCenterSize, *edtBGSize, *edtShikii1, *edtShikii2, *edtSameSpotDistance;
  kgui::TEdit *edtX0, *edtY0, *edtX1, *edtY1;
  TPanelButton *pbtnSpotSearch, *pbtnSpotSearchAdd, *pbtnDeleteSpotRectArea, *pbtnDeleteSpotList;
  TPanelButton *pbtnDeleteSameSpot, *PanelButton1, *pbtnSavePeak, *pbtnLoadSpot, *pbtnClose;
  kgui::TStringGrid* sgridSpotList;

  // Refills the grid from the spot table.
  void show_spot_list();
  // Selects row `row` (columns 0 to 3) and makes it the top row; no select-cell handler runs.
  void select_row(int row);

private:
  void createSettings(ToolFormBuilder& b);
  void createButtons(ToolFormBuilder& b);
  void areaEditKey(int key);
};

}  // namespace kestrin::app
