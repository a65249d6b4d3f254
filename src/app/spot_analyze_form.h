// TfrmSpotAnalyze: the spot analysis window. The spot list in a 17-column grid, the
// background of every spot, and the 2theta runs over all spots, step by step or for one
// spot. Its close is refused while a run is active.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/std_controls.h"

namespace kestrin::app {

class ToolFormBuilder;

class TfrmSpotAnalyze : public kgui::TForm {
public:
  explicit TfrmSpotAnalyze(kgui::TComponent* owner);

  TPanelButton *pbtnSavePeak, *PanelButton1, *pbtnClose, *pbtnCalc;
  kgui::TEdit *edtBGSizeStart, *edtBGSizeEnd, *edtShikii, *edtShikii2;
  kgui::TStringGrid* sgridSpotReference;
  kgui::TEdit *edt2ThetaHalfWidth, *edtAngleSetting, *edtDifference;
  kgui::TCheckBox* chkUseListBand;
  kgui::TRadioButton *rbtnFitType1, *rbtnFitType2, *rbtnAngleKind1, *rbtnAngleKind2;
  TPanelButton *btnCalcAll, *btnCalcStep, *btnRetry, *btnAbort, *pbtn2ThetaCalc;
  kgui::TEdit *edtStartSpotAll, *edtStartSpotStep, *edtIndex;
  kgui::TLabel* lblStepStatus;

  // Refills the grid from the analysis table; one cell of it.
  void show_grid();
  void show_cell(int col, int row);
  void enable_runs(bool on);

private:
  void createListButtons(ToolFormBuilder& b);
  void createBackgroundGroup(ToolFormBuilder& b);
  void createTwoThetaGroup(ToolFormBuilder& b);
  void createOperationGroup(ToolFormBuilder& b);
};

}  // namespace kestrin::app
