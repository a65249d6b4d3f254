// List views driven as a user drives them: an item clicked ("onSelectItem"), a column
// header clicked ("onColumnClick"), and in-place editing refused by "onEditing" or with the
// text changed by "onEdited".
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "platform/gui/gui_fixture.h"
#include "script/gui/vcl_runner.h"

namespace kestrin::script {
namespace {

using testing::DriverStep;
using testing::RunVclScript;
using testing::Widget;
using ListViewScripts = kgui::GuiTest;

QTreeView* ListTree() {
  QWidget* w = Widget("LV");
  return w ? w->findChild<QTreeView*>() : nullptr;
}

DriverStep ClickListRow(int row) {
  return [row] {
    QTreeView* tree = ListTree();
    ASSERT_TRUE(tree);
    const QRect r = tree->visualRect(tree->model()->index(row, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  };
}
DriverStep ClickHeader(int section) {
  return [section] {
    QTreeView* tree = ListTree();
    ASSERT_TRUE(tree);
    QHeaderView* header = tree->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
  };
}
DriverStep StartEdit() {
  return [] {
    QTreeView* tree = ListTree();
    ASSERT_TRUE(tree);
    QTest::keyClick(tree, Qt::Key_F2);
  };
}
DriverStep TypeInListEditor(const char* text) {
  return [text] {
    QTreeView* tree = ListTree();
    auto* line = tree ? tree->findChild<QLineEdit*>() : nullptr;
    ASSERT_TRUE(line && line->isVisible());
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
  };
}

// A shown form with a report-style list view "LV" of items a, b, c and two columns.
std::string ListViewScript(const std::string& body) {
  return "var f = new VCLForm(); f.setBounds(10, 10, 300, 200);\n"
         "var lv = new VCLListView(f); lv.Name = 'LV'; lv.setBounds(0, 0, 280, 180); lv.ViewStyle = 'vsReport';\n"
         "lv.column.add().Caption = 'Name'; lv.column.add().Caption = 'Value';\n"
         "var names = ['a', 'b', 'c'];\n"
         "for (var i = 0; i < 3; i++) { var it = lv.items.add(); it.Caption = names[i]; it.SubItems.add('v' + i); }\n" +
         body + "\nf.show();\neventLoop();\n";
}

struct ListViewCase {
  const char* what;
  std::string body;
  std::vector<DriverStep> steps;
  std::string expected;
};

TEST_F(ListViewScripts, TheUsersActionsReachTheHandlers) {
  const std::string editing =
      "lv.onEditing = function (s, item, allow) { println('Editing ' + item.Caption); allow.bool = item.Caption != 'a'; };\n"
      "lv.onEdited = function (s, item, text) { println('Edited ' + item.Caption + ' ' + text.text); text.text += '!'; };\n"
      "lv.onChange = function (s, item, change) { if (change == 'ctText') println('Change ' + item.Caption + ' ' + item.Index); };\n";
  const ListViewCase cases[] = {
      {"items clicked",
       "lv.onSelectItem = function (s, item, selected) { println('SelectItem ' + item.Caption + ' ' + selected + ' ' + s.ItemIndex); };",
       {ClickListRow(1), ClickListRow(2)},
       "SelectItem b true 1\nSelectItem b false 2\nSelectItem c true 2\n"},
      {"a column header clicked",
       "lv.onColumnClick = function (s, column) { println('ColumnClick ' + column.Caption + ' ' + column.Index); };",
       {ClickHeader(1), ClickHeader(0)}, "ColumnClick Value 1\nColumnClick Name 0\n"},
      {"editing refused, then an edit whose text the handler changes", editing,
       {ClickListRow(0), StartEdit(), ClickListRow(1), StartEdit(), TypeInListEditor("xyz")},
       "Editing a\nEditing b\nEdited b xyz\nChange xyz! 1\n"},
  };
  for (const ListViewCase& c : cases) {
    const testing::VclRun run = RunVclScript(ListViewScript(c.body), c.steps);
    EXPECT_EQ(run.out, c.expected) << c.what;
    EXPECT_FALSE(run.timed_out) << c.what;
  }
}

}  // namespace
}  // namespace kestrin::script
