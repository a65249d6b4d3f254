// Geometry: outer sizes of forms, the align layout and anchors.
#include "gui_fixture.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kgui {
namespace {

using LayoutTest = GuiTest;

TRect widgetRect(const TControl* c) {
  QRect g = c->widget()->geometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

TEST_F(LayoutTest, FormWidthAndHeightAreOuterSizes) {
  TForm* form = makeForm(300, 200);
  EXPECT_EQ(form->width(), 300 + kFormFrameWidth);
  EXPECT_EQ(form->height(), 200 + kFormFrameHeight);
  EXPECT_EQ(form->container()->size(), QSize(300, 200));
  form->setBounds(10, 20, 508, 427);
  EXPECT_EQ(form->clientWidth(), 500);
  EXPECT_EQ(form->clientHeight(), 400);
  EXPECT_EQ(std::get<int64_t>(getProperty(*form, "ClientWidth")), 500);
}

TEST_F(LayoutTest, AlignKindsConsumeTheClientAreaInThePlatformOrder) {
  TForm* form = makeForm(300, 200);
  auto make = [&](int align, int l, int t, int w, int h) {
    auto* p = new TPanel(form);
    p->setParent(form);
    p->setBounds(l, t, w, h);
    p->setAlign(align);
    return p;
  };
  // Created out of order on purpose: the kind decides, then the position within a kind.
  TPanel* client = make(alClient, 0, 0, 10, 10);
  TPanel* left = make(alLeft, 0, 0, 50, 10);
  TPanel* bottom = make(alBottom, 0, 0, 10, 20);
  TPanel* top2 = make(alTop, 0, 40, 10, 15);
  TPanel* top1 = make(alTop, 0, 0, 10, 30);
  TPanel* right = make(alRight, 0, 0, 40, 10);
  EXPECT_EQ(top1->boundsRect(), (TRect{0, 0, 300, 30}));
  EXPECT_EQ(top2->boundsRect(), (TRect{0, 30, 300, 45}));
  EXPECT_EQ(bottom->boundsRect(), (TRect{0, 180, 300, 200}));
  EXPECT_EQ(left->boundsRect(), (TRect{0, 45, 50, 180}));
  EXPECT_EQ(right->boundsRect(), (TRect{260, 45, 300, 180}));
  EXPECT_EQ(client->boundsRect(), (TRect{50, 45, 260, 180}));
  EXPECT_EQ(widgetRect(client), client->boundsRect());
  form->setClientHeight(300);  // growing the form moves the bottom panel and stretches the rest
  EXPECT_EQ(bottom->boundsRect(), (TRect{0, 280, 300, 300}));
  EXPECT_EQ(client->boundsRect(), (TRect{50, 45, 260, 280}));
  top1->setVisible(false);
  EXPECT_EQ(top2->boundsRect(), (TRect{0, 0, 300, 15}));
}

TEST_F(LayoutTest, AnchorsKeepDistancesToTheRightAndBottom) {
  TForm* form = makeForm(300, 200);
  auto* memo = new TMemo(form);
  memo->setParent(form);
  memo->setBounds(10, 10, 280, 150);
  memo->setAnchors(setOf({akLeft, akTop, akRight, akBottom}));
  auto* close = new TButton(form);
  close->setParent(form);
  close->setBounds(215, 170, 75, 25);
  close->setAnchors(setOf({akRight, akBottom}));
  form->setClientWidth(400);
  form->setClientHeight(250);
  EXPECT_EQ(memo->boundsRect(), (TRect{10, 10, 390, 210}));
  EXPECT_EQ(close->boundsRect(), (TRect{315, 220, 390, 245}));
  EXPECT_EQ(widgetRect(close), close->boundsRect());
}

TEST_F(LayoutTest, AUserResizeUpdatesTheOuterSizeAndTheLayout) {
  TForm* form = makeForm(300, 200);
  auto* memo = new TMemo(form);
  memo->setParent(form);
  memo->setAlign(alClient);
  int resizes = 0;
  form->OnResize = [&](TComponent*) { ++resizes; };
  form->widget()->resize(400, 250);  // as the window manager does
  EXPECT_EQ(form->width(), 400 + kFormFrameWidth);
  EXPECT_EQ(form->clientHeight(), 250);
  EXPECT_EQ(memo->boundsRect(), (TRect{0, 0, 400, 250}));
  EXPECT_EQ(resizes, 1);
}

TEST_F(LayoutTest, ChildrenOfAShownParentShowAndParentFontIsInherited) {
  TForm* form = makeForm();
  form->font()->setName("Times New Roman");
  auto* label = new TLabel(form);
  label->setParent(form);
  label->setCaption("2Theta begin(deg)");
  EXPECT_TRUE(label->showing());
  EXPECT_EQ(label->font()->name(), "Times New Roman");
  EXPECT_GT(label->width(), 0);  // AutoSize follows the caption
  auto* bold = new TLabel(form);
  bold->setParent(form);
  bold->font()->setStyle(setOf({fsBold}));  // its own font now: ParentFont is off
  form->font()->setSize(12);
  EXPECT_EQ(label->font()->size(), 12);
  EXPECT_EQ(bold->font()->size(), 8);
  EXPECT_FALSE(bold->parentFont());
  label->setVisible(false);
  EXPECT_FALSE(label->showing());
  EXPECT_FALSE(label->visible());
}

}  // namespace
}  // namespace kgui
