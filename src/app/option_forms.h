// TfrmOption ("Kestrin Option") and TfrmOptionColor ("frmOptionColor"): the options record
// and the six display colours, shown once when the windows are made (after the settings
// file was read) and stored on "Apply"; "Cancel" only hides.
#pragma once

#include <array>

#include "app/panel_button.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class TfrmOption : public kgui::TForm {
public:
  explicit TfrmOption(kgui::TComponent* owner);

  kgui::TCheckBox *chkVerticalReverse, *chkGradationReverse, *chkClearMask;
  kgui::TRadioGroup *rdgCenterMarker, *rdgDistanceSetting;
  kgui::TEdit *edtHwhmPixel, *edtHwhmTheta;
  kgui::TRadioButton *rbtnFitType1, *rbtnFitType2;
  TPanelButton *pbtnApply, *pbtnCancel;

private:
  void createChecks();
  void createRadioGroups();
  void createFitGroup();
  void createButtons();
};

class TfrmOptionColor : public kgui::TForm {
public:
  explicit TfrmOptionColor(kgui::TComponent* owner);

  // The six swatches, found by name when the window is made.
  std::array<kgui::TLabel*, 6> swatches{};
  kgui::TColorDialog* cldColorSelect;
  TPanelButton *pbtnApply, *pbtnCancel;

  // A swatch clicked: the colour dialog at its colour; the swatch takes the chosen colour.
  void swatchClick(size_t index);

private:
  void createRows();
  void FormCreate();
};

}  // namespace kestrin::app
