// TfrmMain: the main window. Command buttons above the parameter panel (the geometry
// edits, which are the master copy of the parameters, the region radios and the
// direction combo), the main menu that reaches every window and analysis, and the two
// shared file dialogs. Creating it sets the program's start state and reads the settings
// file; closing it writes the settings file once and ends the program.
#pragma once

#include <string>

#include "app/panel_button.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "ports/controls.h"

namespace kestrin::app {

class TfrmMain : public kgui::TForm {
public:
  explicit TfrmMain(kgui::TComponent* owner);

  // Command buttons.
  TPanelButton *pbtnLoadImage, *pbtnFindCenter, *pbtnAngleIntensity, *pbtnPixelIntensity;
  // Parameter panel.
  kgui::TPanel* Panel1;
  kgui::TEdit *edt2ThetaBegin, *edt2ThetaEnd, *edt2ThetaStep, *edtCameraLength, *edtLambda;
  kgui::TEdit *edtPixelX, *edtPixelY, *edtBeta, *edtPhi, *edtBandWidth, *edtRectAngle;
  kgui::TEdit *edtSectorStartAngle, *edtSectorEndAngle, *edtSectoredAngle, *edtCenterX0, *edtCenterY0;
  kgui::TCheckBox *chkLo, *chkwl, *chkpsx, *chkpsy;
  kgui::TRadioButton *rbtnRectangle, *rbtnSector, *rbtnSectoredDivision;
  kgui::TPanel* pnlRectMode;
  kgui::TRadioButton *rbtnRect_Direction, *rbtnRect_Angle;
  kgui::TComboBox* cmbDirection;
  // Dialogs shared by the file commands and printing.
  kgui::TOpenDialog* opdFileSelect;
  kgui::TSaveDialog* svdFileSelect;
  kgui::TPrintDialog* PrintDialog1;
  kgui::TMainMenu* MainMenu1;

  // The menu item with this caption path, e.g. {"File", "Load Image"} (tests, scripts).
  kgui::TMenuItem* menuItem(const std::string& menu, const std::string& item) const;

private:
  void createCommandButtons();
  void createParameterPanel();
  void createGeometryRows();
  void createRegionRows();
  void createCentreRows();
  void checkStartChoices();
  void createDialogs();
  void createMenu();
  void createFileMenu();
  void createToolMenu();
  void createWindowMenu();
  void createAnalysisMenus();
  void createHelpMenu();
  void FormCreate();
  void FormClose();

  TPanelButton* addCommandButton(ControlName name, const char* caption, int left, int top);
  kgui::TLabel* addLabel(const char* caption, int left, int top);
  kgui::TEdit* addParameterEdit(ControlName name, const char* label, int row);
  kgui::TCheckBox* addLockBox(ControlName name, int row);
  kgui::TRadioButton* addRadio(kgui::TWinControl* parent, ControlName name, const char* caption, int left,
                               int top, int width);
  kgui::TMenuItem* addMenu(const char* caption);
  kgui::TMenuItem* addItem(kgui::TMenuItem* menu, const char* caption, kgui::TNotifyEvent handler,
                           bool enabled = true);

  bool settings_saved_ = false;
};

}  // namespace kestrin::app
