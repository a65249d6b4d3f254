// TfrmBatchFiles ("frmBatchFiles"): a list of image files converted into NPD patterns in one
// run.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class TfrmBatchFiles : public kgui::TForm {
public:
  explicit TfrmBatchFiles(kgui::TComponent* owner);

  kgui::TMemo* memFileName;
  TPanelButton* pbtnFileSelect;
  kgui::TButton* btnExecute;
  kgui::TOpenDialog* opdImageList;
};

}  // namespace kestrin::app
