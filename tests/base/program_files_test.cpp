// One-line setting files in the configuration folder, and the exchange sort of names.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/paths.h"
#include "base/program_files.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

TEST(ProgramFileLine, WritesOneCrLfLineInTheConfigFolderAndReadsItBack) {
  test::TempDir dir;
  ::setenv("XDG_CONFIG_HOME", (dir.path() + "cfg").c_str(), 1);
  write_program_file_line("frmOscAna.ini", "/data/old/");
  write_program_file_line("frmOscAna.ini", "/data/images/");
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(dir.path() + "cfg/kestrin/frmOscAna.ini", bytes));
  EXPECT_EQ(bytes, "/data/images/\r\n");
  EXPECT_EQ(read_program_file_line("frmOscAna.ini"), "/data/images/");
  try {
    read_program_file_line("frmMissing.ini");
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  ::setenv("XDG_CONFIG_HOME", (dir.path() + "file/").c_str(), 1);
  ASSERT_TRUE(write_text_file(dir.path() + "file", {"not a folder"}));
  EXPECT_THROW(write_program_file_line("frmOscAna.ini", "x"), EInOutError);
}

TEST(SortStrings, SortsByBytesUpToTheGivenIndex) {
  const struct {
    std::vector<std::string> items;
    int high;
    std::vector<std::string> sorted;
  } cases[] = {
      {{"B", "a", "A"}, 2, {"A", "B", "a"}},
      {{"c", "b", "a"}, 1, {"b", "c", "a"}},
      {{"b", "a"}, -1, {"b", "a"}},
      {{"img10", "img9", "img1", "img9"}, 3, {"img1", "img10", "img9", "img9"}},
      {{"\xc3\xa9", "z", " "}, 2, {" ", "z", "\xc3\xa9"}},  // bytes above 127 sort last
      {{}, 5, {}},
  };
  for (auto c : cases) {
    sort_strings(c.items, c.high);
    EXPECT_EQ(c.items, c.sorted);
  }
}

}  // namespace
}  // namespace kestrin
