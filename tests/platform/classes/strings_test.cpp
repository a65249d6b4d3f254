// String lists: sorting, duplicates, case, text forms and change notification.
#include <gtest/gtest.h>

#include "platform/classes/strings.h"

namespace kgui {
namespace {

std::vector<std::string> items(const TStrings& s) { return s.toVector(); }

TEST(StringList, SortedListsKeepOrderAndHonourDuplicates) {
  TStringList s;
  s.setSorted(true);
  for (const char* t : {"pear", "Apple", "fig", "apple"}) s.add(t);
  // Case-insensitive by default: "apple" is a duplicate of "Apple" and is ignored.
  EXPECT_EQ(items(s), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(s.indexOf("PEAR"), 2);
  s.setDuplicates(dupAccept);
  EXPECT_EQ(s.add("apple"), 0);
  EXPECT_EQ(s.count(), 4);
  s.setDuplicates(dupError);
  EXPECT_THROW(s.add("FIG"), EPropertyError);
  EXPECT_THROW(s.insert(0, "x"), EPropertyError);
  s.setCaseSensitive(true);
  int index = -1;
  EXPECT_FALSE(s.find("Fig", index));
  EXPECT_EQ(items(s), (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
}

TEST(StringList, UnsortedListIndexErrorsUseThePlatformMessage) {
  TStringList s;
  s.add("a");
  try {
    s.get(1);
    ADD_FAILURE();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(s.remove(-1), EPropertyError);
  s.insert(1, "b");
  s.put(0, "z");
  EXPECT_EQ(items(s), (std::vector<std::string>{"z", "b"}));
}

TEST(StringList, CommaTextQuotesAndSplitsAsThePlatform) {
  struct Case {
    std::vector<std::string> items;
    const char* text;
  } cases[] = {
      {{"a", "b c", "d,e", "say \"hi\""}, "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\""},
      {{""}, "\"\""},
      {{"a", "", "b"}, "a,,b"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    TStringList s;
    for (const auto& i : c.items) s.add(i);
    EXPECT_EQ(s.commaText(), c.text);
    TStringList back;
    back.setCommaText(c.text);
    EXPECT_EQ(items(back), c.items) << c.text;
  }
  TStringList blanks;
  blanks.setCommaText("  one two , three");  // blanks separate too
  EXPECT_EQ(items(blanks), (std::vector<std::string>{"one", "two", "three"}));
  blanks.setCommaText("a,");  // a comma that ends the text adds an empty item
  EXPECT_EQ(items(blanks), (std::vector<std::string>{"a", ""}));
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyLineEnd) {
  TStringList s;
  s.setText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(items(s), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(s.text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  s.setText("x\r\n\r\n");
  EXPECT_EQ(items(s), (std::vector<std::string>{"x", ""}));
}

TEST(StringList, ChangeNotificationIsDeferredToTheEndOfAnUpdate) {
  TStringList s;
  int changes = 0, changing = 0;
  s.OnChange = [&](TStringList*) { ++changes; };
  s.OnChanging = [&](TStringList*) { ++changing; };
  s.add("a");
  s.add("b");
  EXPECT_EQ(changes, 2);
  s.setCommaText("x,y,z");  // one update block
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(changing, 3);
  s.beginUpdate();
  s.remove(0);
  s.clear();
  EXPECT_EQ(changes, 3);
  s.endUpdate();
  EXPECT_EQ(changes, 4);
}

TEST(StringList, AssignCopiesAnyTStrings) {
  std::vector<std::string> backing{"p", "q"};
  TCallbackStrings view("TListBoxStrings",
                        {[&] { return static_cast<int>(backing.size()); },
                         [&](int i) { return backing[static_cast<size_t>(i)]; }, nullptr,
                         [&](int i, const std::string& v) { backing.insert(backing.begin() + i, v); },
                         [&](int i) { backing.erase(backing.begin() + i); }, [&] { backing.clear(); }});
  TStringList s;
  s.assign(view);
  EXPECT_EQ(items(s), backing);
  s.add("r");
  view.assign(s);
  EXPECT_EQ(backing, (std::vector<std::string>{"p", "q", "r"}));
  view.put(0, "P");  // no put operation: delete and insert
  EXPECT_EQ(backing[0], "P");
  EXPECT_EQ(view.className(), "TListBoxStrings");
  EXPECT_TRUE(view.inheritsFrom("TStrings"));
}

}  // namespace
}  // namespace kgui
