// The system objects over the program's UI services: the clipboard with Japanese text,
// keys pressed in a Kestrin window, and the file dialogs through the GUI library's
// dialogs (cancelled, answered, and with the filter the script gave).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "base/cp932.h"
#include "platform/gui/gui_fixture.h"
#include "script/gui/qt_script_ui.h"
#include "script/objects/object_script.h"

namespace kestrin::script {
namespace {

using QtObjects = kgui::GuiTest;

std::string Printed(const std::string& source, QtScriptUi& ui) {
  const auto run = testing::RunScript(source, &ui);
  EXPECT_EQ(run.error, "") << source;
  return run.out;
}

TEST_F(QtObjects, ClipboardCarriesJapaneseText) {
  QtScriptUi ui;
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(Printed("println(Clipboard.hasText());", ui), "false\r\n");
  EXPECT_EQ(Printed("Clipboard.asText = '日本語のテキスト'; println(Clipboard.hasText());", ui), "true\r\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "日本語のテキスト");
  QGuiApplication::clipboard()->setText(QString::fromUtf8("表ソ"));
  EXPECT_EQ(Printed("println(Clipboard.asText + ' ' + Clipboard);", ui), "表ソ 表ソ\r\n");
}

TEST_F(QtObjects, KeysPressedInAKestrinWindowAreDown) {
  QtScriptUi ui;
  kgui::TForm* form = makeForm();
  EXPECT_EQ(Printed("println(Keyboard.isDown('A'));", ui), "false\r\n");
  QTest::keyPress(form->widget(), Qt::Key_A);
  QTest::keyPress(form->widget(), Qt::Key_F5);
  EXPECT_EQ(Printed("println(Keyboard.isDown('A') + ' ' + Keyboard.isDown('a') + ' ' + Keyboard.isDown(65) + ' ' +"
                " Keyboard.isDown(116) + ' ' + Keyboard.isDown('B'));", ui),
            "true true true true false\r\n");
  QTest::keyRelease(form->widget(), Qt::Key_A);
  EXPECT_EQ(Printed("println(Keyboard.isDown('A') + ' ' + Keyboard.isDown(116));", ui), "false true\r\n");
  QTest::keyRelease(form->widget(), Qt::Key_F5);
  EXPECT_EQ(Printed("println(Mouse.lbutton + ' ' + Keyboard.shift); println(Mouse.x == Mouse.x);", ui),
            "false false\r\ntrue\r\n");
}

TEST_F(QtObjects, FileDialogsThroughTheLibrarysDialogs) {
  QtScriptUi ui;
  const std::string dialog = "var d = new Dialog('Images|*.img;*.TIF', 'All|*.*');";
  dialogs_.answerCancel();
  EXPECT_EQ(Printed(dialog + "println(isNull(d.openFile('Open', 'a.img')));", ui), "true\r\n");
  ASSERT_EQ(dialogs_.questions().size(), 1u);
  EXPECT_EQ(dialogs_.questions()[0].kind, "open");
  EXPECT_EQ(dialogs_.questions()[0].text, "Images|*.img;*.TIF|All|*.*");
  EXPECT_EQ(dialogs_.questions()[0].caption, "Open");
  dialogs_.answerCancel();
  EXPECT_EQ(Printed(dialog + "var s = d.openFiles(); println(s.count);", ui), "0\r\n");
  EXPECT_EQ(dialogs_.questions()[1].caption, "kestrin");
  dialogs_.answerFiles({"/data/日本語.img", "/data/b.img"});
  EXPECT_EQ(Printed(dialog + "println(d.openFiles('Several').commaText);", ui), "/data/日本語.img,/data/b.img\r\n");
  dialogs_.answerFile("/data/out.txt");
  EXPECT_EQ(Printed(dialog + "println(d.saveFile('Save'));", ui), "/data/out.txt\r\n");
  EXPECT_EQ(dialogs_.questions().back().kind, "save");
  dialogs_.answerDirectory("/data/フォルダ");
  EXPECT_EQ(Printed("println(Dialog.openFolder('Folder', '/data'));", ui), "/data/フォルダ\r\n");
  dialogs_.answerCancel();
  EXPECT_EQ(Printed("println(isNull(Dialog.openFolder()));", ui), "true\r\n");
  // The Qt form of the filter, as the file dialog shows it.
  EXPECT_EQ(QtFileFilter("Images|*.img;*.TIF|All|*.*"), "Images (*.img *.TIF);;All (*)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(QtFileFilter("Text| *.txt ; ;*.log"), "Text (*.txt *.log)");
}

}  // namespace
}  // namespace kestrin::script
