// TfrmBG: the background window. The background image in a zoomable, scrollable view with
// its own grey-scale gauge and readouts; loading a background, making one from the current
// image, subtracting it, and saving the result.
#pragma once

#include "app/panel_button.h"
#include "commands/bg_gauge.h"
#include "image/display/display.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"

#include <vector>

namespace kestrin::app {

class ToolFormBuilder;

class TfrmBG : public kgui::TForm {
public:
  explicit TfrmBG(kgui::TComponent* owner);

  kgui::TPanel *pnlImageBase, *pnlButtons;
  kgui::TPaintBox *pbxPart, *pbxGradationGauge, *imgWhole;
  kgui::TScrollBar *scrDispX, *scrDispY;
  kgui::TEdit *edtCursorX, *edtCursorY, *edtIntensity, *edtDistance, *edtLowEdge, *edtHighEdge, *edtMagni;
  kgui::TLabel *lblLowIndex, *lblHighIndex, *lblBGFileName, *lblPastSecond, *lblCurrentLine, *lblLines;
  kgui::TComboBox *cmbMagni, *cmbPenSize;
  kgui::TRadioButton *rbtnLogScale, *rbtnLinearScale, *rbtnHistoScale;
  kgui::TEdit *edtFilterSize, *edtFilterStep, *edtFilterSelect, *edtFilterSize2;
  kgui::TRadioButton *rbtnBGSmoothing1, *rbtnBGSmoothing2, *rbtnBGSmoothing3;
  kgui::TRadioButton *rbtnSourceSmoothing1, *rbtnSourceSmoothing2, *rbtnSourceSmoothing3;
  kgui::TEdit *edtSourceSmoothingFilterSize, *edtSourcePlus, *edtBGMagni, *edtOffset1;
  kgui::TCheckBox *chkEraseMode, *chkOmitGreen, *chkOmitBlue;
  kgui::TMemo* Memo1;
  TPanelButton *pbtnLoadImage, *Button1, *Button2, *pbtnExecuteFiltering, *PanelButton1, *pbtnSubtractBG,
      *pbtnSaveImage;

  // The view's scroll bars after the background's size or zoom changed, then the picture.
  void bg_image_resized();
  // Draws the background levels at the scroll position.
  void redraw_bg_view();
  void draw_bg_gauge();
  // Lays the window out for its size: the view takes the room left of the button panel.
  void layout_bg_form();

private:
  void createView(ToolFormBuilder& b);
  void createGauge(ToolFormBuilder& b);
  void createMakeGroup(ToolFormBuilder& b);
  void createSubtractGroup(ToolFormBuilder& b);
  void createHidden(ToolFormBuilder& b);
  void applyZoom(const ZoomResult& r);
  void viewMouseDown(kgui::TMouseButton button, kgui::TShiftState shift, int x, int y);
  void gaugeKey(bool high);
  void gaugeMoved(int x);
  void filterKey();

  bool scroll_lock_ = false;
  GaugeDrag drag_;  // a drag of the gauge's edges, held from a press on the gauge
  int zoom_item_before_whole_ = 1;
  std::vector<kgui::TLabel*> readout_labels_;  // moved with their edits by the layout
};

}  // namespace kestrin::app
