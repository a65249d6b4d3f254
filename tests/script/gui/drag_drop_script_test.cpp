// Drops on a script's control: acceptDrop registers once and gives drops back, and
// "onDragDropFiles" and "onDragDropText" get the screen point and the names or the text.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "platform/gui/gui_fixture.h"
#include "vcl_runner.h"

namespace kestrin::script {
namespace {

using testing::DriverStep;
using testing::RunVclScript;
using testing::Widget;
using DragDropScript = kgui::GuiTest;

// Enter, move and drop of `data` at (5, 6) of the named memo's viewport.
DriverStep DropOn(const char* name, std::shared_ptr<QMimeData> data) {
  return [name, data] {
    auto* area = qobject_cast<QAbstractScrollArea*>(Widget(name));
    ASSERT_NE(area, nullptr);
    QWidget* w = area->viewport();
    const QPoint at(5, 6);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    if (!move.isAccepted()) return;
    QDropEvent drop(at, Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
  };
}

TEST_F(DragDropScript, DropsReachTheHandlersWithScreenPoints) {
  auto files = std::make_shared<QMimeData>();
  files->setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/a b%日本.txt")), QUrl::fromLocalFile("/tmp/b")});
  auto text = std::make_shared<QMimeData>();
  text->setText(QString::fromUtf8("テキスト"));
  const testing::VclRun run = RunVclScript(
      "var f = new VCLForm(); f.setBounds(10, 10, 300, 200); f.show();\n"
      "var m = new VCLMemo(f); m.Name = 'M';\n"
      "println('before ' + m.acceptDrop);\n"
      "m.acceptDrop = true; m.acceptDrop = true;\n"
      "println('after ' + m.acceptDrop + ' ' + m.ComponentCount);\n"
      "m.onDragDropFiles = function (s, x, y, names) {\n"
      "  println((s == m) + ' ' + (x > 0) + ' ' + names.count + ' ' + names[0] + '|' + names[1]);\n"
      "  m.acceptDrop = false;\n"
      "};\n"
      "m.onDragDropText = function (s, x, y, t) { println('text ' + t + ' memo [' + m.Text + ']'); };\n"
      "eventLoop();\n",
      {DropOn("M", text), DropOn("M", files), DropOn("M", text)});
  EXPECT_EQ(run.out, "before false\nafter true 1\ntext テキスト memo []\ntrue true 2 /tmp/a b%日本.txt|/tmp/b\n");
}

// Scripts keep text in code page 932: a dropped name or text with characters it has no
// form for arrives with "?" in their place, and that name opens nothing, not even the file
// it came from ("?" is no wildcard).
TEST_F(DragDropScript, CharactersWithoutACodePageFormArriveAsQuestionMarks) {
  struct Case {
    const char* name;      // the file in the temporary folder, UTF-8
    const char* received;  // what the script gets after the folder
    bool opens;            // the script finds the file by the name it got
  };
  const Case cases[] = {
      {"日本 語.txt", "日本 語.txt", true},
      {"café.txt", "caf?.txt", false},
      {"x😀y.txt", "x?y.txt", false},
      {"éé", "??", false},
      {"α①～.txt", "α①～.txt", true},
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  auto files = std::make_shared<QMimeData>();
  QList<QUrl> urls;
  std::string expected;
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << c.name;
    urls.push_back(QUrl::fromLocalFile(path));
    expected += dir.path().toStdString() + "/" + c.received + (c.opens ? " opens\n" : " opens nothing\n");
  }
  files->setUrls(urls);
  auto text = std::make_shared<QMimeData>();
  text->setText(QString::fromUtf8("café 😀 テキスト"));
  expected += "text caf? ? テキスト\n";
  const testing::VclRun run = RunVclScript(
      "var f = new VCLForm(); f.setBounds(10, 10, 300, 200); f.show();\n"
      "var m = new VCLMemo(f); m.Name = 'M'; m.acceptDrop = true;\n"
      "m.onDragDropFiles = function (s, x, y, names) {\n"
      "  for (var i = 0; i < names.count; i++)\n"
      "    println(names[i] + (File.exists(names[i]) ? ' opens' : ' opens nothing'));\n"
      "};\n"
      "m.onDragDropText = function (s, x, y, t) { println('text ' + t); };\n"
      "eventLoop();\n",
      {DropOn("M", files), DropOn("M", text)});
  EXPECT_EQ(run.out, expected);
}

}  // namespace
}  // namespace kestrin::script
