// The list view's own rules, without scripts: the lifecycle hook hears of every item that
// enters or leaves by any path, the sort is stable and keeps the selection with its items
// whatever the comparison answers, changes from inside a sort are refused, and an owner-data
// list asks OnData only for the rows it needs.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/gui/gui_fixture.h"
#include "platform/gui/list_view.h"

namespace kgui {
namespace {

using ListViewTest = GuiTest;

std::vector<std::string> captions(const TListView& lv) {
  std::vector<std::string> out;
  for (int i = 0; i < lv.items()->count(); ++i) out.push_back(lv.items()->item(i)->caption());
  return out;
}

void addItems(TListView& lv, const std::vector<std::string>& texts) {
  for (const std::string& t : texts) lv.items()->add()->setCaption(t);
}

TEST_F(ListViewTest, TheLifecycleHookHearsOfEveryItemThatComesAndGoes) {
  struct Case {
    const char* path;
    void (*act)(std::unique_ptr<TListView>&);
    std::string expected;  // after the three insertions "+a +b +c"
  };
  const Case cases[] = {
      {"delete", [](std::unique_ptr<TListView>& lv) { lv->items()->remove(1); }, "-b"},
      {"an item's own delete", [](std::unique_ptr<TListView>& lv) { lv->items()->item(0)->deleteItem(); }, "-a"},
      {"clear", [](std::unique_ptr<TListView>& lv) { lv->items()->clear(); }, "-a -b -c"},
      {"the list destroyed", [](std::unique_ptr<TListView>& lv) { lv.reset(); }, "-a -b -c -"},
      {"owner data switched on", [](std::unique_ptr<TListView>& lv) { lv->setOwnerData(true); }, "-a -b -c"},
  };
  for (const Case& c : cases) {
    auto lv = std::make_unique<TListView>(nullptr);
    std::string log;
    lv->ItemLifecycle = [&log](TListItem* item, bool inserted) {
      if (!log.empty()) log += ' ';
      log += (inserted ? "+" : "-") + item->caption();
    };
    lv->OnInsert = [](TComponent*, TListItem* item) { item->setCaption(std::string(1, char('a' + item->index()))); };
    for (int i = 0; i < 3; ++i) lv->items()->add();
    // Captions are set after the hook has run: the log shows the captions of the leaving ones.
    log.clear();
    c.act(lv);
    EXPECT_EQ(log, c.expected) << c.path;
  }
}

TEST_F(ListViewTest, DeletionEventsRunBeforeTheHookAndMayEmptyTheList) {
  std::string log;  // outlives the list, whose destruction the hook still hears of
  TListView lv(nullptr);
  addItems(lv, {"a", "b", "c", "d"});
  lv.OnDeletion = [&](TComponent*, TListItem* item) {
    log += "D" + item->caption();
    if (lv.items()->count() > 0) lv.items()->clear();
  };
  lv.ItemLifecycle = [&](TListItem* item, bool) { log += "H" + item->caption(); };
  lv.items()->remove(1);
  EXPECT_EQ(log, "DbDaHaDcHcDdHdHb");  // the clear ran inside b's deletion event
  EXPECT_EQ(lv.items()->count(), 0);
  addItems(lv, {"e"});
  EXPECT_EQ(captions(lv), std::vector<std::string>{"e"});
  EXPECT_EQ(lv.items()->item(0)->index(), 0);
}

TEST_F(ListViewTest, TheSortIsStableAndTheSelectionStaysWithItsItem) {
  TListView lv(nullptr);
  lv.setCaptionOrder([](std::string_view caption, std::string& out) {
    for (char c : caption) out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    out.push_back('\0');
  });
  addItems(lv, {"b", "A", "a", "B", "c"});
  TListItem* small_a = lv.items()->item(2);
  small_a->setSelected(true);
  small_a->setFocused(true);
  ASSERT_TRUE(lv.alphaSort());
  EXPECT_EQ(captions(lv), (std::vector<std::string>{"A", "a", "b", "B", "c"}));
  EXPECT_EQ(small_a->index(), 1);
  EXPECT_TRUE(small_a->selected());
  EXPECT_TRUE(small_a->focused());
  EXPECT_EQ(lv.selected(), small_a);
  EXPECT_EQ(lv.selCount(), 1);
}

TEST_F(ListViewTest, AnyAnswerOfOnCompareLeavesEveryItemInPlaceOnce) {
  TListView lv(nullptr);
  std::vector<std::string> texts;
  for (int i = 0; i < 500; ++i) texts.push_back(std::to_string(i));
  addItems(lv, texts);
  std::mt19937 random(7);
  lv.OnCompare = [&](TComponent*, TListItem*, TListItem*, int, int& compare) {
    compare = static_cast<int>(random() % 3) - 1;
  };
  ASSERT_TRUE(lv.alphaSort());
  std::vector<std::string> after = captions(lv);
  EXPECT_EQ(std::multiset<std::string>(after.begin(), after.end()),
            std::multiset<std::string>(texts.begin(), texts.end()));
  for (int i = 0; i < lv.items()->count(); ++i) EXPECT_EQ(lv.items()->item(i)->index(), i);
}

TEST_F(ListViewTest, TheListHoldsStillWhileItSorts) {
  TListView lv(nullptr);
  addItems(lv, {"c", "b", "a"});
  int refused = 0;
  bool nested = true;
  lv.OnCompare = [&](TComponent*, TListItem* x, TListItem* y, int, int& compare) {
    try {
      lv.items()->clear();
    } catch (const EPropertyError&) {
      ++refused;
    }
    nested = lv.alphaSort();
    compare = x->caption().compare(y->caption());
  };
  ASSERT_TRUE(lv.alphaSort());
  EXPECT_GT(refused, 0);
  EXPECT_FALSE(nested);
  EXPECT_EQ(captions(lv), (std::vector<std::string>{"a", "b", "c"}));
  lv.OnCompare = nullptr;
  lv.items()->clear();
  EXPECT_EQ(lv.items()->count(), 0);
}

// An item's sub-items go from none to one to several and back by every edit; the view's
// second column shows the first of them.
TEST_F(ListViewTest, SubItemsKeepTheirOrderThroughEveryEdit) {
  struct Case {
    const char* edits;
    void (*edit)(TStrings&);
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"add one", [](TStrings& s) { s.add("a"); }, {"a"}},
      {"add two", [](TStrings& s) { s.add("a"), s.add("b"); }, {"a", "b"}},
      {"insert before the only one", [](TStrings& s) { s.add("a"), s.insert(0, "z"); }, {"z", "a"}},
      {"insert between", [](TStrings& s) { s.add("a"), s.add("c"), s.insert(1, "b"); }, {"a", "b", "c"}},
      {"replace the only one", [](TStrings& s) { s.add("a"), s.put(0, "x"); }, {"x"}},
      {"replace the second", [](TStrings& s) { s.add("a"), s.add("b"), s.put(1, "y"); }, {"a", "y"}},
      {"remove the only one", [](TStrings& s) { s.add("a"), s.remove(0); }, {}},
      {"remove down to one", [](TStrings& s) { s.add("a"), s.add("b"), s.remove(0); }, {"b"}},
      {"remove all of two, add", [](TStrings& s) { s.add("a"), s.add("b"), s.remove(1), s.remove(0), s.add("c"); },
       {"c"}},
      {"clear, add", [](TStrings& s) { s.add("a"), s.add("b"), s.clear(), s.add("c"); }, {"c"}},
      {"clear when empty", [](TStrings& s) { s.clear(); }, {}},
      {"text", [](TStrings& s) { s.setText("p\r\nq\r\n"); }, {"p", "q"}},
  };
  TListView lv(nullptr);
  lv.setViewStyle(vsReport);
  lv.columns()->add()->setCaption("Name");
  lv.columns()->add()->setCaption("Value");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edits);
    TListItem* item = lv.items()->add();
    TStrings& sub = *item->subItems();
    c.edit(sub);
    EXPECT_EQ(sub.toVector(), c.expected);
    const QString shown = lv.view()->model()->index(item->index(), 1).data().toString();
    EXPECT_EQ(shown.toStdString(), c.expected.empty() ? "" : c.expected[0]);
    TListItem* copy = lv.items()->add();
    copy->assign(*item);
    EXPECT_EQ(copy->subItems()->toVector(), c.expected);
  }
}

