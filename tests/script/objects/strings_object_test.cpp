// Script string lists: the engine's name order (trail bytes never case-folded, duplicates
// found the same way), comma texts that read back as they were written, and platform list
// errors that stay inside the script.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "platform/classes/strings.h"
#include "script/core/hash_table.h"
#include "script/objects/strings_object.h"
#include "script/objects/object_script.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

const std::string kA = utf8_to_cp932("ア");   // 83 41
const std::string kDi = utf8_to_cp932("ヂ");  // 83 61

// The order the script objects install on their lists.
void UseEngineOrder(kgui::TStringList& list) { list.setCompare(LocaleCompareText, LocaleCompare); }

TEST(ScriptStringList, TrailBytesAreNeverFolded) {
  ASSERT_EQ(kA.size(), 2u);
  ASSERT_EQ(kDi.size(), 2u);
  // The platform's own comparison folds every ASCII byte, trail bytes included.
  kgui::TStringList platform;
  platform.add(kA);
  EXPECT_EQ(platform.indexOf(kDi), 0);

  kgui::TStringList list;
  UseEngineOrder(list);
  list.add(kA);
  EXPECT_EQ(list.indexOf(kDi), -1);
  list.add(kDi);
  list.setSorted(true);
  EXPECT_EQ(list.indexOf(kDi), 1);
  EXPECT_EQ(list.add(kDi), 1);  // a duplicate of a sorted list is found, not added
  EXPECT_EQ(list.count(), 2);
}

TEST(ScriptStringList, SortedDuplicatesAndCaseAreDeterministic) {
  kgui::TStringList list;
  UseEngineOrder(list);
  for (const char* s : {"b", "B", "a", "A", "b", "10", "_"}) list.add(s);
  list.sort();
  // Without case equal names keep their order of addition.
  EXPECT_EQ(list.toVector(), (std::vector<std::string>{"_", "10", "a", "A", "b", "B", "b"}));
  list.setSorted(true);
  list.setDuplicates(kgui::dupIgnore);
  EXPECT_EQ(list.add("a"), 2);
  EXPECT_EQ(list.count(), 7);
  list.setDuplicates(kgui::dupAccept);
  list.add("a");
  EXPECT_EQ(list.count(), 8);
  list.setCaseSensitive(true);  // lower case first
  EXPECT_EQ(list.toVector(), (std::vector<std::string>{"_", "10", "a", "a", "A", "b", "b", "B"}));
  EXPECT_EQ(list.indexOf("B"), 7);
}

TEST(ScriptStringList, CommaTextRoundTrips) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {""},
      {"", ""},
      {"a", "", "b"},
      {"", "a"},
      {"a", ""},
      {"two words", "comma,inside", "say \"hi\"", "\"", "\"\""},
      {" leading", "trailing ", "\ttab", "line\r\nbreak", std::string("nul\0byte", 8), "\x01"},
      {kA + kDi, utf8_to_cp932("表,ソ"), "x"},
  };
  for (const auto& items : cases) {
    kgui::TStringList list;
    for (const std::string& s : items) list.add(s);
    kgui::TStringList back;
    back.setCommaText(list.commaText());
    EXPECT_EQ(back.toVector(), items) << list.commaText();
  }
}

TEST(ScriptStringList, ListErrorsBecomeScriptErrors) {
  const struct {
    const char* source;
    const char* error;
  } cases[] = {
      {"new Strings('a').insert(2, 'x');", "Exception: EStringsError(1) => List index out of bounds (2)"},
      {"var s = new Strings(); s.sorted = true; s.add('a'); s.insert(0, 'b');",
       "Exception: EStringsError(1) => Operation not allowed on sorted list"},
      {"new Strings('a')[1] = 'x';", "Exception: EIndexError(1) => 1"},
      {"new Strings().loadFromFile('/proc/self/mem');", "Exception: EStringsError(1) => loadFromFile error"},
  };
  for (const auto& c : cases) EXPECT_EQ(testing::RunScript(c.source).error, c.error) << c.source;
}

TEST(ScriptStringList, ABaseListWithoutItsListRaises) {
  TJBaseStringsObject view(nullptr);
  EXPECT_THROW(view.List(), EJThrow);
  EXPECT_EQ(view.GetCount(), 0);
  kgui::TStringList items;
  items.add("x");
  view.SetStrings(&items);
  EXPECT_EQ(view.ToString(nullptr).str(), "x\r\n");
  view.SetStrings(nullptr);  // the view never frees the list
  EXPECT_EQ(items.count(), 1);
}

// Strings.saveToFile and Ini.update through a symbolic link and a hard link change the file
// the links lead to; the links stay links.
TEST(ScriptStringList, SavesThroughLinksChangeTheirTargets) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  const std::string target = dir.file("target.txt"), ini = dir.file("real.ini");
  ASSERT_TRUE(write_file_bytes(target, "old"));
  ASSERT_TRUE(write_file_bytes(ini, "[Main]\r\nkey=old\r\n"));
  fs::create_symlink(target, dir.file("soft.txt"));
  fs::create_hard_link(target, dir.file("hard.txt"));
  fs::create_symlink(ini, dir.file("soft.ini"));
  const auto run = testing::RunScript("var s = new Strings(); s.add('via soft'); s.saveToFile('" + dir.file("soft.txt") +
                                      "');\n var t = new Strings(); t.add('via hard'); t.saveToFile('" +
                                      dir.file("hard.txt") + "');\n var i = new Ini('" + dir.file("soft.ini") +
                                      "'); i.write('Main', 'key', 'new'); i.update();");
  EXPECT_EQ(run.error, "");
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(target, bytes));
  EXPECT_EQ(bytes, "via hard\r\n");
  EXPECT_EQ(fs::hard_link_count(target), 2u);
  EXPECT_TRUE(fs::is_symlink(dir.file("soft.txt")));
  ASSERT_TRUE(read_file_bytes(dir.file("soft.txt"), bytes));
  EXPECT_EQ(bytes, "via hard\r\n");
  EXPECT_TRUE(fs::is_symlink(dir.file("soft.ini")));
  ASSERT_TRUE(read_file_bytes(ini, bytes));
  EXPECT_NE(bytes.find("key=new"), std::string::npos) << bytes;
}

}  // namespace
}  // namespace kestrin::script
