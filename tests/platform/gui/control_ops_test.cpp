// The control operations: Controls[] order, window handles and text messages, size checks
// and constraints, hit tests, scaling, mirroring, align suspension, coordinates, the mouse
// wheel, context menus and help.
#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "gui_fixture.h"
#include "platform/classes/handles.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"

namespace kgui {
namespace {

using ControlOps = GuiTest;

TLabel* label(TWinControl* parent, int l, int t, int w, int h) {
  auto* c = place<TLabel>(parent, l, t, w, h);
  c->setAutoSize(false);
  c->setBounds(l, t, w, h);
  return c;
}

TEST_F(ControlOps, ControlsListNonWindowedControlsFirst) {
  TForm* form = makeForm();
  auto* p1 = place<TPanel>(form, 0, 0, 10, 10);
  auto* l1 = label(form, 0, 0, 10, 10);
  auto* p2 = place<TPanel>(form, 0, 0, 10, 10);
  auto* l2 = label(form, 0, 0, 10, 10);
  const std::vector<TControl*> expected{l1, l2, p1, p2};
  ASSERT_EQ(form->controlCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form->controls(i), expected[static_cast<size_t>(i)]) << i;
  l1->setParent(nullptr);
  l1->setParent(form);  // back last among the non-windowed ones
  EXPECT_EQ(form->controls(1), l1);
  EXPECT_EQ(form->controls(2), p1);
}

TEST_F(ControlOps, TextMessagesReachTextOrCaption) {
  TForm* form = makeForm();
  auto* edit = place<TEdit>(form, 0, 0, 80, 20);
  auto* lbl = label(form, 0, 30, 80, 20);
  char buffer[8];
  struct Case {
    TControl* control;
    const char* text;
  };
  for (const Case& c : {Case{edit, "日本 edit"}, Case{lbl, "a label"}}) {
    const std::string text = c.text;
    EXPECT_EQ(c.control->perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(c.text)), 1);
    EXPECT_EQ(c.control->windowText(), text);
    EXPECT_EQ(c.control->perform(WM_GETTEXTLENGTH, 0, 0), static_cast<intptr_t>(text.size()));
    // The buffer holds 7 bytes and the closing NUL.
    EXPECT_EQ(c.control->perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<intptr_t>(buffer)), 7);
    EXPECT_EQ(std::string(buffer), text.substr(0, 7));
    EXPECT_EQ(c.control->perform(WM_GETTEXT, 0, reinterpret_cast<intptr_t>(buffer)), 0);
    EXPECT_EQ(c.control->perform(0x0400, 1, 2), 0) << "other messages answer 0";
  }
  EXPECT_EQ(edit->text(), "日本 edit");
  EXPECT_EQ(lbl->caption(), "a label");
  EXPECT_EQ(edit->perform(WM_CLOSE, 0, 0), 0);
  EXPECT_TRUE(edit->visible()) << "WM_CLOSE closes forms only";
  ASSERT_TRUE(form->widget()->isVisible());
  form->perform(WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->widget()->isVisible());
}

TEST_F(ControlOps, HandlesAreStableDistinctAndGoWithTheControl) {
  TForm* form = makeForm();
  auto* a = place<TPanel>(form, 0, 0, 10, 10);
  auto* b = place<TPanel>(form, 0, 0, 10, 10);
  const uint32_t ha = a->handle();
  EXPECT_NE(ha, 0u);
  EXPECT_EQ(a->handle(), ha);
  EXPECT_NE(b->handle(), ha);
  EXPECT_EQ(windowHandles().object(ha), a);
  delete a;
  EXPECT_EQ(windowHandles().object(ha), nullptr);
  EXPECT_NE(form->handle(), b->handle());
}