TEST_F(ListViewTest, SubItemIndexesOutsideTheListAreRefused) {
  TListView lv(nullptr);
  TStrings& sub = *lv.items()->add()->subItems();
  const auto refused = [&](const char* what, auto edit, const char* message) {
    SCOPED_TRACE(what);
    try {
      edit();
      ADD_FAILURE() << "accepted";
    } catch (const EPropertyError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  };
  refused("remove from none", [&] { sub.remove(0); }, "List index out of bounds (0)");
  refused("get from none", [&] { sub.get(0); }, "List index out of bounds (0)");
  sub.add("a");
  refused("get past one", [&] { sub.get(1); }, "List index out of bounds (1)");
  refused("insert past one", [&] { sub.insert(2, "x"); }, "List index out of bounds (2)");
  refused("put before one", [&] { sub.put(-1, "x"); }, "List index out of bounds (-1)");
  sub.add("b");
  refused("remove past two", [&] { sub.remove(2); }, "List index out of bounds (2)");
  EXPECT_EQ(sub.toVector(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ListViewTest, OwnerDataAsksOnlyForTheRowsShown) {
  TForm* form = makeForm(300, 300);
  std::set<int> asked;
  TListView lv(nullptr);
  lv.setParent(form);
  lv.setBounds(0, 0, 280, 280);
  lv.setViewStyle(vsReport);
  lv.columns()->add()->setCaption("Row");
  lv.setOwnerData(true);
  lv.OnData = [&](TComponent*, TListItem* item) {
    asked.insert(item->index());
    item->setCaption("row " + std::to_string(item->index()));
  };
  lv.items()->setCount(1000000);
  QApplication::processEvents();
  lv.widget()->repaint();
  ASSERT_FALSE(asked.empty());
  EXPECT_LT(*asked.rbegin(), 100);
  asked.clear();
  lv.view()->scrollToBottom();
  lv.widget()->repaint();
  ASSERT_FALSE(asked.empty());
  EXPECT_GT(*asked.begin(), 999900);
  EXPECT_LT(asked.size(), 100u);
  EXPECT_EQ(lv.items()->item(42)->caption(), "row 42");
  EXPECT_EQ(lv.items()->item(1000000), nullptr);
  EXPECT_THROW(lv.items()->add(), EPropertyError);
}

}  // namespace
}  // namespace kgui
