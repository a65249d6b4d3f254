// Tree views driven as the user drives them: a press on the branch indicator, keys and a
// double click ask onExpanding and onCollapsing before the view opens or closes the node;
// a press on a node asks onChanging; handlers that delete nodes from inside the view's own
// events leave the view consistent (these run under ASan).
#include <gtest/gtest.h>

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
using TreeViewScript = kgui::GuiTest;

QTreeView* Tree(const char* name) { return qobject_cast<QTreeView*>(Widget(name)); }

// The index of the visible row `row` of the tree.
QModelIndex Row(QTreeView* tree, int row) {
  QModelIndex at = tree->model()->index(0, 0);
  for (int i = 0; i < row && at.isValid(); ++i) at = tree->indexBelow(at);
  return at;
}

// A press and release on the branch indicator left of visible row `row`.
DriverStep ClickBranch(const char* name, int row) {
  return [name, row] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    const QRect r = tree->visualRect(Row(tree, row));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.left() - tree->indentation() / 2, r.center().y()));
  };
}
DriverStep ClickRow(const char* name, int row) {
  return [name, row] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(Row(tree, row)).center());
  };
}
DriverStep DoubleClickRow(const char* name, int row) {
  return [name, row] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    const QPoint p = tree->visualRect(Row(tree, row)).center();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, p);
  };
}
DriverStep TreeKey(const char* name, Qt::Key key) {
  return [name, key] {
    if (QTreeView* tree = Tree(name)) QTest::keyClick(tree, key);
  };
}
// Keys to the open editor of the view.
DriverStep TypeInEditor(const char* name, const char* text) {
  return [name, text] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor && editor->isVisible()) << "no editor";
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  };
}
// The text the view shows on visible row `row`.
DriverStep ExpectText(const char* name, int row, const char* text) {
  return [name, row, text] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    EXPECT_EQ(Row(tree, row).data().toString().toStdString(), text);
  };
}
// What the view shows: the number of visible rows.
DriverStep ExpectRows(const char* name, int rows) {
  return [name, rows] {
    QTreeView* tree = Tree(name);
    ASSERT_TRUE(tree);
    int shown = 0;
    for (QModelIndex at = tree->model()->index(0, 0); at.isValid(); at = tree->indexBelow(at)) ++shown;
    EXPECT_EQ(shown, rows) << name;
  };
}

std::string TreeScript(const std::string& body) {
  return "var f = new VCLForm(); f.setBounds(10, 10, 300, 300);\n"
         "var t = new VCLTreeView(f); t.Name = 'T'; t.setBounds(0, 0, 280, 280);\n"
         "var a = t.Items.add(null, 'a'); t.Items.addChild(a, 'a1'); t.Items.addChild(a, 'a2');\n"
         "var b = t.Items.add(null, 'b'); t.Items.addChild(b, 'b1');\n"
         "function text(n) { return n ? n.Text : 'null'; }\n" +
         body + "\nf.show();\neventLoop();\n";
}

const std::string kExpandLog =
    "var asked = 0;\n"
    "t.onExpanding = function (s, node, allow) { asked++; println('Expanding ' + node.Text); allow.bool = asked > 1; };\n"
    "t.onExpanded = function (s, node) { println('Expanded ' + node.Text + ' ' + node.Expanded); };\n"
    "t.onCollapsing = function (s, node, allow) { println('Collapsing ' + node.Text); };\n"
    "t.onCollapsed = function (s, node) { println('Collapsed ' + node.Text + ' ' + node.Expanded); };\n";

struct TreeViewCase {
  const char* what;
  std::string body;
  std::vector<DriverStep> steps;
  std::string expected;
};