TEST_F(ControlOps, SizeChecksAndConstraintsShapeEveryNewSize) {
  TForm* form = makeForm();
  auto* p = place<TPanel>(form, 0, 0, 100, 50);
  std::vector<std::string> log;
  p->constraints()->setMinWidth(40);
  p->constraints()->setMaxWidth(150);
  p->constraints()->setMaxHeight(90);
  struct Case {
    const char* what;
    int w, h;
    TRect expected;
  };
  const Case cases[] = {
      {"inside the limits", 120, 60, {5, 5, 125, 65}},
      {"below the minimum width", 10, 60, {5, 5, 45, 65}},
      {"above the maximum width and height", 400, 400, {5, 5, 155, 95}},
  };
  for (const Case& c : cases) {
    p->setBounds(5, 5, c.w, c.h);
    EXPECT_EQ(p->boundsRect(), c.expected) << c.what;
  }
  // Raising the minimum resizes at once.
  p->constraints()->setMinHeight(100);
  EXPECT_EQ(p->height(), 100);
  p->OnCanResize = [&](TComponent*, int& w, int& h, bool& resize) {
    log.push_back("CanResize " + std::to_string(w) + "x" + std::to_string(h));
    if (w == 77) resize = false;
    if (w == 88) w = 60;
  };
  p->OnConstrainedResize = [&](TComponent*, int& min_w, int&, int& max_w, int&) {
    log.push_back("ConstrainedResize " + std::to_string(min_w) + " " + std::to_string(max_w));
    max_w = 70;
  };
  p->setBounds(5, 5, 77, 100);
  EXPECT_EQ(p->width(), 150) << "refused: the size stays";
  p->setBounds(5, 5, 88, 100);
  EXPECT_EQ(p->width(), 60) << "the handler's size, then the handler's limits";
  p->setBounds(5, 5, 120, 100);
  EXPECT_EQ(p->width(), 70);
  EXPECT_EQ(log, (std::vector<std::string>{"CanResize 77x100", "CanResize 88x100", "ConstrainedResize 40 150",
                                           "CanResize 120x100", "ConstrainedResize 40 150"}));
}

TEST_F(ControlOps, AFormsConstraintsLimitItsWindow) {
  TForm* form = makeForm(300, 200);
  form->constraints()->setMinWidth(200);
  form->constraints()->setMaxHeight(150);
  EXPECT_EQ(form->widget()->minimumWidth(), 200 - kFormFrameWidth);
  EXPECT_EQ(form->widget()->maximumHeight(), 150 - kFormFrameHeight);
  EXPECT_EQ(form->height(), 150);
  form->constraints()->setMaxHeight(0);
  EXPECT_EQ(form->widget()->maximumHeight(), QWIDGETSIZE_MAX);
}

TEST_F(ControlOps, CanFocusNeedsAFormAndShownEnabledParents) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 0, 0, 100, 100);
  auto* edit = place<TEdit>(panel, 5, 5, 80, 20);
  EXPECT_TRUE(edit->canFocus());
  panel->setEnabled(false);
  EXPECT_FALSE(edit->canFocus());
  panel->setEnabled(true);
  panel->setVisible(false);
  EXPECT_FALSE(edit->canFocus());
  TEdit loose(nullptr);
  EXPECT_FALSE(loose.canFocus());
}

TEST_F(ControlOps, ControlAtPosFindsTheTopMostVisibleChild) {
  TForm* form = makeForm();
  auto* under = label(form, 0, 0, 100, 100);
  auto* over = label(form, 50, 50, 100, 100);
  auto* panel = place<TPanel>(form, 120, 0, 60, 40);
  auto* off = label(form, 200, 0, 20, 20);
  off->setEnabled(false);
  auto* hidden = label(form, 250, 0, 20, 20);
  hidden->setVisible(false);
  struct Case {
    TPoint p;
    bool allow_disabled, allow_windowed;
    TControl* expected;
  };
  const Case cases[] = {
      {{10, 10}, false, false, under},    {{60, 60}, false, false, over},   {{149, 149}, false, false, over},
      {{150, 150}, false, false, nullptr}, {{130, 10}, false, false, nullptr}, {{130, 10}, false, true, panel},
      {{205, 5}, false, false, nullptr},  {{205, 5}, true, false, off},     {{255, 5}, true, true, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(form->controlAtPos(c.p, c.allow_disabled, c.allow_windowed), c.expected)
        << c.p.x << "," << c.p.y << " " << c.allow_disabled << c.allow_windowed;
  EXPECT_TRUE(form->containsControl(over));
  EXPECT_FALSE(panel->containsControl(over));
  over->setName("Over");
  EXPECT_EQ(form->findChildControl("OVER"), over);
  EXPECT_EQ(form->findChildControl("none"), nullptr);
}

TEST_F(ControlOps, ScaleByScalesBoundsAndOwnFonts) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 10, 10, 101, 51);
  auto* inner = label(panel, 3, 3, 21, 11);
  inner->font()->setSize(10);  // its own font, no longer the parent's
  panel->scaleBy(3, 2);
  EXPECT_EQ(panel->boundsRect(), (TRect{15, 15, 167, 92}));
  EXPECT_EQ(inner->boundsRect(), (TRect{5, 5, 36, 21}));  // 4.5 rounds away from zero
  EXPECT_EQ(inner->font()->size(), 15);
  panel->scaleBy(2, 2);
  EXPECT_EQ(panel->boundsRect(), (TRect{15, 15, 167, 92}));
  EXPECT_THROW(panel->scaleBy(1, 0), EPropertyError);
  EXPECT_EQ(panel->boundsRect(), (TRect{15, 15, 167, 92}));
}

