// The flat push button: its bevel follows press, drag out, drag back in and release; only a
// left release over it clicks.
#include <gtest/gtest.h>

#include <memory>

#include "app/panel_button.h"
#include "offscreen_app.h"
#include "platform/gui/form.h"

namespace kestrin::app {
namespace {

using namespace kgui;

struct Step {
  QEvent::Type type;
  int x, y;
  Qt::MouseButton button;  // the button that went down or up (NoButton for moves)
  int bevel;               // BevelOuter afterwards
  bool pressed;
  int clicks;              // clicks so far
};

struct Sequence {
  const char* name;
  std::vector<Step> steps;
};

constexpr auto Press = QEvent::MouseButtonPress, Move = QEvent::MouseMove, Release = QEvent::MouseButtonRelease;

TEST(PanelButton, BevelAndClickFollowTheMouse) {
  test::offscreen_app();
  const Sequence sequences[] = {
      {"press, drag out, drag back in to the corner, release inside",
       {{Press, 10, 10, Qt::LeftButton, bvLowered, true, 0},
        {Move, 81, 10, Qt::NoButton, bvRaised, true, 0},
        {Move, 80, 24, Qt::NoButton, bvLowered, true, 0},  // x = Width, y = Height: inside
        {Move, 40, 25, Qt::NoButton, bvRaised, true, 0},
        {Move, 40, 12, Qt::NoButton, bvLowered, true, 0},
        {Release, 40, 12, Qt::LeftButton, bvRaised, false, 1}}},
      {"press, drag out, release outside",
       {{Press, 5, 5, Qt::LeftButton, bvLowered, true, 0},
        {Move, -1, 5, Qt::NoButton, bvRaised, true, 0},
        {Release, -1, 5, Qt::LeftButton, bvRaised, false, 0}}},
      {"hovering never lowers",
       {{Move, 10, 10, Qt::NoButton, bvRaised, false, 0},
        {Move, 200, 10, Qt::NoButton, bvRaised, false, 0},
        {Move, 80, 24, Qt::NoButton, bvRaised, false, 0}}},
      {"a right press lowers without a click",
       {{Press, 10, 10, Qt::RightButton, bvLowered, true, 0},
        {Move, 12, 10, Qt::NoButton, bvLowered, true, 0},
        {Release, 12, 10, Qt::RightButton, bvRaised, false, 0}}},
  };
  for (const auto& seq : sequences) {
    auto form = std::make_unique<TForm>(nullptr);
    form->setClientWidth(200);
    form->setClientHeight(100);
    TPanelButton* b = make_panel_button(form.get(), "PanelButton1", "Test", 10, 10, 80, 24);
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    form->showForm();
    ASSERT_EQ(b->bevelOuter(), bvRaised);
    Qt::MouseButtons held;
    for (size_t i = 0; i < seq.steps.size(); ++i) {
      const Step& s = seq.steps[i];
      if (s.type == Press) held |= s.button;
      if (s.type == Release) held &= ~Qt::MouseButtons(s.button);
      test::send_mouse(b->widget(), s.type, s.x, s.y, s.button, held);
      EXPECT_EQ(b->bevelOuter(), s.bevel) << seq.name << ", step " << i;
      EXPECT_EQ(b->Pressed, s.pressed) << seq.name << ", step " << i;
      EXPECT_EQ(clicks, s.clicks) << seq.name << ", step " << i;
    }
  }
}

TEST(PanelButton, FormsGiveItTheFlatButtonLook) {
  test::offscreen_app();
  TForm form(nullptr);
  TPanelButton* b = make_panel_button(&form, "PanelButton1", "Close", 1, 2, 75, 25);
  EXPECT_EQ(b->parent(), &form);
  EXPECT_EQ(b->caption(), "Close");
  EXPECT_EQ(b->bevelInner(), bvRaised);
  EXPECT_EQ(b->bevelOuter(), bvRaised);
  EXPECT_EQ(b->color(), TColor(0xD0D1D9));
  EXPECT_EQ(b->font()->color(), TColor(0x804000));
  EXPECT_EQ(b->font()->style(), setOf({fsBold}));
  EXPECT_FALSE(b->Pressed);
}

}  // namespace
}  // namespace kestrin::app
