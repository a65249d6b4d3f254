// Dialog components through the dialogs interface, the scripted fake, and filter handling.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>

#include "gui_fixture.h"
#include "platform/gui/qt_dialogs.h"

namespace kgui {
namespace {

using DialogsTest = GuiTest;

TEST(Filters, ParseThePlatformSyntax) {
  auto f = parseFilter("Image files|*.img;*.IPF|All|*.*");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].description, "Image files");
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.img", "*.IPF"}));
  EXPECT_EQ(f[1].patterns, std::vector<std::string>{"*.*"});
  EXPECT_TRUE(parseFilter("").empty());
  EXPECT_EQ(qtNameFilters("Text|*.t|All|*.*"), (QStringList{"Text (*.t)", "All (*)"}));
}

TEST(Filters, PatternsMatchWithoutCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  } cases[] = {{"scan01.IMG", "*.img", true},  {"scan01.img", "*.IMG", true},
               {"scan01.img.bak", "*.img", false}, {"a.b", "*.*", true},
               {"noext", "*.*", true},          {"abc.tif", "a?c.*", true},
               {"ac.tif", "a?c.*", false},      {"x.kes", "*.t", false}};
  for (const auto& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.match) << c.name;
}

TEST_F(DialogsTest, OpenDialogTakesTheScriptedAnswer) {
  TOpenDialog open(nullptr);
  open.setName("OpenDialog1");
  open.setFilter("Parameter|*.kes|All|*.*");
  open.setInitialDir("/data/images");
  open.setFilterIndex(2);
  dialogs_.answerFile("/data/images/default.kes", 1);
  dialogs_.answerCancel();
  ASSERT_TRUE(open.execute());
  EXPECT_EQ(open.fileName(), "/data/images/default.kes");
  EXPECT_EQ(open.filterIndex(), 1);
  EXPECT_EQ(open.files()->count(), 1);
  EXPECT_FALSE(open.execute());  // cancelled: the name stays
  EXPECT_EQ(open.fileName(), "/data/images/default.kes");
  ASSERT_EQ(dialogs_.questions().size(), 2u);
  EXPECT_EQ(dialogs_.questions()[0].kind, "open");
  EXPECT_EQ(dialogs_.questions()[0].text, "Parameter|*.kes|All|*.*");
  EXPECT_EQ(dialogs_.questions()[0].type, 2);
  EXPECT_EQ(dialogs_.questions()[0].initial, "/data/images");
  EXPECT_EQ(propertyText(open, *open.classInfo().findProperty("Options")),
            "[ofHideReadOnly, ofEnableSizing]");
}

TEST_F(DialogsTest, SaveColourFolderAndPrintAskThroughTheSameInterface) {
  TSaveDialog save(nullptr);
  dialogs_.answerFile("/tmp/out.xy");
  EXPECT_TRUE(save.execute());
  TColorDialog colour(nullptr);
  dialogs_.answerColor(0x804000);
  EXPECT_TRUE(colour.execute());
  EXPECT_EQ(colour.color(), 0x804000);
  std::string dir = "/start";
  dialogs_.answerDirectory("/chosen");
  EXPECT_TRUE(dialogs().selectDirectory("Output folder", dir));
  EXPECT_EQ(dir, "/chosen");
  TPrintDialog print(nullptr);
  dialogs_.answerCancel();
  EXPECT_FALSE(print.execute());
  std::vector<std::string> kinds;
  for (const auto& q : dialogs_.questions()) kinds.push_back(q.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"save", "color", "directory", "print"}));
  EXPECT_EQ(dialogs_.unanswered(), 0);
}

TEST_F(DialogsTest, ConfirmationsTakeTheQueuedButtonAndOkBoxesNeedNoAnswer) {
  dialogs_.answerModal(mrNo);
  EXPECT_EQ(messageDlg("Use current CenterX,Y for Initial?", mtConfirmation,
                       (1u << mbYes) | (1u << mbNo)),
            mrNo);
  showMessage("KES for Windows. Version 2014.11.20");
  EXPECT_EQ(messageDlg("Overwrite?", mtConfirmation, (1u << mbYes) | (1u << mbNo)), mrCancel);
  EXPECT_EQ(dialogs_.unanswered(), 1);  // the last question had no answer queued
  ASSERT_EQ(dialogs_.questions().size(), 3u);
  EXPECT_EQ(dialogs_.questions()[1].text, "KES for Windows. Version 2014.11.20");
  EXPECT_EQ(dialogs_.questions()[1].caption, "Kestrin");
}

TEST_F(DialogsTest, QtFileDialogFiltersIgnoreCase) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"SCAN.IMG", "scan2.img", "notes.txt"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  TOpenDialog open(nullptr);
  open.setFilter("Image files|*.img|Text|*.txt");
  open.setInitialDir(dir.path().toStdString());
  QFileDialog dlg;
  configureFileDialog(dlg, open, false);
  EXPECT_TRUE(dlg.testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(dlg.selectedNameFilter(), "Image files (*.img)");
  auto* model = dlg.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  QModelIndex root = model->index(dir.path());
  ASSERT_TRUE(testApp().waitUntil([&] { return model->rowCount(root) >= 2; }, 5000));
  std::vector<std::string> shown;
  for (int r = 0; r < model->rowCount(root); ++r) {
    QModelIndex i = model->index(r, 0, root);
    if (model->flags(i) & Qt::ItemIsEnabled) shown.push_back(model->fileName(i).toStdString());
  }
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::string>{"SCAN.IMG", "scan2.img"}));
}

// With no remembered folder (first use, or after a cancel) a dialog opens in the process's
// current folder, so a name typed there lands beside the user's files, not at the root.
TEST_F(DialogsTest, NoInitialFolderStartsInTheCurrentFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  TOpenDialog save(nullptr);
  save.setFilter("kes parameter file (*.kes)|*.KES");
  save.setFileName("default.kes");
  QFileDialog dlg;
  configureFileDialog(dlg, save, true);
  auto* model = dlg.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  // The folder the dialog lists (an empty root path would list the file-system root).
  EXPECT_FALSE(model->rootPath().isEmpty());
  EXPECT_EQ(QDir(model->rootPath()).canonicalPath(), QDir(dir.path()).canonicalPath());
  QDir::setCurrent(previous);
}

}  // namespace
}  // namespace kgui
