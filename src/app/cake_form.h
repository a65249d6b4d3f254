// TfrmCake ("frmCake"): the image unrolled into azimuth and distance, one grey band per
// angular slice, with a scroll bar that brightens the grey scale.
#pragma once

#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"
#include "ports/views.h"

namespace kestrin::app {

class TfrmCake : public kgui::TForm {
public:
  explicit TfrmCake(kgui::TComponent* owner);

  kgui::TPaintBox* imgCake;
  kgui::TScrollBar* ScrollBar1;
  kgui::TButton *Button2, *Button1;

  // Draws the cake picture at the image's top-left corner.
  void drawCake();
};

// The cake window's port over the form.
CakeWindowPort& cake_port();

}  // namespace kestrin::app
