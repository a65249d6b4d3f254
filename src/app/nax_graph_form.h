// TfrmNaxGraph: the pattern graph window. A row of command buttons, the range panel with the
// view-range edits, the same-peak tolerance, the readout and the picture in which the graph
// is drawn and edited by mouse, and a bottom panel with ReDraw, Copy and Close.
#pragma once

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "ports/controls.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmNaxGraph : public kgui::TForm {
public:
  explicit TfrmNaxGraph(kgui::TComponent* owner);

  TPanelButton *pbtnLoadIntensity, *pbtnSaveIntensity, *pbtnDefaultRegion, *pbtnPeakSearch, *pbtnPrintIntensity;
  kgui::TPanel* pnlNaxBase;
  kgui::TEdit *edtXBegin, *edtXEnd, *edtYBegin, *edtYEnd, *edt2ThetaBegin, *edt2ThetaEnd, *Edit1;
  kgui::TLabel* lblCurValue;
  kgui::TPaintBox* imgNaxGraph;
  kgui::TPanel* pnlButtons;
  TPanelButton *pbtnReDraw, *pbtnCopyClipboard, *pbtnClose;
  // Frame drags come as many resizes: the layout waits until they pause.
  kgui::TTimer* tmrLayout;

  // The port's requests: the graph drawn into the picture, and one line on it.
  void drawGraph();
  void drawLine(int x1, int y1, int x2, int y2, TColor colour);
  // Repaints where the rubber band was and where it is now.
  void repaintRubberBand();
  kgui::TRect band_shown_{};  // the rubber band's last painted bounds (empty: none)
  // The layout for the window's size and a draw, unless the window is too small.
  void FormResize();

private:
  void createButtonRow();
  void createRangePanel();
  void createPicture();
  void createBottomPanel();
  kgui::TEdit* addEdit(ControlName name, const char* label, int left, int top, int label_width, int width);
  // The layout that follows the window's size; false when it is too small.
  bool applyLayout();
};

// The graph window's port over the form.
GraphWindowPort& nax_graph_port();

}  // namespace kestrin::app
