// Events of the GUI wrappers when the user acts: the platform's order of mouse, key, change
// and focus events, vetoes through by-reference arguments, and errors and exit in handlers
// run by the event loop. Also the caster: its table order and one wrapper per component.
#include <gtest/gtest.h>

#include <algorithm>
#include <QApplication>
#include <QHelpEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "platform/gui/gui_fixture.h"
#include "platform/classes/class_registry.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/stream_classes.h"
#include "script/builtins/builtins.h"
#include "script/core/host.h"
#include "script/gui/vcl_objects.h"
#include "script/gui/vcl_runner.h"
#include "script/gui/vcl_wrapper.h"

namespace kestrin::script {
namespace {

using testing::DriverStep;
using testing::RunVclScript;
using testing::Widget;
using VclEvents = kgui::GuiTest;

DriverStep Click(const char* name) {
  return [name] {
    if (QWidget* w = Widget(name)) QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  };
}
// As the user's: a click, then the second press arrives as a double click.
DriverStep DoubleClick(const char* name) {
  return [name] {
    QWidget* w = Widget(name);
    if (!w) return;
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  };
}
// A click on tab `index` of the named tab or page control.
DriverStep ClickTab(const char* name, int index) {
  return [name, index] {
    QWidget* w = Widget(name);
    auto* bar = w ? w->findChild<QTabBar*>() : nullptr;
    ASSERT_TRUE(bar && index < bar->count()) << name;
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
  };
}
// The left button pressed at (1, 5), the mouse moved by each of dx in turn, released.
DriverStep Drag(const char* name, std::vector<int> dx) {
  return [name, dx] {
    QWidget* w = Widget(name);
    if (!w) return;
    auto send = [w](QEvent::Type type, int x, Qt::MouseButtons buttons) {
      const QPoint local(x, 5);
      QMouseEvent e(type, local, w->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    buttons, Qt::NoModifier);
      QApplication::sendEvent(w, &e);
    };
    // Each event's position is taken where the widget is then: it moves with the drag.
    const int start_global = w->mapToGlobal(QPoint(1, 5)).x();
    send(QEvent::MouseButtonPress, 1, Qt::LeftButton);
    for (int d : dx) send(QEvent::MouseMove, start_global + d - w->mapToGlobal(QPoint(0, 0)).x(), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start_global + dx.back() - w->mapToGlobal(QPoint(0, 0)).x(), Qt::NoButton);
  };
}
// A click on the named control's child widget of that object name.
DriverStep ClickChild(const char* name, const char* child) {
  return [name, child] {
    QWidget* w = Widget(name);
    auto* c = w ? w->findChild<QWidget*>(child) : nullptr;
    ASSERT_TRUE(c) << name << " " << child;
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  };
}
// The hint the user asks for by resting the mouse on the control.
DriverStep Hint(const char* name) {
  return [name] {
    QWidget* w = Widget(name);
    if (!w) return;
    QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
  };
}
DriverStep Repaint(const char* name) {
  return [name] {
    if (QWidget* w = Widget(name)) w->repaint();
  };
}
DriverStep Type(const char* name, const char* text) {
  return [name, text] {
    if (QWidget* w = Widget(name)) QTest::keyClicks(w, text);
  };
}
DriverStep Key(const char* name, Qt::Key key) {
  return [name, key] {
    if (QWidget* w = Widget(name)) QTest::keyClick(w, key);
  };
}
DriverStep Focus(const char* name) {
  return [name] {
    QWidget* w = Widget(name);
    if (!w) return;
    QApplication::setActiveWindow(w->window());
    w->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
  };
}

// The wheel turned by delta over the named widget, Shift held.
DriverStep Wheel(const char* name, int delta) {
  return [name, delta] {
    QWidget* w = Widget(name);
    if (!w) return;
    const QPointF local(5, 5);
    QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::ShiftModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
  };
}
// The context menu asked for at (7, 8) of the named widget, by the mouse.
DriverStep ContextMenu(const char* name) {
  return [name] {
    QWidget* w = Widget(name);
    if (!w) return;
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(7, 8), w->mapToGlobal(QPoint(7, 8)));
    QApplication::sendEvent(w, &e);
  };
}

// The named control pressed, dragged onto the other one and released there.
DriverStep DragOnto(const char* source, const char* target) {
  return [source, target] {
    QWidget* s = Widget(source);
    QWidget* t = Widget(target);
    if (!s || !t) return;
    auto send = [s](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
      QMouseEvent e(type, s->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
      QApplication::sendEvent(s, &e);
    };
    send(QEvent::MouseButtonPress, s->mapToGlobal(QPoint(3, 3)), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, t->mapToGlobal(QPoint(4, 5)), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, t->mapToGlobal(QPoint(6, 7)), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, t->mapToGlobal(QPoint(6, 7)), Qt::LeftButton, Qt::NoButton);
  };
}

// A shown form; the case's controls; the loop that the driver's steps run in.
std::string EventScript(const std::string& body) {
  return "var f = new VCLForm(); f.setBounds(10, 10, 300, 200);\n" + body + "\nf.show();\neventLoop();\n";
}

struct EventCase {
  const char* what;
  std::string body;
  std::vector<DriverStep> steps;
  std::string expected;
};

TEST_F(VclEvents, TheUsersActionsFireInThePlatformsOrder) {
  const std::string mouse =
      "function down(s, b, shift, x, y) { println('MouseDown ' + b + ' ' + shift); }\n"
      "function up(s, b, shift, x, y) { println('MouseUp ' + b); }\n";
  const std::string keys =
      "var e = new VCLEdit(f); e.Name = 'E';\n"
      "e.onKeyDown = function (s, key, shift) { println('KeyDown ' + key.number); };\n"
      "e.onKeyPress = function (s, key) { println('KeyPress ' + key.text); };\n"
      "e.onKeyUp = function (s, key, shift) { println('KeyUp ' + key.number); };\n"
      "e.onChange = function (s) { println('Change ' + s.Text); };\n";
  const EventCase cases[] = {
      {"a click", mouse + "var b = new VCLButton(f); b.Name = 'B';\n"
                  "b.onMouseDown = down; b.onMouseUp = up; b.onClick = function () { println('Click'); };",
       {Click("B")}, "MouseDown mbLeft ssLeft\nClick\nMouseUp mbLeft\n"},
      {"a double click", mouse + "var p = new VCLPanel(f); p.Name = 'P';\n"
                         "p.onMouseDown = down; p.onMouseUp = up;\n"
                         "p.onClick = function () { println('Click'); };\n"
                         "p.onDblClick = function () { println('DblClick'); };",
       {DoubleClick("P")},
       "MouseDown mbLeft ssLeft\nClick\nMouseUp mbLeft\nDblClick\nMouseDown mbLeft ssLeft,ssDouble\nMouseUp mbLeft\n"},
      {"typing", keys, {Type("E", "ab")},
       "KeyDown 65\nKeyPress a\nChange a\nKeyUp 65\nKeyDown 66\nKeyPress b\nChange ab\nKeyUp 66\n"},
      {"a key press answered with no key",
       "var e = new VCLEdit(f); e.Name = 'E';\n"
       "e.onKeyPress = function (s, key) { if (key.text == 'b') key.text = ''; };\n"
       "e.onChange = function (s) { println('Change ' + s.Text); };",
       {Type("E", "abc")}, "Change a\nChange ac\n"},
      {"a key down answered with key 0",
       "var e = new VCLEdit(f); e.Name = 'E'; e.Text = 'abc'; e.SelStart = 0;\n"
       "e.onKeyDown = function (s, key) { if (key.number == 46) key.number = 0; };\n"
       "e.onChange = function (s) { println('Change ' + s.Text); };",
       {Key("E", Qt::Key_Delete), Type("E", "x")}, "Change xabc\n"},
      {"a user's pick in a combo box",
       "var c = new VCLComboBox(f); c.Name = 'C'; c.Items.add('one'); c.Items.add('two');\n"
       "c.ItemIndex = 0;\n"
       "c.onChange = function (s) { println('Change ' + s.ItemIndex + ' ' + s.Text); };",
       {Key("C", Qt::Key_Down)}, "Change 1 two\n"},
      {"focus moving between edits",
       "var a = new VCLEdit(f); a.Name = 'A';\n"
       "var b = new VCLEdit(f); b.Name = 'B'; b.Top = 40;\n"
       "a.onEnter = function () { println('Enter A'); }; a.onExit = function () { println('Exit A'); };\n"
       "b.onEnter = function () { println('Enter B'); }; b.onExit = function () { println('Exit B'); };",
       {Focus("A"), Focus("B")}, "Enter A\nExit A\nEnter B\n"},
      {"a click on a button with an action",
       "var a = new VCLAction(); a.onExecute = function () { println('Execute'); };\n"
       "var b = new VCLButton(f); b.Name = 'B'; b.onClick = function () { println('Click'); };\n"
       "b.action = a;",
       {Click("B")}, "Execute\n"},
      {"a tab click on a page control",
       "var pc = new VCLPageControl(f); pc.Name = 'PC';\n"
       "var a = new VCLTabSheet(pc); a.Caption = 'One'; var b = new VCLTabSheet(pc); b.Caption = 'Two';\n"
       "pc.onChanging = function (s, allow) { println('Changing ' + s.ActivePageIndex + ' ' + allow.bool); };\n"
       "pc.onChange = function (s) { println('Change ' + s.ActivePageIndex); };\n"
       "b.onShow = function () { println('Show Two'); };\n"
       "pc.ActivePageIndex = 1; pc.ActivePageIndex = 0;",
       {ClickTab("PC", 1), ClickTab("PC", 1)}, "Show Two\nChanging 0 true\nShow Two\nChange 1\n"},
      {"a tab click refused in onChanging",
       "var t = new VCLTabControl(f); t.Name = 'T'; t.tabs.add('a'); t.tabs.add('b'); t.tabs.add('c');\n"
       "t.onChanging = function (s, allow) { println('Changing ' + s.TabIndex); allow.bool = s.TabIndex != 1; };\n"
       "t.onChange = function (s) { println('Change ' + s.TabIndex); };",
       {ClickTab("T", 1), ClickTab("T", 2)}, "Changing 0\nChange 1\nChanging 1\n"},
      {"an owner-draw panel painted",
       "var sb = new VCLStatusBar(f); sb.Name = 'SB';\n"
       "var a = sb.panels.add(); a.Text = 'text'; a.Width = 40;\n"
       "var b = sb.panels.add(); b.Text = 'drawn'; b.Style = 'psOwnerDraw';\n"
       "var seen = false;\n"
       "sb.onDrawPanel = function (s, panel, rect) {\n"
       "  if (!seen) println('DrawPanel ' + panel.Text + ' ' + rect.left + ' ' + (rect.right == s.Width));\n"
       "  seen = true; };",
       {Repaint("SB"), Repaint("SB")}, "DrawPanel drawn 40 true\n"},
      {"a splitter dragged",
       "var l = new VCLPanel(f); l.Align = 'alLeft'; l.Width = 100;\n"
       "var sp = new VCLSplitter(f); sp.Name = 'S'; sp.Left = 200;\n"
       "var c = new VCLPanel(f); c.Align = 'alClient';\n"
       "sp.onCanResize = function (s, size, accept) { println('CanResize ' + size.number); accept.bool = size.number != 130; };\n"
       "sp.onMoved = function () { println('Moved ' + l.Width); };",
       {Drag("S", {20, 30, 40, -300})}, "CanResize 120\nCanResize 130\nCanResize 140\nCanResize 30\nMoved 30\n"},
      {"a check changed by the user",
       "var cl = new VCLCheckListBox(f); cl.Name = 'CL'; cl.Items.add('a'); cl.Items.add('b');\n"
       "cl.ItemIndex = 1; cl.checked(0, true);\n"
       "cl.onClickCheck = function (s) { println('ClickCheck ' + s.checked(0) + ' ' + s.checked(1)); };",
       {Focus("CL"), Key("CL", Qt::Key_Space)}, "ClickCheck true true\n"},
      {"up-down buttons pressed",
       "var ud = new VCLUpDown(f); ud.Name = 'UD'; ud.Max = 2; ud.Position = 1;\n"
       "ud.onChanging = function (s, allow) { println('Changing ' + s.Position); };\n"
       "ud.onChangingEx = function (s, allow, value, direction) {\n"
       "  println('ChangingEx ' + value + ' ' + direction); allow.bool = value != 0; };\n"
       "ud.onClick = function (s, button) { println('Click ' + button + ' ' + s.Position); };",
       {ClickChild("UD", "up"), ClickChild("UD", "down"), ClickChild("UD", "down")},
       "Changing 1\nChangingEx 2 updUp\nClick btNext 2\nChanging 2\nChangingEx 1 updDown\nClick btPrev 1\n"
       "Changing 1\nChangingEx 0 updDown\n"},
      {"a find dialog answered",
       "var d = new VCLFindDialog(); d.FindText = 'ab';\n"
       "d.onFind = function (s) { println('Find ' + s.FindText + ' ' + s.Options); };\n"
       "d.onClose = function () { println('Close'); };\n"
       "println('execute ' + d.execute());",
       {Type("FindText", "c"), Click("FindNext"), Click("Cancel")},
       "execute true\nFind abc frDown,frFindNext\nClose\n"},
      {"a replace dialog answered",
       "var r = new VCLReplaceDialog(); r.Options = '[frMatchCase]'; r.FindText = 'a';\n"
       "r.onReplace = function (s) { println('Replace ' + s.FindText + ' ' + s.ReplaceText + ' ' + s.Options); };\n"
       "r.execute();",
       {Type("ReplaceText", "x"), Click("ReplaceAll"), Click("Replace")},
       "Replace a x frMatchCase,frReplaceAll\nReplace a x frMatchCase,frReplace\n"},
      {"a tool button clicked",
       mouse + "var bar = new VCLToolBar(f); var t = new VCLToolButton(bar); t.Name = 'T';\n"
       "t.onMouseDown = down; t.onMouseUp = up; t.onClick = function () { println('Click'); };",
       {Click("T")}, "MouseDown mbLeft ssLeft\nClick\nMouseUp mbLeft\n"},
      {"a tool button with an action, then without",
       "var a = new VCLAction(); a.Caption = 'Go'; a.onExecute = function (s) { println('Execute ' + s.Caption); };\n"
       "var bar = new VCLToolBar(f); bar.ShowCaptions = true;\n"
       "var t = new VCLToolButton(bar); t.Name = 'T'; t.onClick = function (s) { println('Click ' + s.Caption); };\n"
       "t.action = a;\n"
       "var u = new VCLToolButton(bar); u.Name = 'U'; u.onClick = function () { t.action = null; };",
       {Click("T"), Click("U"), Click("T")}, "Execute Go\nClick Go\n"},
      {"grouped check buttons",
       "var bar = new VCLToolBar(f); var t = [];\n"
       "for (var i = 0; i < 3; i++) { t[i] = new VCLToolButton(bar); t[i].Name = 'T' + i;\n"
       "  t[i].Style = 'tbsCheck'; t[i].Grouped = true;\n"
       "  t[i].onClick = function (s) { println(s.Name + ' ' + t[0].Down + ' ' + t[1].Down + ' ' + t[2].Down); }; }",
       {Click("T0"), Click("T2"), Click("T2")}, "T0 true false false\nT2 false false true\nT2 false false true\n"},
      {"a tool button dropping its last reference in its own click, a cool bar losing a band",
       "var cool = new VCLCoolBar(f); var bar = new VCLToolBar(cool);\n"
       "var t = new VCLToolButton(bar); t.Name = 'T'; t.onClick = function () { println('Click'); t = null; };\n"
       "var u = new VCLToolButton(bar); u.Name = 'U';\n"
       "u.onClick = function () { println('U ' + bar.ButtonCount + ' ' + u.Left + ' ' + u.Index); bar = null; };\n"
       "var p = new VCLPanel(f); p.Name = 'P'; p.onClick = function () { println('P ' + cool.Bands + ' ' + cool.ControlCount); };",
       {Click("T"), Click("U"), Click("P")}, "Click\nU 1 0 0\nP [object VCL] 0\n"},
      {"an action updated while idle and asked for its hint",
       "var a = new VCLAction(); a.Hint = 'Save'; var updates = 0;\n"
       "a.onUpdate = function (s) { if (updates++ == 0) println('Update ' + s.Hint); a.Enabled = false; };\n"
       "a.onHint = function (hint, canShow) { println('Hint ' + hint + ' ' + canShow.bool + ' ' + arguments.length);\n"
       "  hint.text = hint.text + '!'; };\n"
       "var b = new VCLButton(f); b.Name = 'B'; b.action = a;\n"
       "b.onClick = function () { println('Click (disabled)'); };",
       {Repaint("B"), Hint("B"), Click("B"), Hint("B")}, "Update Save\nHint Save true 2\nHint Save true 2\n"},
      {"the wheel turned over a panel",
       "var p = new VCLPanel(f); p.Name = 'P';\n"
       "f.onMouseWheel = function (s, shift, delta, pos, handled) {\n"
       "  println('MouseWheel ' + delta + ' ' + shift + ' ' + (s === f) + ' ' + (typeof pos.x)); };\n"
       "f.onMouseWheelDown = function (s, shift, pos, handled) { println('MouseWheelDown'); handled.bool = true; };\n"
       "f.onMouseWheelUp = function (s, shift, pos, handled) { println('MouseWheelUp'); };",
       {Wheel("P", -120), Wheel("P", 240)},
       "MouseWheel -120 ssShift true number\nMouseWheelDown\nMouseWheel 240 ssShift true number\n"
       "MouseWheelUp\nMouseWheelUp\n"},
      {"a context menu asked for",
       "var pm = new VCLPopupMenu(); pm.onPopup = function () { println('Popup'); };\n"
       "var p = new VCLPanel(f); p.Name = 'P'; p.PopupMenu = pm;\n"
       "var e = new VCLEdit(f); e.Name = 'E'; e.Top = 60;\n"
       "p.onContextPopup = function (s, pos, handled) { println('ContextPopup ' + pos.x + ',' + pos.y); };\n"
       "e.onContextPopup = function (s, pos, handled) { println('edit ContextPopup'); handled.bool = true; };",
       {ContextMenu("P"), ContextMenu("E")}, "ContextPopup 7,8\nPopup\nedit ContextPopup\n"},
      {"F1 on an edit with a help topic",
       "var e = new VCLEdit(f); e.Name = 'E'; e.HelpContext = 7;\n"
       "f.onHelp = function (command, data, callHelp) { println('Help ' + command + ' ' + data + ' ' + callHelp.bool); };",
       {Focus("E"), Key("E", Qt::Key_F1)}, "Help 1 7 true\n"},
      {"a combo box's list opened",
       "var c = new VCLComboBox(f); c.Name = 'C'; c.Items.add('one');\n"
       "c.onDropDown = function (s) { println('DropDown'); };",
       {Key("C", Qt::Key_F4)}, "DropDown\n"},
      {"a label dragged onto an edit",
       "var l = new VCLLabel(f); l.Name = 'L'; l.Caption = 'drag me'; l.DragMode = 'dmAutomatic';\n"
       "var e = new VCLEdit(f); e.Name = 'E'; e.Left = 100;\n"
       "e.onDragOver = function (s, source, x, y, state, accept) {\n"
       "  println('DragOver ' + (source === l) + ' ' + x + ',' + y + ' ' + state + ' ' + accept.bool); };\n"
       "e.onDragDrop = function (s, source, x, y) { println('DragDrop ' + source.Caption + ' ' + x + ',' + y); };\n"
       "l.onEndDrag = function (s, target, x, y) { println('EndDrag ' + (target === e) + ' ' + x + ',' + y); };\n"
       "l.onMouseDown = function () { println('MouseDown'); };",
       {DragOnto("L", "E")},
       "DragOver true 4,5 dsDragEnter true\nDragOver true 6,7 dsDragMove true\nDragDrop drag me 6,7\n"
       "EndDrag true 6,7\n"},
      {"an error in a handler run by the event loop",
       "var b = new VCLButton(f); b.Name = 'B';\n"
       "b.onClick = function () { var s = new Strings(); println(s[3]); };",
       {Click("B"), Click("B")}, "Exception: EIndexError(3) => 3\n"},
  };
  for (const EventCase& c : cases) {
    const testing::VclRun run = RunVclScript(EventScript(c.body), c.steps);
    EXPECT_EQ(run.out, c.expected) << c.what;
    EXPECT_FALSE(run.timed_out) << c.what;
  }
}

// A form built by a script with a menu, a tool bar, a status bar and a page control beside a
// panel, a splitter between them: the driver drags the splitter, then grabs the form to a
// PNG file, which must show more than a blank window.
TEST_F(VclEvents, AScriptBuiltFormDrawsItsBarsAndPages) {
  const std::string body =
      "f.Name = 'F'; f.Caption = 'Bars';\n"
      "var mm = new VCLMainMenu(); var file = new VCLMenuItem(); file.Caption = '&File'; mm.items.add(file);\n"
      "f.Menu = mm;\n"
      "var bar = new VCLToolBar(f); bar.ShowCaptions = true; bar.ButtonWidth = 50;\n"
      "for (var i = 0; i < 3; i++) new VCLToolButton(bar).Caption = 'Tool' + i;\n"
      "var sb = new VCLStatusBar(f); sb.panels.add().Text = 'Ready';\n"
      "var lp = new VCLPanel(f); lp.Align = 'alLeft'; lp.Width = 80; lp.Caption = 'Left';\n"
      "var sp = new VCLSplitter(f); sp.Name = 'S'; sp.Left = 200;\n"
      "var rp = new VCLPanel(f); rp.Align = 'alClient';\n"
      "var pc = new VCLPageControl(rp); pc.Align = 'alClient';\n"
      "new VCLTabSheet(pc).Caption = 'First'; new VCLTabSheet(pc).Caption = 'Second';\n"
      "sp.onMoved = function () { println('Moved ' + lp.Width + ' ' + (rp.Left == lp.Width + sp.Width)); };\n";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("form.png");
  QSize form_size;
  auto grab = [&] {
    QWidget* w = Widget("F");
    ASSERT_TRUE(w);
    form_size = w->size();
    ASSERT_TRUE(w->grab().save(png, "PNG"));
  };
  const testing::VclRun run = RunVclScript(EventScript(body), {Drag("S", {25}), grab});
  EXPECT_EQ(run.out, "Moved 105 true\n");
  const QImage shot(png);
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), form_size);
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 4u) << "a blank picture has one or two colours";
}

