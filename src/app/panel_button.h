// TPanelButton: a panel that acts as a flat push button, its outer bevel lowered while the
// mouse is held down over it; the command button of every form.
#pragma once

#include <string>

#include "platform/gui/std_controls.h"

namespace kestrin::app {

class TPanelButton : public kgui::TPanel {
public:
  explicit TPanelButton(kgui::TComponent* owner);
  // True from a mouse press on the button until the next release.
  bool Pressed = false;

protected:
  void mouseDown(kgui::TMouseButton button, kgui::TShiftState shift, int x, int y) override;
  void mouseMove(kgui::TShiftState shift, int x, int y) override;
  void mouseUp(kgui::TMouseButton button, kgui::TShiftState shift, int x, int y) override;
};

// The look the forms give their flat buttons: inner bevel raised, colour $D0D1D9, a bold
// font of colour $804000. Creates the button in `parent` at the given bounds, owned by the
// form that `parent` lies on.
TPanelButton* make_panel_button(kgui::TWinControl* parent, const std::string& name, const std::string& caption,
                                int left, int top, int width, int height);

}  // namespace kestrin::app
