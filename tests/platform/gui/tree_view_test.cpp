// The tree view's item model under Qt's model tester while nodes are added, inserted,
// moved, sorted, deleted, loaded and cleared; the item ids and the window-handle table they
// share; and the nodes in absolute order against a plain walk of the tree.
#include <QAbstractItemModelTester>
#include <QTreeView>
#include <filesystem>

#include "base/text_file.h"
#include "platform/classes/handles.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/tree_view.h"

namespace kgui {
namespace {

using TreeViewModel = GuiTest;

// "level:text" of every node by absolute index, each checked against its own account.
std::string Outline(TTreeNodes& nodes) {
  std::string out;
  for (int i = 0; i < nodes.count(); ++i) {
    TTreeNode* n = nodes.item(i);
    EXPECT_EQ(n->absoluteIndex(), i);
    EXPECT_EQ(nodes.getNode(n->itemId()), n);
    TTreeNode* sibling = n->parent() ? n->parent()->getFirstChild() : nodes.getFirstNode();
    for (int k = 0; k < n->index() && sibling; ++k) sibling = sibling->getNextSibling();
    EXPECT_EQ(sibling, n);
    out += (out.empty() ? "" : " ") + std::to_string(n->level()) + ":" + n->text();
  }
  return out;
}

TEST_F(TreeViewModel, EveryChangeKeepsTheModelConsistent) {
  TForm* form = makeForm();
  TTreeView tree(nullptr);
  tree.setParent(form);
  auto* view = static_cast<QTreeView*>(tree.widget());
  QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  TTreeNodes& nodes = *tree.items();
  TTreeNode* a = nodes.add(nullptr, "a");
  TTreeNode* b = nodes.addChild(a, "b");
  nodes.addChild(b, "c");
  TTreeNode* d = nodes.addFirst(a, "d");
  nodes.insert(b, "e");
  nodes.addChildFirst(a, "f");
  EXPECT_EQ(Outline(nodes), "0:d 0:a 1:f 1:e 1:b 2:c");
  a->expand(true);
  tree.setSelected(b);
  d->moveTo(b, naAddChild);
  EXPECT_EQ(Outline(nodes), "0:a 1:f 1:e 1:b 2:c 2:d");
  EXPECT_EQ(tree.selected(), b);
  b->moveTo(nullptr, naAddFirst);
  EXPECT_EQ(Outline(nodes), "0:b 1:c 1:d 0:a 1:f 1:e");
  tree.alphaSort();
  EXPECT_EQ(Outline(nodes), "0:a 1:e 1:f 0:b 1:c 1:d");
  EXPECT_EQ(tree.selected(), b);
  const uint32_t gone = b->itemId();
  std::vector<std::string> deleted;
  tree.deletionHook = [&](TTreeNode* n) { deleted.push_back(n->text()); };
  b->remove();
  EXPECT_EQ(deleted, (std::vector<std::string>{"c", "d", "b"}));
  EXPECT_EQ(nodes.getNode(gone), nullptr);
  EXPECT_EQ(Outline(nodes), "0:a 1:e 1:f");
  // A new node may reuse the slot; the old id still finds nothing.
  TTreeNode* g = nodes.add(nullptr, "g");
  EXPECT_NE(g->itemId(), gone);
  EXPECT_EQ(nodes.getNode(gone), nullptr);
  nodes.assignLines({{0, "x"}, {1, "y"}, {2, "z"}, {0, "w"}});
  EXPECT_EQ(Outline(nodes), "0:x 1:y 2:z 0:w");
  nodes.clear();
  EXPECT_EQ(nodes.count(), 0);
  EXPECT_EQ(deleted.size(), 3u + 4u + 4u);
  tree.deletionHook = nullptr;
}

TEST_F(TreeViewModel, TheViewsDestructionRunsTheHookForEveryNode) {
  std::vector<std::string> deleted;
  {
    TTreeView tree(nullptr);
    tree.items()->assignLines({{0, "a"}, {1, "b"}, {0, "c"}});
    tree.deletionHook = [&](TTreeNode* n) { deleted.push_back(n->text() + (tree.closing() ? "!" : "")); };
  }
  EXPECT_EQ(deleted, (std::vector<std::string>{"b!", "a!", "c!"}));
}

TEST_F(TreeViewModel, AFailedLoadChangesNothing) {
  TTreeView tree(nullptr);
  tree.items()->assignLines({{0, "kept"}});
  const std::string path = (std::filesystem::temp_directory_path() / "kestrin_tree_view_test.txt").string();
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {{"a\r\n\t\tb\r\n", "Invalid level (2) for item \"b\""},
                        {" a\r\n", "Invalid level (1) for item \"a\""}};
  for (const Case& c : cases) {
    ASSERT_TRUE(kestrin::write_file_bytes(path, c.text));
    try {
      tree.loadFromFile(path);
      ADD_FAILURE() << c.text;
    } catch (const EPropertyError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
    EXPECT_EQ(Outline(*tree.items()), "0:kept");
  }
  std::filesystem::remove(path);
  EXPECT_THROW(tree.loadFromFile(path), EPropertyError);
  EXPECT_EQ(Outline(*tree.items()), "0:kept");
}

// Item ids come from the window-handle table: a number naming a control, another tree's
// node or a node of a tree already gone finds nothing; nodes take an entry only once their
// id is read (never for the view's own walks over them) and give it back when they go.
TEST_F(TreeViewModel, ItemIdsShareTheWindowHandleNumbering) {
  HandleTable& handles = windowHandles();
  const size_t before = handles.size();
  uint32_t gone_tree_node = 0;
  {
    TTreeView gone(nullptr);
    gone.items()->assignLines({{0, "a"}, {1, "b"}});
    gone_tree_node = gone.items()->getFirstNode()->itemId();
  }
  EXPECT_EQ(handles.size(), before);
  TTreeView tree(nullptr), other(nullptr);
  TTreeNodes& nodes = *tree.items();
  const size_t with_views = handles.size();
  std::vector<TreeTextLine> lines;
  for (int i = 0; i < 1000; ++i) lines.push_back({i % 3, "n" + std::to_string(i)});
  nodes.assignLines(lines);
  other.items()->assignLines({{0, "x"}});
  EXPECT_EQ(handles.size(), with_views);
  // Expanding, collapsing and sorting run handlers over every node without giving ids.
  tree.fullExpand();
  tree.fullCollapse();
  tree.alphaSort();
  EXPECT_EQ(handles.size(), with_views);
  TTreeNode* mine = nodes.item(500);
  const uint32_t id = mine->itemId();
  EXPECT_EQ(nodes.getNode(id), mine);
  EXPECT_EQ(mine->itemId(), id);
  EXPECT_EQ(handles.size(), with_views + 1);
  struct Foreign {
    const char* what;
    uint32_t id;
  };
  const Foreign foreign[] = {{"the view's own handle", tree.handle()},
                             {"another view's handle", other.handle()},
                             {"another view's node", other.items()->getFirstNode()->itemId()},
                             {"a node of a view that is gone", gone_tree_node},
                             {"no id", 0},
                             {"a number never given", 0xFFFFFFFCu}};
  for (const Foreign& f : foreign) {
    EXPECT_NE(f.id, id) << f.what;
    EXPECT_EQ(nodes.getNode(f.id), nullptr) << f.what;
  }
  EXPECT_EQ(other.items()->getNode(id), nullptr);
  const size_t with_foreign = handles.size();
  mine->remove();
  EXPECT_EQ(nodes.getNode(id), nullptr);
  EXPECT_EQ(handles.size(), with_foreign - 1);
  nodes.clear();
  EXPECT_EQ(handles.size(), with_foreign - 1);
}

}  // namespace
}  // namespace kgui