TEST_F(VclEvents, ExitInAHandlerEndsTheRunWithItsCode) {
  const testing::VclRun run = RunVclScript(
      EventScript("var b = new VCLButton(f); b.Name = 'B'; b.onClick = function () { println('bye'); exit(2); };"),
      {Click("B"), Click("B")});
  EXPECT_EQ(run.out, "bye\n");
  EXPECT_EQ(run.code, 2);
}

TEST_F(VclEvents, FileDialogsAskThroughTheLibrarysDialogs) {
  const std::string script =
      "var d = new VCLOpenDialog(); d.Filter = 'Images|*.img'; d.Title = 'Pick';\n"
      "var chosen = d.execute(); println(chosen + ' [' + d.FileName + ']');\n"
      "var s = new VCLSaveDialog(); s.FileName = 'out.img';\n"
      "chosen = s.execute(); println(chosen + ' [' + s.FileName + '] ' + s.VCLclassName + ' ' + s);\n";
  dialogs_.answerFile("/data/日本.img");
  dialogs_.answerCancel();
  const testing::VclRun run = RunVclScript(script);
  EXPECT_EQ(run.out, "true [/data/日本.img]\nfalse [out.img] TSaveDialog [object VCLSaveDialog]\n");
  ASSERT_EQ(dialogs_.questions().size(), 2u);
  EXPECT_EQ(dialogs_.questions()[0].kind, "open");
  EXPECT_EQ(dialogs_.questions()[0].caption, "Pick");
  EXPECT_EQ(dialogs_.questions()[1].kind, "save");
}

