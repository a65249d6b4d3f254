// TfrmImage: the image window. The part view with its scroll bars on the left; on the
// right the thumbnail, the cursor readouts, the zoom and brush controls, the gradation
// gauge with its range edits, the scale and mouse-mode radios, the omit flags, the command
// buttons and the window-setting edits. Every action calls the image window's commands;
// the drawing comes from the display engine and the overlays.
#pragma once

#include <cstdint>
#include <vector>

#include "app/panel_button.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "ports/controls.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmImage : public kgui::TForm {
public:
  explicit TfrmImage(kgui::TComponent* owner);

  kgui::TPanel *pnlImageBase, *pnlButtons;
  kgui::TPaintBox* pbxPart;
  kgui::TScrollBar *scrDispX, *scrDispY;
  kgui::TPaintBox *imgWhole, *pbxGradationGauge;
  kgui::TEdit *edtLowEdge, *edtHighEdge;
  kgui::TLabel *lblLowIndex, *lblHighIndex;
  kgui::TEdit *edtCursorX, *edtCursorY, *edtIntensity, *edtDistance, *edtAngle;
  kgui::TComboBox *cmbMagni, *cmbPenSize;
  kgui::TEdit* edtMagni;
  kgui::TRadioButton *rbtnLinearScale, *rbtnLogScale, *rbtnMask, *rbtnAreaSelect;
  kgui::TCheckBox *chkOmitGreen, *chkOmitBlue;
  TPanelButton *pbtnLoadImage, *pbtnClearMask, *pbtnFindCenter, *pbtnLoadMask, *pbtnSaveMask, *pbtnFindSpots,
      *pbtnPrintImage, *pbtnSaveImage;
  kgui::TEdit *edtImageWindowWidth, *edtImageWindowHeight, *edtImageWindowCX, *edtImageWindowCY;
  kgui::TTimer* Timer1;

  // The drawing the image window's port asks for.
  void redraw_image();
  void repaint_image_view();
  void draw_gradation_gauge();
  void set_scroll_positions(int32_t x, int32_t y);
  void set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y);
  // Sizes the part view and the window around it (the window-setting edits).
  void set_view_size(int32_t width, int32_t height);
  // Lays the window out after a resize: the panels and bars follow the form, the view
  // follows the part view's new size.
  void layout_image_form();

private:
  void createImagePanel();
  void createButtonPanel();
  void createReadouts();
  void createZoomControls();
  void createGauge();
  void createRadioGroups();
  void createCommandButtons();
  void createWindowSetting();
  void attachHandlers();
  void FormResize();
  void Timer1Timer();
  // The button panel's height down to its last control.
  static int buttons_content_height();

  kgui::TEdit* addEdit(kgui::TWinControl* parent, ControlName name, int left, int top, int width);
  kgui::TLabel* addLabel(kgui::TWinControl* parent, const char* caption, int left, int top);
  kgui::TRadioButton* addRadio(kgui::TWinControl* parent, ControlName name, const char* caption, int left, int width);
  kgui::TCheckBox* addCheckBox(ControlName name, const char* caption, int left, int top);
  TPanelButton* addButton(ControlName name, const char* caption, int index);

  // The outer size set_view_size gave the window (its resize needs no layout).
  int sized_width_ = 0, sized_height_ = 0;
  // ViewBitmap: the last rendered part view, without the overlays.
  std::vector<uint32_t> view_bitmap_;
  std::vector<uint32_t> thumbnail_;
};

// The image window's port over TfrmImage.
class ImageFormPort : public ImageWindowPort {
public:
  void show() override;
  void redraw_image() override;
  void repaint_image_view() override;
  void image_loaded() override;
  void set_scroll_positions(int32_t x, int32_t y) override;
  void set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y) override;
  void draw_gradation_gauge() override;
  void set_view_size(int32_t width, int32_t height) override;
  void set_caption(const std::string& caption) override;
};

}  // namespace kestrin::app
