// The spot analysis window: its controls and one call per button.
#include "app/spot_analyze_form.h"

#include "analysis/spot_tables.h"
#include "app/tool_form_builder.h"
#include "commands/spot_analysis_commands.h"
#include "commands/spot_commands.h"
#include "model/state.h"
#include "ports/names/spot_analyze_form_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmSpotAnalyze::TfrmSpotAnalyze(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmSpotAnalyze::form));
  setCaption("frmSpotAnalyze");
  setColor(kToolFormColour);
  setClientWidth(900);
  setClientHeight(600);
  ToolFormBuilder b(this, frmSpotAnalyze::start_texts);
  createListButtons(b);
  createBackgroundGroup(b);
  createTwoThetaGroup(b);
  createOperationGroup(b);
  sgridSpotReference = b.grid(this, frmSpotAnalyze::sgridSpotReference, 8, 300, 884, 292);
  sgridSpotReference->OnSelectCell = [](TComponent*, int, int row, bool&) { spot_grid_cell_selected(row); };
  // The title bar's close goes through the same refusal as the Close button.
  OnCloseQuery = [](TComponent*, bool& can_close) { can_close = spot_analysis_close_query(); };
  if (state().spot_analysis_grid.empty()) state().spot_analysis_grid = spot_analysis_grid();
  show_grid();
}

void TfrmSpotAnalyze::createListButtons(ToolFormBuilder& b) {
  pbtnSavePeak = b.button(this, frmSpotAnalyze::pbtnSavePeak, "Load List", 8, 8, 100);
  PanelButton1 = b.button(this, frmSpotAnalyze::PanelButton1, "Save List", 116, 8, 100);
  pbtnClose = b.button(this, frmSpotAnalyze::pbtnClose, "Close", 224, 8, 100);
  pbtnSavePeak->OnClick = [](TComponent*) { spot_analysis_load_command(); };
  PanelButton1->OnClick = [](TComponent*) { spot_analysis_save_command(); };
  pbtnClose->OnClick = [this](TComponent*) {
    if (spot_analysis_close_query()) hide();
  };
}

void TfrmSpotAnalyze::createBackgroundGroup(ToolFormBuilder& b) {
  TGroupBox* g = b.group(this, "Parameter of B.G. calculation", 8, 42, 330, 110);
  b.label(g, "Start distance(pixel)", 10, 20);
  edtBGSizeStart = b.edit(g, frmSpotAnalyze::edtBGSizeStart, 160, 20, 50);
  b.label(g, "to", 216, 20);
  edtBGSizeEnd = b.edit(g, frmSpotAnalyze::edtBGSizeEnd, 240, 20, 50);
  b.label(g, "閾値(%)", 10, 46);
  edtShikii = b.edit(g, frmSpotAnalyze::edtShikii, 160, 46, 50);
  b.label(g, "to", 216, 46);
  edtShikii2 = b.edit(g, frmSpotAnalyze::edtShikii2, 240, 46, 50);
  pbtnCalc = b.button(g, frmSpotAnalyze::pbtnCalc, "B.G. Calculate", 160, 74, 130);
  pbtnCalc->OnClick = [](TComponent*) { spot_bg_calculate_command(); };
}

