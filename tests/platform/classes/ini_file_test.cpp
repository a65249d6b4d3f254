// TMemIniFile: lines other programs write read as they mean, edits keep every line they
// do not touch, names compare without case but never fold a trail byte, and the file is
// replaced whole or not at all.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/cp932.h"
#include "platform/classes/ini_file.h"

namespace kgui {
namespace {

using kestrin::utf8_to_cp932;

TEST(IniFile, ReadsEntriesAndKeepsEveryOtherLine) {
  TMemIniFile ini("x.ini");
  const std::string text =
      "; preamble\r\n[Main]\r\nname = Kestrin\r\n# comment\r\nodd line\r\n  width=640  \r\n\r\n"
      "[ Second ]\nKey=a=b\n[main]\nname=shadowed\n";
  ini.SetText(text);
  std::string v;
  ASSERT_TRUE(ini.ReadString("MAIN", " Name ", v));
  EXPECT_EQ(v, "Kestrin");
  ASSERT_TRUE(ini.ReadString("main", "width", v));
  EXPECT_EQ(v, "640");
  ASSERT_TRUE(ini.ReadString("second", "key", v));
  EXPECT_EQ(v, "a=b");
  EXPECT_FALSE(ini.ReadString("Main", "# comment", v));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "Second"}));
  EXPECT_EQ(ini.ReadSection("Main"), (std::vector<std::string>{"name", "width"}));
  // Untouched, the text comes back line by line with CR LF.
  EXPECT_EQ(ini.Text(),
            "; preamble\r\n[Main]\r\nname = Kestrin\r\n# comment\r\nodd line\r\n  width=640  \r\n\r\n"
            "[ Second ]\r\nKey=a=b\r\n[main]\r\nname=shadowed\r\n");
  ASSERT_TRUE(ini.WriteString("main", "NAME", "K2"));
  ASSERT_TRUE(ini.WriteString("Main", "height", "480"));
  ASSERT_TRUE(ini.WriteString("Third", "k", " v "));
  ini.DeleteKey("Main", "width");
  ini.EraseSection("main");  // both sections of the name
  EXPECT_EQ(ini.Text(), "; preamble\r\n[ Second ]\r\nKey=a=b\r\n[Third]\r\nk=v\r\n");
}

TEST(IniFile, NewKeysGoBeforeTheBlankLinesThatEndASection) {
  TMemIniFile ini("x.ini");
  ini.SetText("[a]\nx=1\n\n[b]\n");
  ASSERT_TRUE(ini.WriteString("a", "y", "2"));
  EXPECT_EQ(ini.Text(), "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\n");
}

TEST(IniFile, NamesCompareWithoutCaseButKeepTrailBytes) {
  TMemIniFile ini("x.ini");
  const std::string a = utf8_to_cp932("ア"), di = utf8_to_cp932("ヂ");  // 83 41, 83 61
  ASSERT_TRUE(ini.WriteString(a, a, "1"));
  ASSERT_TRUE(ini.WriteString(di, di, "2"));
  ASSERT_TRUE(ini.WriteString("Sec", "Key", "3"));
  std::string v;
  ASSERT_TRUE(ini.ReadString(a, a, v));
  EXPECT_EQ(v, "1");
  EXPECT_EQ(ini.ReadSections().size(), 3u);
  ASSERT_TRUE(ini.ReadString("SEC", "kEY", v));
  EXPECT_EQ(v, "3");
}

TEST(IniFile, WritesThatALineCannotHoldAreRefused) {
  TMemIniFile ini("x.ini");
  for (const auto& [section, key, value] : std::vector<std::array<std::string, 3>>{
           {"s", "k", "a\nb"}, {"s", "k", "a\rb"}, {"s\n", "k", "v"}, {"s", "a=b", "v"}, {"s", ";k", "v"},
           {"s", "#k", "v"}, {"s", "[k", "v]"}}) {
    EXPECT_FALSE(ini.WriteString(section, key, value)) << key << "=" << value;
  }
  EXPECT_EQ(ini.Text(), "");
}

TEST(IniFile, LoadAndUpdate) {
  char tmpl[] = "/tmp/kestrin-ini-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  TMemIniFile missing(dir + "/missing.ini");
  missing.Load();
  EXPECT_TRUE(missing.ReadSections().empty());
  TMemIniFile folder(dir);
  EXPECT_THROW(folder.Load(), EIniFileError);

  TMemIniFile ini(dir + "/a.ini");
  ini.Load();
  ini.WriteString("s", "k", "v");
  ASSERT_TRUE(ini.UpdateFile());
  std::ifstream in(dir + "/a.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "[s]\r\nk=v\r\n");
  std::ofstream(dir + "/file") << "x";
  TMemIniFile below(dir + "/file/b.ini");
  below.Load();  // a folder that cannot exist: an empty INI, as a missing file
  std::string error;
  EXPECT_FALSE(below.UpdateFile(&error));
  EXPECT_NE(error, "");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kgui
