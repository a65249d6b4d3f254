// TfrmImageWhole: a small navigator: a 256 x 256 picture on which a frame standing for the
// image window's visible part is dragged; releasing it scrolls the image window there. No
// menu shows it.
#pragma once

#include "app/panel_button.h"
#include "commands/image_whole_commands.h"
#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"

namespace kestrin::app {

class TfrmImageWhole : public kgui::TForm {
public:
  explicit TfrmImageWhole(kgui::TComponent* owner);

  kgui::TPaintBox* imgWhole;
  kgui::TComboBox* cmbMagni;
  TPanelButton *pbtnWide, *pbtnTele;

private:
  void imgWholeMouseMove(int x, int y);
  void imgWholeMouseUp(int x, int y);
  // Places the frame at the cursor and draws it (frames are never erased).
  void place_frame(int x, int y);

  FramePosition frame_;
  bool dragging_ = false;
};

}  // namespace kestrin::app
