// The cake window: its controls and one call into the cake commands per action.
#include "app/cake_form.h"

#include "app/form_lookup.h"
#include "app/image_view_paint.h"
#include "app/tool_form_controls.h"
#include "commands/cake_commands.h"
#include "image/cake_picture.h"
#include "ports/names/cake_form_names.h"

namespace kestrin::app {

using namespace kgui;

namespace {

class CakePort : public CakeWindowPort {
public:
  void show() override { show_window(frmCake::form); }
  void draw_cake() override {
    if (TfrmCake* f = form_of<TfrmCake>()) f->drawCake();
  }
};

}  // namespace

CakeWindowPort& cake_port() {
  static CakePort port;
  return port;
}

TfrmCake::TfrmCake(TComponent* owner) : TForm(owner) {
  set_up_tool_form(this, frmCake::form, "frmCake", 822, 409);
  imgCake = new TPaintBox(this);
  imgCake->setName(std::string(frmCake::imgCake.control));
  imgCake->setParent(this);
  imgCake->setBounds(4, 0, 800, 320);
  ScrollBar1 = new TScrollBar(this);
  ScrollBar1->setName(std::string(frmCake::ScrollBar1.control));
  ScrollBar1->setParent(this);
  ScrollBar1->setBounds(302, 344, 495, 17);
  ScrollBar1->setParams(0, 0, 255);
  ScrollBar1->OnChange = [this](TComponent*) { cake_brightness_changed(ScrollBar1->position()); };
  Button2 = add_button(this, this, frmCake::Button2, "Cake", 16, 340, 90, 25);
  Button2->OnClick = [](TComponent*) { cake_clicked(); };
  Button1 = add_button(this, this, frmCake::Button1, "sector cake", 120, 340, 90, 25);
  Button1->setVisible(false);
  Button1->OnClick = [](TComponent*) { sector_cake_clicked(); };
}

void TfrmCake::drawCake() {
  const CakeState& cake = cake_state();
  if (!cake.made) return;
  const TKsDIB& dib = cake.CakeDIB;
  draw_dib(imgCake->canvas(), {0, 0, dib.Width(), dib.Height()}, dib);
  imgCake->invalidate();
}

}  // namespace kestrin::app
