// Drops on a control through synthetic drag events (enter, move, drop; a bare drop is not
// delivered), and the payloads of file and text drags.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QSysInfo>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "platform/gui/drag_drop.h"
#include "platform/gui/drop_payload.h"
#include "platform/gui/form.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"

namespace kgui {
namespace {

using DragDrop = GuiTest;

struct Dropped {
  std::vector<std::string> files;
  std::string text;
  int x = -1, y = -1, calls = 0;
};

// Runs enter, move and drop at `at` over `w`; the action the move left.
Qt::DropAction Drag(QWidget* w, const QMimeData& data, Qt::DropActions offered, QPoint at = {5, 6}) {
  QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &enter);
  QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  const Qt::DropAction action = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
  if (move.isAccepted()) {
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
  }
  return action;
}

void Watch(TDragDropTarget& target, Dropped& got) {
  target.OnDragDropFiles = [&got](TComponent*, int x, int y, const std::vector<std::string>& files) {
    got.files = files, got.x = x, got.y = y, ++got.calls;
  };
  target.OnDragDropText = [&got](TComponent*, int x, int y, const std::string& text) {
    got.text = text, got.x = x, got.y = y, ++got.calls;
  };
}

std::unique_ptr<QMimeData> UrlData(const QStringList& urls) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> list;
  for (const QString& u : urls) list.push_back(QUrl(u));
  data->setUrls(list);
  return data;
}

TEST_F(DragDrop, FilesCopyTextLinksAndTheOtherPathsAsTheSourceOffers) {
  TForm* form = makeForm();
  auto* memo = new TMemo(form);
  memo->setParent(form);
  memo->setBounds(10, 10, 100, 80);
  TDragDropTarget target(form);
  target.setTarget(memo);
  target.setTarget(memo);  // the same control again changes nothing
  Dropped got;
  Watch(target, got);
  QWidget* viewport = static_cast<QAbstractScrollArea*>(memo->widget())->viewport();

  auto files = UrlData({QUrl::fromLocalFile(QString::fromUtf8("/tmp/a b%20日本.txt")).toString(),
                             "http://example.invalid/remote", QUrl::fromLocalFile("/tmp/second").toString()});
  EXPECT_EQ(Drag(viewport, *files, Qt::CopyAction | Qt::LinkAction), Qt::CopyAction);
  EXPECT_EQ(got.files, (std::vector<std::string>{"/tmp/a b%20日本.txt", "/tmp/second"}));
  const QPoint screen = viewport->mapToGlobal(QPoint(5, 6));
  EXPECT_EQ(got.x, screen.x());
  EXPECT_EQ(got.y, screen.y());

  QMimeData text;
  text.setText(QString::fromUtf8("dropped 文字"));
  got = {};
  EXPECT_EQ(Drag(viewport, text, Qt::CopyAction | Qt::LinkAction), Qt::LinkAction);
  EXPECT_EQ(got.text, "dropped 文字");
  // The memo leaves the text to the handler.
  EXPECT_EQ(memo->text(), "");
  // A source without link: its own proposal.
  got = {};
  EXPECT_EQ(Drag(viewport, text, Qt::CopyAction), Qt::CopyAction);
  EXPECT_EQ(got.calls, 1);

  // Remote URLs alone are a text drop; an empty URL list too.
  auto remote = UrlData({"http://example.invalid/x"});
  got = {};
  Drag(viewport, *remote, Qt::CopyAction);
  EXPECT_TRUE(got.files.empty());
  EXPECT_EQ(got.calls, 1);

  // Over refused: no effect, no drop.
  target.OnDragDropOver = [](TControl*, int, int, bool& accept) { accept = false; };
  got = {};
  EXPECT_EQ(Drag(viewport, *files, Qt::CopyAction), Qt::IgnoreAction);
  EXPECT_EQ(got.calls, 0);
}

TEST_F(DragDrop, TargetsOutliveTheirControlsAndGiveDropsBack) {
  TForm* form = makeForm();
  auto* edit = new TEdit(form);
  edit->setParent(form);
  {
    TDragDropTarget target(form);
    target.setTarget(edit);
    EXPECT_TRUE(edit->widget()->acceptDrops());
  }
  EXPECT_FALSE(edit->widget()->acceptDrops());
  TDragDropTarget target(form);
  target.setTarget(edit);
  delete edit;
  EXPECT_EQ(target.target(), nullptr);
  // A target the control owns goes with it.
  auto* memo = new TMemo(form);
  memo->setParent(form);
  auto* owned = new TDragDropTarget(memo);
  owned->setTarget(memo);
  delete memo;
}

