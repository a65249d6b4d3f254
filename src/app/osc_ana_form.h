// TfrmOscAna: the oscillation analysis window. The reference list and its grid, the list of
// image files of the series, the search settings, the output suffix, and the batch with
// Pause, Continue and Cancel. Its open dialog serves the spot windows' Load List too.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class ToolFormBuilder;

class TfrmOscAna : public kgui::TForm {
public:
  explicit TfrmOscAna(kgui::TComponent* owner);

  TPanelButton *pbtnSpotList, *pbtnFileSelect, *pbtnExecute, *Button1, *Button3, *Button2;
  kgui::TMemo* memFileName;
  kgui::TEdit *edtCenterSize, *edtBGSize, *edtShikii1, *edtShikii2, *edtSameSpotDistance;
  kgui::TEdit *edtSpotDiscardDistance, *edtSearchDistance, *edtAddString;
  kgui::TStringGrid* sgridSpotReference;
  kgui::TOpenDialog* opdImageFile;

  // Refills the reference grid from the reference table.
  void show_spot_reference();

private:
  void createButtons(ToolFormBuilder& b);
  void createSettings(ToolFormBuilder& b);
  void createLists(ToolFormBuilder& b);
};

}  // namespace kestrin::app