TEST_F(ControlOps, FlipChildrenMirrorsPositionsAndSides) {
  TForm* form = makeForm(300, 200);
  auto* left = place<TPanel>(form, 0, 0, 50, 10);
  left->setAlign(alLeft);
  auto* free = place<TPanel>(form, 100, 20, 30, 30);
  auto* inner = label(free, 2, 2, 10, 10);
  form->flipChildren(false);
  EXPECT_EQ(left->align(), alRight);
  EXPECT_EQ(left->boundsRect(), (TRect{250, 0, 300, 200}));
  EXPECT_EQ(free->left(), 300 - 100 - 30);
  EXPECT_EQ(inner->left(), 2);
  form->flipChildren(true);
  EXPECT_EQ(left->align(), alLeft);
  EXPECT_EQ(free->left(), 100);
  EXPECT_EQ(inner->left(), 30 - 2 - 10);
  form->scrollBy(5, -5);
  EXPECT_EQ(free->boundsRect(), (TRect{105, 15, 135, 45}));
}

TEST_F(ControlOps, DisabledAlignWaitsForTheLastEnable) {
  TForm* form = makeForm(300, 200);
  form->disableAlign();
  form->disableAlign();
  auto* top = place<TPanel>(form, 0, 50, 10, 20);
  top->setAlign(alTop);
  EXPECT_EQ(top->boundsRect(), (TRect{0, 50, 10, 70}));
  form->enableAlign();
  EXPECT_EQ(top->top(), 50);
  form->enableAlign();
  EXPECT_EQ(top->boundsRect(), (TRect{0, 0, 300, 20}));
  form->enableAlign();  // one too many is harmless
  EXPECT_EQ(top->boundsRect(), (TRect{0, 0, 300, 20}));
}

TEST_F(ControlOps, ClientAndScreenPointsConvertBothWays) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 20, 30, 60, 60);
  const TPoint screen = panel->clientToScreen({5, 6});
  const QPoint expected = panel->widget()->mapToGlobal(QPoint(5, 6));
  EXPECT_EQ(screen, (TPoint{expected.x(), expected.y()}));
  EXPECT_EQ(panel->screenToClient(screen), (TPoint{5, 6}));
  TPanel loose(nullptr);  // never shown: the positions summed over its parents
  loose.setBounds(7, 8, 10, 10);
  EXPECT_EQ(loose.clientToScreen({1, 1}), (TPoint{8, 9}));
}

void turnWheel(QWidget* w, int delta) {
  const QPointF local(5, 5);
  QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::ShiftModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST_F(ControlOps, TheWheelRisesToTheFirstControlThatTakesIt) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 0, 0, 100, 100);
  std::vector<std::string> log;
  form->OnMouseWheel = [&](TComponent*, TShiftState shift, int delta, TPoint, bool&) {
    log.push_back("form Wheel " + std::to_string(delta) + " " + setToNames(shiftStateType(), shift));
  };
  form->OnMouseWheelDown = [&](TComponent*, TShiftState, TPoint, bool& handled) {
    log.push_back("form WheelDown");
    handled = true;
  };
  form->OnMouseWheelUp = [&](TComponent*, TShiftState, TPoint, bool&) { log.push_back("form WheelUp"); };
  turnWheel(panel->widget(), -120);
  turnWheel(panel->widget(), 60);  // half a notch: no up or down yet
  turnWheel(panel->widget(), 60);
  panel->OnMouseWheel = [&](TComponent*, TShiftState, int, TPoint, bool& handled) {
    log.push_back("panel Wheel");
    handled = true;
  };
  turnWheel(panel->widget(), 240);
  EXPECT_EQ(log, (std::vector<std::string>{"form Wheel -120 ssShift", "form WheelDown", "form Wheel 60 ssShift",
                                           "form Wheel 60 ssShift", "form WheelUp", "panel Wheel"}));
}

