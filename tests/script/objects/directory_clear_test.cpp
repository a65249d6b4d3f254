// Directory.clear: the user's answer first (a Yes/No question), then files and folders
// into the freedesktop trash or deleted; never deleted for good when the trash cannot take
// them, never through a symbolic link into another folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "script/core/script_ui.h"
#include "script/objects/object_script.h"
#include "support/answering_ui.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

using test::AnsweringUi;

class DirectoryClear : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = dir_.file("work");
    fs::create_directories(folder_ + "/sub/deeper");
    std::ofstream(folder_ + "/a.txt") << "a";
    std::ofstream(folder_ + "/sub/deeper/b.txt") << "b";
    fs::create_directories(dir_.file("outside"));
    std::ofstream(dir_.file("outside/keep.txt")) << "keep";
    fs::create_directory_symlink(dir_.file("outside"), folder_ + "/link");
    // The test's own home: nothing here may reach the user's trash.
    ::setenv("HOME", dir_.path().c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
  }
  int Clear(const char* argument, AnsweringUi& ui) {
    const auto run = testing::RunScript("new Directory('" + folder_ + "').clear(" + argument + ");", &ui);
    EXPECT_EQ(run.error, "");
    int left = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder_)) ++left;
    return left;
  }
  bool OutsideIntact() const { return fs::exists(dir_.file("outside/keep.txt")); }

  test::TempDir dir_;
  std::string folder_;
};

TEST_F(DirectoryClear, AnsweredNoNothingGoes) {
  AnsweringUi no(kIdNo);
  EXPECT_EQ(Clear("", no), 3);
  EXPECT_EQ(no.asked, 1);
  EXPECT_EQ(no.last_flags, kMbYesNo | kMbIconQuestion);
  EXPECT_FALSE(fs::exists(dir_.file("data")));
}

TEST_F(DirectoryClear, AnsweredYesEverythingGoesToTheTrash) {
  AnsweringUi yes(kIdYes);
  EXPECT_EQ(Clear("", yes), 0);
  const std::string trash = dir_.file("data/Trash/");
  EXPECT_TRUE(fs::exists(trash + "files/a.txt"));
  EXPECT_TRUE(fs::exists(trash + "files/sub/deeper/b.txt"));
  EXPECT_TRUE(fs::is_symlink(trash + "files/link"));  // the link went, not what it names
  for (const char* name : {"a.txt", "sub", "link"}) {
    std::ifstream info(trash + "info/" + name + ".trashinfo");
    std::string first, path;
    std::getline(info, first);
    std::getline(info, path);
    EXPECT_EQ(first, "[Trash Info]") << name;
    EXPECT_EQ(path, "Path=" + folder_ + "/" + name) << name;
  }
  EXPECT_TRUE(OutsideIntact());
}

TEST_F(DirectoryClear, WithoutTheTrashLinksGoAsLinks) {
  AnsweringUi yes(kIdYes);
  EXPECT_EQ(Clear("false", yes), 0);
  EXPECT_TRUE(OutsideIntact());
  EXPECT_FALSE(fs::exists(dir_.file("data")));
}

TEST_F(DirectoryClear, AnUnusableTrashDeletesNothing) {
  std::ofstream(dir_.file("plain")) << "x";
  ::setenv("XDG_DATA_HOME", dir_.file("plain/data").c_str(), 1);  // below a regular file
  AnsweringUi yes(kIdYes);
  EXPECT_EQ(Clear("true", yes), 3);
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "relative/home", 1);  // no absolute home: no trash
  EXPECT_EQ(Clear("", yes), 3);
  EXPECT_TRUE(OutsideIntact());
}

TEST_F(DirectoryClear, AMissingDataFolderIsMadeNotTheCurrentFolder) {
  ::setenv("XDG_DATA_HOME", dir_.file("not/yet").c_str(), 1);
  const fs::path before = fs::current_path();
  fs::current_path(dir_.path());
  AnsweringUi yes(kIdYes);
  EXPECT_EQ(Clear("", yes), 0);
  fs::current_path(before);
  EXPECT_TRUE(fs::exists(dir_.file("not/yet/Trash/files/a.txt")));
  EXPECT_FALSE(fs::exists(dir_.file("files")));
}

}  // namespace
}  // namespace kestrin::script
