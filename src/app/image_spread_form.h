// TfrmImageSpread ("frmImageSpread"): spread reference files made from one image, and lists
// of images spread against one.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class TfrmImageSpread : public kgui::TForm {
public:
  explicit TfrmImageSpread(kgui::TComponent* owner);

  TPanelButton* pbtnFileSelect;
  kgui::TButton *btnExecute, *btnRefFileSelect;
  kgui::TMemo* memFileName;
  kgui::TRadioButton *rbtnSpreadNew, *rbtnSpreadRef;
  kgui::TEdit* edtRefFileName;
  kgui::TOpenDialog* opdImageList;
  kgui::TSaveDialog* svdRefFile;

private:
  void createModeGroup();
};

}  // namespace kestrin::app