TEST_F(TreeViewScript, VetoesComeBeforeTheViewActs) {
  const TreeViewCase cases[] = {
      {"the branch indicator, refused once", kExpandLog,
       {ClickBranch("T", 0), ExpectRows("T", 2), ClickBranch("T", 0), ExpectRows("T", 4), ClickBranch("T", 0),
        ExpectRows("T", 2)},
       "Expanding a\nExpanding a\nExpanded a true\nCollapsing a\nCollapsed a false\n"},
      {"keys", kExpandLog + "t.Selected = b; asked = 1;",
       {TreeKey("T", Qt::Key_Right), ExpectRows("T", 3), TreeKey("T", Qt::Key_Left), ExpectRows("T", 2),
        TreeKey("T", Qt::Key_Plus), ExpectRows("T", 3)},
       "Expanding b\nExpanded b true\nCollapsing b\nCollapsed b false\nExpanding b\nExpanded b true\n"},
      {"a double click", kExpandLog + "asked = 1;",
       {DoubleClickRow("T", 1), ExpectRows("T", 3)}, "Expanding b\nExpanded b true\n"},
      {"from code, refused", kExpandLog + "a.expand(false); println(a.Expanded + ' ' + a.IsVisible);",
       {ExpectRows("T", 2)}, "Expanding a\nfalse true\n"},
      {"a press on a node, refused then allowed",
       "var n = 0; t.Selected = a;\n"
       "t.onChanging = function (s, node, allow) { n++; println('Changing ' + node.Text); allow.bool = n > 1; };\n"
       "t.onChange = function (s, node) { println('Change ' + text(node) + ' ' + text(s.Selected)); };",
       {ClickRow("T", 1), ClickRow("T", 1)}, "Changing b\nChanging b\nChange b b\n"},
      {"editing with F2, refused on a, the new text changed in onEdited",
       "t.Selected = a;\n"
       "t.onEditing = function (s, node, allow) { println('Editing ' + node.Text); allow.bool = node.Text != 'a'; };\n"
       "t.onEdited = function (s, node, text) { println('Edited ' + node.Text + ' ' + text.text); text.text += '!'; };",
       {TreeKey("T", Qt::Key_F2), TreeKey("T", Qt::Key_Down), TreeKey("T", Qt::Key_F2), TypeInEditor("T", "x"),
        ExpectText("T", 1, "x!")},
       "Editing a\nEditing b\nEdited b x\n"},
  };
  for (const TreeViewCase& c : cases) {
    const testing::VclRun run = RunVclScript(TreeScript(c.body), c.steps);
    EXPECT_EQ(run.out, c.expected) << c.what;
    EXPECT_FALSE(run.timed_out) << c.what;
  }
}

TEST_F(TreeViewScript, HandlersThatDeleteNodesLeaveTheViewConsistent) {
  // The node that goes with its parent is reported gone at once (Change null); the view
  // then makes the next node current itself.
  const std::string delete_parent =
      "t.onChange = function (s, node) {\n"
      "  println('Change ' + text(node));\n"
      "  if (node && node.Level == 1) node.Parent.delete();\n"
      "};\n"
      "t.onDeletion = function (s, node) { println('Deletion ' + node.Text); };\n"
      "a.expand(false); b.expand(false);\n";
  const TreeViewCase cases[] = {
      {"a node deleting its parent when chosen from code",
       delete_parent + "a.getFirstChild().Selected = true;\n"
                       "println(t.Items.Count + ' ' + text(t.Selected) + ' ' + text(t.Items.item(0)));",
       {ExpectRows("T", 2)},
       "Change a1\nDeletion a1\nDeletion a2\nDeletion a\nChange null\n2 null b\nChange b\n"},
      {"a node deleting its parent when the user picks it",
       delete_parent, {ClickRow("T", 2), ExpectRows("T", 2), ClickRow("T", 1), ExpectRows("T", 0)},
       "Change a2\nDeletion a1\nDeletion a2\nDeletion a\nChange null\nChange b\nChange b1\nDeletion b1\nDeletion b\n"
       "Change null\n"},
      {"clear in onDeletion",
       "var once = false;\n"
       "t.onDeletion = function (s, node) { println('Deletion ' + node.Text); if (!once) { once = true; s.Items.clear(); } };\n"
       "b.delete(); println(t.Items.Count + ' ' + text(t.Items.getFirstNode()));",
       {ExpectRows("T", 0)},
       "Deletion b1\nDeletion a1\nDeletion a2\nDeletion a\nDeletion b\n0 null\n"},
  };
  for (const TreeViewCase& c : cases) {
    const testing::VclRun run = RunVclScript(TreeScript(c.body), c.steps);
    EXPECT_EQ(run.out, c.expected) << c.what;
    EXPECT_FALSE(run.timed_out) << c.what;
  }
}

}  // namespace
}  // namespace kestrin::script