TEST_F(ControlOps, AnUnhandledContextPopupOpensThePopupMenu) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 0, 0, 100, 100);
  TPopupMenu menu(nullptr);
  std::vector<std::string> log;
  menu.OnPopup = [&](TComponent*) { log.push_back("Popup"); };
  panel->setPopupMenu(&menu);
  bool handle = true;
  panel->OnContextPopup = [&](TComponent*, TPoint p, bool& handled) {
    log.push_back("ContextPopup " + std::to_string(p.x) + "," + std::to_string(p.y));
    handled = handle;
  };
  auto ask = [&](QContextMenuEvent::Reason reason) {
    QContextMenuEvent e(reason, QPoint(7, 8), panel->widget()->mapToGlobal(QPoint(7, 8)));
    QApplication::sendEvent(panel->widget(), &e);
  };
  ask(QContextMenuEvent::Mouse);
  handle = false;
  ask(QContextMenuEvent::Keyboard);
  EXPECT_EQ(log, (std::vector<std::string>{"ContextPopup 7,8", "ContextPopup -1,-1", "Popup"}));
  EXPECT_EQ(menu.popupComponent(), panel);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->inherits("QMenu")) w->hide();
}

TEST_F(ControlOps, F1AsksTheFormForTheNearestHelpTopic) {
  TForm* form = makeForm();
  auto* panel = place<TPanel>(form, 0, 0, 200, 100);
  auto* edit = place<TEdit>(panel, 5, 5, 80, 20);
  std::vector<std::string> log;
  form->OnHelp = [&](int command, int data, bool& call_help) {
    log.push_back(std::to_string(command) + " " + std::to_string(data) + " " + std::to_string(call_help));
    return true;
  };
  QApplication::setActiveWindow(form->widget());
  edit->setFocus();
  QTest::keyClick(edit->widget(), Qt::Key_F1);  // no topic anywhere: no help
  panel->setHelpContext(12);
  QTest::keyClick(edit->widget(), Qt::Key_F1);
  edit->setHelpContext(7);
  QTest::keyClick(edit->widget(), Qt::Key_F1);
  EXPECT_EQ(log, (std::vector<std::string>{"1 12 1", "1 7 1"}));
}

