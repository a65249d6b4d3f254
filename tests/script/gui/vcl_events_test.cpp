// Events of the GUI wrappers when the user acts: the platform's order of mouse, key, change
// and focus events, vetoes through by-reference arguments, and errors and exit in handlers
// run by the event loop. Also the caster: its table order and one wrapper per component.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "platform/gui/gui_fixture.h"
#include "platform/gui/std_controls.h"
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

// A shown form; the case's controls; the loop that the driver's steps run in.
std::string Script(const std::string& body) {
  return "var f = new VCLForm(); f.setBounds(10, 10, 300, 200);\n" + body + "\nf.show();\neventLoop();\n";
}

struct Case {
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
  const Case cases[] = {
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
      {"an error in a handler run by the event loop",
       "var b = new VCLButton(f); b.Name = 'B';\n"
       "b.onClick = function () { var s = new Strings(); println(s[3]); };",
       {Click("B"), Click("B")}, "Exception: EIndexError(3) => 3\n"},
  };
  for (const Case& c : cases) {
    const testing::VclRun run = RunVclScript(Script(c.body), c.steps);
    EXPECT_EQ(run.out, c.expected) << c.what;
    EXPECT_FALSE(run.timed_out) << c.what;
  }
}

TEST_F(VclEvents, ExitInAHandlerEndsTheRunWithItsCode) {
  const testing::VclRun run = RunVclScript(
      Script("var b = new VCLButton(f); b.Name = 'B'; b.onClick = function () { println('bye'); exit(2); };"),
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