TEST_F(VclEvents, TheFontDialogSetsItsFont) {
  const std::string script =
      "var d = new VCLFontDialog(); d.Font.Name = 'Courier';\n"
      "var chosen = d.execute(); println(chosen + ' ' + d.Font.Name + ' ' + d.Font.Size);\n"
      "chosen = d.execute(); println(chosen + ' ' + d.Font.Name + ' ' + d.Font.Size + ' ' + d);\n";
  dialogs_.answerFont("Serif", 14);
  dialogs_.answerCancel();
  const testing::VclRun run = RunVclScript(script);
  EXPECT_EQ(run.out, "true Serif 14\nfalse Serif 14 [object VCLFontDialog]\n");
  ASSERT_EQ(dialogs_.questions().size(), 2u);
  EXPECT_EQ(dialogs_.questions()[0].kind, "font");
  EXPECT_EQ(dialogs_.questions()[0].text, "Courier");
}

// Every row of the default caster comes before the rows of its ancestors, so a class is
// never taken for one of its ancestors.
TEST(VclCaster, EveryDescendantComesBeforeItsAncestor) {
  const auto rows = DefaultVCLCastRows();
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t j = i + 1; j < rows.size(); ++j)
      EXPECT_FALSE(rows[j].native().inheritsFrom(rows[i].native().name()))
          << rows[j].native().name() << " comes after its ancestor " << rows[i].native().name();
  EXPECT_EQ(rows.back().native().name(), "TPersistent");
}