// Mouse events for the drag's source, at `local` of the control `over`.
void mouseAt(TControl* source, QEvent::Type type, TControl* over, QPoint local, Qt::MouseButton button,
             Qt::MouseButtons buttons) {
  const QPoint global = over->widget()->mapToGlobal(local);
  QMouseEvent e(type, source->widget()->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
  QApplication::sendEvent(source->widget(), &e);
}

TEST_F(ControlOps, ADraggedControlDropsOnlyWhereItIsAccepted) {
  TForm* form = makeForm(400, 200);
  auto* source = label(form, 10, 10, 40, 20);
  source->setDragMode(dmAutomatic);
  auto* target = place<TPanel>(form, 100, 10, 80, 80);
  auto* refuser = place<TPanel>(form, 200, 10, 80, 80);
  std::vector<std::string> log;
  auto over = [&](const char* who, bool answer) {
    return [&log, who, answer, source](TComponent*, TComponent* src, int x, int y, int state, bool& accept) {
      std::string line = std::string(who) + " " + enumToText(dragStateType(), state);
      if (state != dsDragLeave) line += " " + std::to_string(x) + "," + std::to_string(y);
      log.push_back(line + (src == source ? "" : " (another source)"));
      accept = answer;
    };
  };
  target->OnDragOver = over("target", true);
  refuser->OnDragOver = over("refuser", false);
  target->OnDragDrop = [&](TComponent*, TComponent* src, int x, int y) {
    log.push_back("drop " + std::to_string(x) + "," + std::to_string(y) + (src == source ? "" : " (another source)"));
  };
  refuser->OnDragDrop = [&](TComponent*, TComponent*, int, int) { log.push_back("dropped on the refuser"); };
  source->OnEndDrag = [&](TComponent*, TComponent* t, int x, int y) {
    log.push_back(std::string("end ") + (t == target ? "target " : t ? "other " : "none ") + std::to_string(x) + "," +
                  std::to_string(y));
  };
  source->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { log.push_back("mouse down"); };
  source->OnClick = [&](TComponent*) { log.push_back("click"); };
  const auto move = QEvent::MouseMove;
  mouseAt(source, QEvent::MouseButtonPress, source, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouseAt(source, move, source, {7, 5}, Qt::NoButton, Qt::LeftButton);  // within the threshold
  EXPECT_FALSE(source->dragging());
  mouseAt(source, move, refuser, {5, 5}, Qt::NoButton, Qt::LeftButton);
  EXPECT_TRUE(source->dragging());
  mouseAt(source, move, target, {5, 6}, Qt::NoButton, Qt::LeftButton);
  mouseAt(source, move, target, {6, 6}, Qt::NoButton, Qt::LeftButton);
  mouseAt(source, QEvent::MouseButtonRelease, target, {6, 6}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(source->dragging());
  // Released over the refuser: nothing dropped.
  mouseAt(source, QEvent::MouseButtonPress, source, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouseAt(source, move, refuser, {9, 9}, Qt::NoButton, Qt::LeftButton);
  mouseAt(source, QEvent::MouseButtonRelease, refuser, {9, 9}, Qt::LeftButton, Qt::NoButton);
  const QPoint screen = refuser->widget()->mapToGlobal(QPoint(9, 9));
  EXPECT_EQ(log, (std::vector<std::string>{"refuser dsDragEnter 5,5", "refuser dsDragLeave", "target dsDragEnter 5,6",
                                           "target dsDragMove 6,6", "drop 6,6", "end target 6,6",
                                           "refuser dsDragEnter 9,9",
                                           "end none " + std::to_string(screen.x()) + "," + std::to_string(screen.y())}));
}

TEST_F(ControlOps, AControlFreedDuringItsDragLeavesNothingBehind) {
  TForm* form = makeForm(400, 200);
  auto* source = label(form, 10, 10, 40, 20);
  source->setDragMode(dmAutomatic);
  auto* target = place<TPanel>(form, 100, 10, 80, 80);
  int drops = 0;
  target->OnDragOver = [&](TComponent*, TComponent*, int, int, int, bool&) {};
  target->OnDragDrop = [&](TComponent*, TComponent* src, int, int) {
    ++drops;
    delete src;  // the source goes in the target's handler: no OnEndDrag reaches it
  };
  source->OnEndDrag = [&](TComponent*, TComponent*, int, int) { ADD_FAILURE() << "a freed source was told"; };
  mouseAt(source, QEvent::MouseButtonPress, source, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouseAt(source, QEvent::MouseMove, target, {5, 5}, Qt::NoButton, Qt::LeftButton);
  QWidget* source_widget = source->widget();
  const QPoint global = target->widget()->mapToGlobal(QPoint(5, 5));
  QMouseEvent release(QEvent::MouseButtonRelease, source_widget->mapFromGlobal(global), global, Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(source_widget, &release);
  EXPECT_EQ(drops, 1);
  // A target freed while the mouse is over it: the drag goes on over no control.
  auto* source2 = label(form, 10, 40, 40, 20);
  source2->setDragMode(dmAutomatic);
  auto* target2 = place<TPanel>(form, 200, 10, 80, 80);
  target2->OnDragOver = [&](TComponent*, TComponent*, int, int, int, bool&) {};
  mouseAt(source2, QEvent::MouseButtonPress, source2, {5, 5}, Qt::LeftButton, Qt::LeftButton);
  mouseAt(source2, QEvent::MouseMove, target2, {5, 5}, Qt::NoButton, Qt::LeftButton);
  delete target2;
  mouseAt(source2, QEvent::MouseButtonRelease, source2, {5, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(source2->dragging());
  QApplication::processEvents();
}

}  // namespace
}  // namespace kgui
