// The peak fitting window: the grid of fit results and its two buttons.
#include "app/peak_fitting_form.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

#include "app/form_colours.h"
#include "app/form_lookup.h"
#include "commands/file_commands.h"
#include "commands/peak_fitting_commands.h"
#include "ports/names/peak_fitting_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

constexpr int kColumnWidths[kFitGridColumns] = {64, 86, 63, 72, 92, 64, 64, 64, 64, 64, 64};
constexpr int kGridWidth = 800, kGridHeight = 300;
// Room around a cell's text: the grid's margins on both sides and its grid line.
constexpr int kCellPadding = 12;

class FitPort : public FitWindowPort {
public:
  void show() override { show_window(frmPeakFitting::form); }
  void show_fit_results() override {
    if (TfrmPeakFitting* f = form_of<TfrmPeakFitting>()) f->ShowFitResults();
  }
};

}  // namespace

FitWindowPort& peak_fitting_port() {
  static FitPort port;
  return port;
}

TfrmPeakFitting::TfrmPeakFitting(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmPeakFitting::form));
  setCaption("KES for Windows (Peak Fitting List)");
  setColor(kFormColour);
  setClientWidth(kGridWidth + 16);
  setClientHeight(kGridHeight + 56);
  sgridPeakParameter = new TStringGrid(this);
  sgridPeakParameter->setName(std::string(frmPeakFitting::sgridPeakParameter.control));
  sgridPeakParameter->setParent(this);
  sgridPeakParameter->setBounds(8, 8, kGridWidth, kGridHeight);
  sgridPeakParameter->setColCount(kFitGridColumns);
  sgridPeakParameter->setRowCount(2);
  for (int c = 0; c < kFitGridColumns; ++c) sgridPeakParameter->setColWidth(c, kColumnWidths[c]);
  pbtnReFitting = make_panel_button(this, std::string(frmPeakFitting::pbtnReFitting.control), "Retry", 8,
                                    kGridHeight + 18, 100, 28);
  pbtnReFitting->OnClick = [this](TComponent*) { pbtnReFittingClick(); };
  pbtnFileSave = make_panel_button(this, std::string(frmPeakFitting::pbtnFileSave.control), "File Save", 116,
                                   kGridHeight + 18, 100, 28);
  pbtnFileSave->OnClick = [](TComponent*) { save_fit_command(); };
}

void TfrmPeakFitting::ShowFitResults() {
  TStringGrid* g = sgridPeakParameter;
  g->setOptions(setOf({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing, goThumbTracking}));
  const auto rows = fit_result_rows();
  g->setRowCount(int(rows.size()));
  for (int r = 0; r < g->rowCount(); ++r)
    for (int c = 0; c < g->colCount(); ++c) g->setCell(c, r, "");
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) g->setCell(int(c), int(r), rows[r][c]);
  fit_columns_to_texts();
}

// Each column at least as wide as its design and wide enough for every text it holds.
void TfrmPeakFitting::fit_columns_to_texts() {
  TStringGrid* g = sgridPeakParameter;
  const QFontMetrics metrics(g->widget()->font());
  for (int c = 0; c < g->colCount(); ++c) {
    int width = c < kFitGridColumns ? kColumnWidths[c] : g->defaultColWidth();
    for (int r = 0; r < g->rowCount(); ++r)
      width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(g->cell(c, r))) + kCellPadding);
    g->setColWidth(c, width);
  }
}

void TfrmPeakFitting::pbtnReFittingClick() {
  // A flat button takes no focus, so an open cell editor is still open: keep what it holds.
  sgridPeakParameter->commitEdit();
  refit_from_grid([this](int c, int r) { return sgridPeakParameter->cell(c, r); }, sgridPeakParameter->rowCount());
}

}  // namespace kestrin::app