// Every class a form description may hold is cast to a wrapper of its own kind, not to a
// generic fall-back; an action list has no wrapper of its own.
TEST(VclCaster, EveryStreamClassHasItsOwnWrapper) {
  kgui::RegisterVCLStreamClasses();
  const auto rows = DefaultVCLCastRows();
  const std::string generic[] = {"TWinControl", "TControl", "TComponent", "TPersistent"};
  for (const std::string& name : kgui::stream_classes().names()) {
    if (name == "TActionList") continue;
    const kgui::ClassInfo& info = *kgui::stream_classes().find(name)->info;
    auto row = std::find_if(rows.begin(), rows.end(), [&](const VCLCastRow& r) { return info.inheritsFrom(r.native().name()); });
    ASSERT_NE(row, rows.end()) << name;
    EXPECT_EQ(std::count(std::begin(generic), std::end(generic), row->native().name()), 0) << name;
  }
}

TEST_F(VclEvents, OneWrapperPerComponentWhateverItsTag) {
  TJHost host(RegisterBuiltins, {ImportHostLibrariesWithGui});
  BaseEngine* engine = &host.Engine();
  {
    kgui::TButton button(nullptr);
    button.setTag(5);  // as a form file sets it: never taken for a wrapper
    const Value first = CastVCL(&button, engine);
    auto* w = dynamic_cast<TJVCLPersistent*>(first.object());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ClassName().view(), "VCLButton");
    EXPECT_EQ(CastVCL(&button, engine).object(), w);
    Value tag;
    ASSERT_TRUE(w->GetValueImpl("Tag", tag, nullptr));
    EXPECT_EQ(ValueToInteger(tag), 5);
    EXPECT_EQ(button.wrapperLink(), w);
  }  // the button goes first: its wrapper lets go of it
  host.Clear();
}

}  // namespace
}  // namespace kestrin::script
