// The flat push button's bevel state machine.
#include "app/panel_button.h"

#include "platform/gui/form.h"

namespace kestrin::app {

using namespace kgui;

TPanelButton::TPanelButton(TComponent* owner) : TPanel(owner) {}

// Any mouse button lowers the bevel; only a left release over the button clicks (the
// panel's own handling).
void TPanelButton::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  setBevelOuter(bvLowered);
  Pressed = true;
  TPanel::mouseDown(button, shift, x, y);
}

void TPanelButton::mouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  setBevelOuter(bvRaised);
  Pressed = false;
  TPanel::mouseUp(button, shift, x, y);
}

// A point on the right or bottom edge (x = Width, y = Height) still counts as inside.
void TPanelButton::mouseMove(TShiftState shift, int x, int y) {
  const bool outside = x < 0 || y < 0 || x > width() || y > height();
  if (outside) {
    if (bevelOuter() == bvLowered) setBevelOuter(bvRaised);
  } else if (Pressed && bevelOuter() == bvRaised) {
    setBevelOuter(bvLowered);
  }
  TPanel::mouseMove(shift, x, y);
}

TPanelButton* make_panel_button(TWinControl* parent, const std::string& name, const std::string& caption,
                                int left, int top, int width, int height) {
  // The form owns its buttons, wherever they lie, so it finds them by name.
  TForm* form = parentForm(parent);
  auto* b = new TPanelButton(form ? static_cast<TComponent*>(form) : parent);
  b->setParent(parent);
  b->setName(name);
  b->setBounds(left, top, width, height);
  b->setBevelInner(bvRaised);
  b->setColor(0xD0D1D9);
  b->font()->setStyle(setOf({fsBold}));
  b->font()->setColor(0x804000);
  b->setCaption(caption);
  return b;
}

}  // namespace kestrin::app