TEST_F(DragDrop, FileDragPayloadsKeepOnlyExistingFiles) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kestrin_drag_drop_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "sub");
  for (const char* name : {"a.txt", "b c.txt"}) std::ofstream(dir / name) << "x";
  const std::string d = dir.string();
  auto urls = [](const std::unique_ptr<QMimeData>& data) {
    std::vector<std::string> out;
    if (data)
      for (const QUrl& u : data->urls()) out.push_back(u.toLocalFile().toStdString());
    return out;
  };
  // Full paths, the folder from the first; a missing file and a folder are left out.
  EXPECT_EQ(urls(fileDragData("", {d + "/a.txt", d + "/missing", d + "/sub", d + "/b c.txt"})),
            (std::vector<std::string>{d + "/a.txt", d + "/b c.txt"}));
  // A folder and bare names.
  EXPECT_EQ(urls(fileDragData(d, {"b c.txt", "a.txt"})), (std::vector<std::string>{d + "/b c.txt", d + "/a.txt"}));
  // A folder given with "//" in front (the same folder to the system) names no host.
  const std::unique_ptr<QMimeData> slashes = fileDragData("/" + d, {"a.txt"});
  ASSERT_NE(slashes, nullptr);
  EXPECT_EQ(slashes->urls().value(0).host(), "");
  EXPECT_EQ(urls(slashes), (std::vector<std::string>{d + "/a.txt"}));
  EXPECT_EQ(fileDragData(d + "/", {"missing"}), nullptr);
  EXPECT_EQ(fileDragData(d, {}), nullptr);
  TDragDropSource source(nullptr);
  EXPECT_FALSE(source.doDragFiles(d, {"missing"}));
  EXPECT_EQ(textDragData("t")->text().toStdString(), "t");
  std::filesystem::remove_all(dir);
}

// What a drop hands on: the files of this machine in order, else the text. A name holding a
// NUL is passed over: no file has one, and an open would cut the name short there.
TEST(DropPayload, LocalNamesInOrderElseTheText) {
  struct Case {
    QStringList uris;  // none: no URI list at all
    const char* text;  // nullptr: no text
    std::vector<std::string> files;
    std::string received_text;
  };
  const Case cases[] = {
      {{"file:///tmp/a%20b", "http://example.invalid/x", "file:///tmp/%E6%97%A5%25.txt"}, "t",
       {"/tmp/a b", "/tmp/日%.txt"}, ""},
      {{"file:///etc/passwd%00.dat", "file:///tmp/c"}, nullptr, {"/tmp/c"}, ""},
      {{"file:///etc/passwd%00.dat"}, "t", {}, "t"},
      // Other URLs alone are the drag's text: the list as text.
      {{"http://example.invalid/x"}, nullptr, {}, "http://example.invalid/x"},
      {{}, "only 文字", {}, "only 文字"},
      // Another machine's file is none of ours; this machine's is.
      {{"file://other.invalid/tmp/f", "file://localhost/tmp/%C3%A9", "file://LOCALHOST/tmp/g"}, nullptr,
       {"/tmp/é", "/tmp/g"}, ""},
  };
  for (const Case& c : cases) {
    QMimeData data;
    if (!c.uris.isEmpty()) {
      QList<QUrl> urls;
      for (const QString& u : c.uris) urls.push_back(QUrl(u));
      data.setUrls(urls);
    }
    if (c.text) data.setText(QString::fromUtf8(c.text));
    const DropPayload got = readDropPayload(&data);
    EXPECT_EQ(got.files, c.files) << c.uris.join(' ').toStdString();
    EXPECT_EQ(got.text, c.received_text) << c.uris.join(' ').toStdString();
  }
  QMimeData named;
  named.setUrls({QUrl("file://" + QSysInfo::machineHostName() + "/tmp/h")});
  EXPECT_EQ(readDropPayload(&named).files, std::vector<std::string>{"/tmp/h"});
  EXPECT_TRUE(readDropPayload(nullptr).files.empty());
}

}  // namespace
}  // namespace kgui