void TfrmSpotAnalyze::createTwoThetaGroup(ToolFormBuilder& b) {
  TGroupBox* g = b.group(this, "Parameter of 2theta calculation", 346, 8, 260, 284);
  b.label(g, "2theta width around spot    +-", 10, 20);
  edt2ThetaHalfWidth = b.edit(g, frmSpotAnalyze::edt2ThetaHalfWidth, 200, 20, 40);
  b.label(g, "deg", 244, 20);
  TGroupBox* band = b.group(g, "Band Width", 10, 46, 240, 70);
  chkUseListBand = b.check(band, frmSpotAnalyze::chkUseListBand, "Use the value of spot list ", 8, 18, 220);
  edtAngleSetting = b.edit(band, frmSpotAnalyze::edtAngleSetting, 8, 42, 50);
  b.label(band, "pixel", 64, 42);
  TGroupBox* fit = b.group(g, "Fitting Function Type", 10, 120, 240, 48);
  rbtnFitType1 = b.radio(fit, frmSpotAnalyze::rbtnFitType1, "Lorentz", 8, 20, 100);
  rbtnFitType2 = b.radio(fit, frmSpotAnalyze::rbtnFitType2, "Gaussian", 120, 20, 100);
  rbtnFitType2->setChecked(true);
  TGroupBox* kind = b.group(g, "", 10, 172, 240, 48);
  rbtnAngleKind1 = b.radio(kind, frmSpotAnalyze::rbtnAngleKind1, "Angle Intensity", 8, 6, 200);
  rbtnAngleKind2 = b.radio(kind, frmSpotAnalyze::rbtnAngleKind2, "Angle Intensity(fine)", 8, 24, 200);
  rbtnAngleKind1->setChecked(true);
  b.label(g, "Allowance of 2theta Difference", 10, 228);
  edtDifference = b.edit(g, frmSpotAnalyze::edtDifference, 10, 250, 60);
  b.label(g, "deg", 76, 250);
}

void TfrmSpotAnalyze::createOperationGroup(ToolFormBuilder& b) {
  TGroupBox* g = b.group(this, "Operation", 614, 8, 278, 284);
  TGroupBox* all = b.group(g, "All", 8, 18, 262, 60);
  btnCalcAll = b.button(all, frmSpotAnalyze::btnCalcAll, "Calc. All", 8, 20, 100);
  b.label(all, "Start Spot No.", 120, 22);
  edtStartSpotAll = b.edit(all, frmSpotAnalyze::edtStartSpotAll, 210, 22, 44);
  TGroupBox* step = b.group(g, "Step", 8, 82, 262, 120);
  btnCalcStep = b.button(step, frmSpotAnalyze::btnCalcStep, "Start Step", 8, 20, 100);
  b.label(step, "Start Spot No.", 120, 22);
  edtStartSpotStep = b.edit(step, frmSpotAnalyze::edtStartSpotStep, 210, 22, 44);
  btnRetry = b.button(step, frmSpotAnalyze::btnRetry, "Retry", 8, 52, 100);
  btnAbort = b.button(step, frmSpotAnalyze::btnAbort, "Abort", 120, 52, 100);
  lblStepStatus = b.label(step, frmSpotAnalyze::lblStepStatus, 8, 88);
  TGroupBox* one = b.group(g, "Single Spot", 8, 206, 262, 70);
  b.label(one, "Spot No.", 8, 24);
  edtIndex = b.edit(one, frmSpotAnalyze::edtIndex, 70, 24, 44);
  pbtn2ThetaCalc = b.button(one, frmSpotAnalyze::pbtn2ThetaCalc, "2Theta Calc", 130, 22, 120);
  btnCalcAll->OnClick = [](TComponent*) { calc_all_command(); };
  btnCalcStep->OnClick = [](TComponent*) { calc_step_command(); };
  btnRetry->OnClick = [](TComponent*) { retry_command(); };
  btnAbort->OnClick = [](TComponent*) { abort_command(); };
  pbtn2ThetaCalc->OnClick = [](TComponent*) { two_theta_calc_command(); };
}

void TfrmSpotAnalyze::show_grid() { show_table(*sgridSpotReference, state().spot_analysis_grid); }

void TfrmSpotAnalyze::show_cell(int col, int row) {
  const StringGrid& t = state().spot_analysis_grid;
  if (size_t(row) >= t.size() || size_t(col) >= t[size_t(row)].size()) return;
  if (row >= sgridSpotReference->rowCount() || col >= sgridSpotReference->colCount()) {
    show_grid();
    return;
  }
  sgridSpotReference->setCell(col, row, t[size_t(row)][size_t(col)]);
}

void TfrmSpotAnalyze::enable_runs(bool on) { btnCalcAll->setEnabled(on); }

}  // namespace kestrin::app
