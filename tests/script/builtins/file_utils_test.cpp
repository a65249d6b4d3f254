// File helpers in a temporary folder with Japanese names reached through CP932 script
// paths with "\": creation, sizes, listings with wildcards, deletion and the trash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/cp932.h"
#include "script/builtins/file_utils.h"
#include "script/builtins/script_path.h"
#include "script/core/errors.h"
#include "script/core/script_ui.h"
#include "support/answering_ui.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

using test::AnsweringUi;

class FileUtils : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("kestrin_files_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
    // The script's view of the folder: CP932 with "\" separators.
    script_root_ = kestrin::utf8_to_cp932(root_.string());
    for (char& c : script_root_)
      if (c == '/') c = '\\';
    script_root_ += "\\";
  }
  void TearDown() override { fs::remove_all(root_); }

  // A script path below the folder, written in UTF-8 here.
  std::string Script(const char* utf8) const { return script_root_ + kestrin::utf8_to_cp932(utf8); }
  void Write(const char* utf8, size_t bytes) const { std::ofstream(root_ / utf8) << std::string(bytes, 'x'); }

  fs::path root_;
  std::string script_root_;
};

TEST_F(FileUtils, PathsKeepTrailBytesThatLookLikeBackslashes) {
  // 表 and ソ end in 0x5C; only the real separators become "/".
  EXPECT_EQ(ScriptPathToOs(kestrin::utf8_to_cp932("a\\表\\ソ")), "a/表/ソ");
  EXPECT_EQ(OsPathToScript("a/表"), kestrin::utf8_to_cp932("a/表"));
  EXPECT_EQ(OsPathToScript("\xe2\x82\xac"), "?");  // the euro sign has no CP932 form
}

TEST_F(FileUtils, ForceDirectoriesCreatesEveryLevelOrAnswersFalse) {
  EXPECT_TRUE(ForceDirectories(Script("表\\ソ\\x\\")));
  EXPECT_TRUE(fs::is_directory(root_ / "表" / "ソ" / "x"));
  EXPECT_TRUE(DirExists(Script("表\\ソ")));
  EXPECT_TRUE(ForceDirectories(Script("表")));  // exists already
  Write("file", 1);
  EXPECT_FALSE(ForceDirectories(Script("file\\sub")));
  EXPECT_FALSE(DirExists(Script("file")));
  EXPECT_THROW(ForceDirectories(""), EJThrow);
}

TEST_F(FileUtils, SizesAre64Bit) {
  Write("能.bin", 5);
  EXPECT_EQ(GetFileSizeByName(Script("能.bin")), 5);
  EXPECT_EQ(GetFileSizeByName(Script("missing")), 0);
  EXPECT_EQ(GetFileSizeByName(script_root_), 0);  // a folder has no file size
  std::filesystem::resize_file(root_ / "能.bin", (int64_t{5} << 30));  // sparse
  EXPECT_EQ(GetFileSizeByName(Script("能.bin")), int64_t{5} << 30);
}

TEST_F(FileUtils, ListingsMatchThePlatformsWildcards) {
  for (const char* f : {"a.TXT", "b.txt", "noext", "表.dat", ".hidden"}) Write(f, 1);
  fs::create_directories(root_ / "sub.d");
  fs::create_directories(root_ / "ソ");
  std::vector<std::string> dirs, files;
  auto names = [&](const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& s : list) out += kestrin::cp932_to_utf8(s.substr(script_root_.size())) + " ";
    return out;
  };
  ListDirectory(script_root_, "*.txt", kListFiles, &dirs, files);
  EXPECT_EQ(names(files), "a.TXT b.txt ");
  ListDirectory(script_root_, "*.*", kListFiles, &dirs, files);
  EXPECT_EQ(names(files), ".hidden a.TXT b.txt noext 表.dat ");
  EXPECT_EQ(names(dirs), "");
  ListDirectory(script_root_, "", kListFolders, &dirs, files);  // kind 2 still lists files
  EXPECT_EQ(names(dirs), "sub.d ソ ");
  EXPECT_EQ(names(files), "a.TXT b.txt noext 表.dat ");
  ListDirectory(script_root_, "?.*", kListAll, &dirs, files);
  EXPECT_EQ(names(files), "a.TXT b.txt 表.dat ");
  ListDirectory(script_root_, "*", kListVolume, &dirs, files);
  EXPECT_TRUE(files.empty() && dirs.empty());
  GetSubDirectories(script_root_, dirs);
  EXPECT_EQ(names(dirs), "sub.d ソ ");
  EXPECT_TRUE(MatchesMask("noext", "noext.*"));
  EXPECT_FALSE(MatchesMask("abc", "a?"));
  EXPECT_TRUE(MatchesMask(kestrin::utf8_to_cp932("表表x"), kestrin::utf8_to_cp932("??X")));
}

TEST_F(FileUtils, DeleteAsksFirstAndCanMoveIntoTheTrash) {
  fs::create_directories(root_ / "del" / "inner");
  Write("del/one", 1);
  AnsweringUi no(kIdNo), yes(kIdYes);
  EXPECT_FALSE(DeleteDirectory(no, Script("del"), false, false, false));
  EXPECT_EQ(no.asked, 1);
  EXPECT_TRUE(fs::exists(root_ / "del" / "one"));
  EXPECT_TRUE(DeleteDirectory(yes, Script("del"), false, false, false));  // the contents only
  EXPECT_TRUE(fs::is_directory(root_ / "del"));
  EXPECT_TRUE(fs::is_empty(root_ / "del"));

  const fs::path data = root_ / "data";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  Write("del/ソ", 3);
  AnsweringUi silent(kIdNo);
  EXPECT_TRUE(DeleteDirectory(silent, Script("del"), true, true, true));  // the folder, into the trash
  EXPECT_EQ(silent.asked, 0);
  EXPECT_FALSE(fs::exists(root_ / "del"));
  EXPECT_TRUE(fs::exists(data / "Trash" / "files" / "del" / "ソ"));
  std::ifstream info(data / "Trash" / "info" / "del.trashinfo");
  std::string first, path;
  std::getline(info, first);
  std::getline(info, path);
  EXPECT_EQ(first, "[Trash Info]");
  EXPECT_EQ(path, "Path=" + (root_ / "del").string());
  EXPECT_FALSE(DeleteDirectory(yes, Script("del"), false, true, true));  // gone already
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace kestrin::script
