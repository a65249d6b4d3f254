// Text files: CR LF on writing, CR LF / LF / CR on reading, and replacement by rename.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFile, WritesCrLfAndReadsItBack) {
  test::TempDir dir;
  const std::string path = dir.file("a.txt");
  ASSERT_TRUE(write_text_file(path, {"one", "", "3.5"}));
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(path, bytes));
  EXPECT_EQ(bytes, "one\r\n\r\n3.5\r\n");

  TextReader reader;
  ASSERT_TRUE(reader.open(path));
  EXPECT_EQ(reader.next_line(), "one");
  EXPECT_EQ(reader.next_line(), "");
  EXPECT_FALSE(reader.eof());
  EXPECT_EQ(reader.next_line(), "3.5");
  EXPECT_TRUE(reader.eof());
  EXPECT_EQ(reader.next_line(), "");  // past the end
  EXPECT_EQ(reader.next_line(), "");

  // A byte budget reads the file's first bytes only.
  for (size_t budget : {size_t(0), size_t(4), size_t(11), size_t(100)}) {
    ASSERT_TRUE(read_file_bytes(path, bytes, nullptr, budget));
    EXPECT_EQ(bytes, std::string("one\r\n\r\n3.5\r\n").substr(0, budget)) << budget;
  }
  ASSERT_TRUE(reader.open(path, 3));
  EXPECT_EQ(reader.next_line(), "one");
  EXPECT_TRUE(reader.eof());
}

TEST(TextFile, SplitsOnEveryLineEndConvention) {
  const struct {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends, the CR ends an empty line
      {"a\r\rb\n\nc", {"a", "", "b", "", "c"}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_lines(c.text), c.lines) << c.text;
}

TEST(TextFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  test::TempDir dir;
  const std::string path = dir.file("keep.txt");
  ASSERT_TRUE(write_text_file(path, {"old"}));
  std::filesystem::create_directory(dir.file("sub"));
  std::string error;
  EXPECT_FALSE(write_text_file(dir.file("sub"), {"x"}, &error));  // a folder cannot be replaced
  EXPECT_NE(error.find("sub"), std::string::npos);
  EXPECT_FALSE(write_text_file(dir.file("missing/x.txt"), {"x"}, &error));
  ASSERT_TRUE(write_file_bytes(path, "new\n"));
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(path, bytes));
  EXPECT_EQ(bytes, "new\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);  // keep.txt and sub
}

TEST(TextFile, PieceByPieceWriteReplacesOnlyOnCommit) {
  test::TempDir dir;
  const std::string path = dir.file("body.bin");
  ASSERT_TRUE(write_file_bytes(path, "old"));
  auto count_entries = [&] {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
    return n;
  };
  std::string bytes;
  {
    ReplacingFile file(path);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("partial"));
    ASSERT_TRUE(read_file_bytes(path, bytes));
    EXPECT_EQ(bytes, "old");  // the target is untouched while writing
  }
  ASSERT_TRUE(read_file_bytes(path, bytes));
  EXPECT_EQ(bytes, "old");  // dropped without commit: the old file stays, no temporary left
  EXPECT_EQ(count_entries(), 1);
  ReplacingFile file(path);
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.write("ne"));
  ASSERT_TRUE(file.write("w"));
  ASSERT_TRUE(file.commit());
  ASSERT_TRUE(read_file_bytes(path, bytes));
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(count_entries(), 1);
  EXPECT_FALSE(file.commit());  // once only
}

TEST(TextFile, ReplacedFileKeepsItsPermissions) {
  test::TempDir dir;
  const std::string path = dir.file("mode.txt");
  ASSERT_TRUE(write_text_file(path, {"a"}));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(write_text_file(path, {"b"}));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A write through a symbolic link changes the file the link leads to and keeps the link; a
// file with a second hard link is changed in place, so both names see the new bytes.
TEST(TextFile, WritesThroughLinksChangeTheirTargets) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  fs::create_directory(dir.file("real"));
  const std::string target = dir.file("real/data.txt"), hard = dir.file("hard.txt");
  ASSERT_TRUE(write_file_bytes(target, "old"));
  fs::create_symlink("real/data.txt", dir.file("relative.lnk"));
  fs::create_symlink(dir.file("relative.lnk"), dir.file("chain.lnk"));  // a link to a link
  fs::create_hard_link(target, hard);
  fs::create_symlink(dir.file("real/later.txt"), dir.file("dangling.lnk"));
  std::string bytes;
  const struct {
    const char* written;
    const char* text;
  } cases[] = {{"relative.lnk", "one"}, {"chain.lnk", "two"}, {"hard.txt", "three"}, {"real/data.txt", "four"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(write_file_bytes(dir.file(c.written), c.text)) << c.written;
    for (const char* name : {"relative.lnk", "chain.lnk", "hard.txt", "real/data.txt"}) {
      ASSERT_TRUE(read_file_bytes(dir.file(name), bytes));
      EXPECT_EQ(bytes, c.text) << c.written << " read as " << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir.file("relative.lnk")));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain.lnk")));
    EXPECT_EQ(fs::hard_link_count(target), 2u) << c.written;
  }
  {  // an unfinished write leaves the hard-linked file as it was
    ReplacingFile file(hard);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("cut"));
  }
  ASSERT_TRUE(read_file_bytes(target, bytes));
  EXPECT_EQ(bytes, "four");
  ASSERT_TRUE(write_file_bytes(dir.file("dangling.lnk"), "made"));  // a link to no file yet makes its target
  EXPECT_TRUE(fs::is_symlink(dir.file("dangling.lnk")));
  ASSERT_TRUE(read_file_bytes(dir.file("real/later.txt"), bytes));
  EXPECT_EQ(bytes, "made");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.file("real"))) ++entries;
  EXPECT_EQ(entries, 2);  // no temporary left beside the targets
  // A device is written in place, never replaced by a regular file.
  std::string error;
  fs::create_symlink("/dev/null", dir.file("null.lnk"));
  EXPECT_TRUE(write_file_bytes(dir.file("null.lnk"), "gone"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);  // no reader: an error, never a wait
  EXPECT_FALSE(write_file_bytes(dir.file("pipe"), "x", &error));
  EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
  if (fs::exists("/dev/full")) {
    EXPECT_FALSE(write_file_bytes("/dev/full", "x", &error));
    EXPECT_NE(error.find("/dev/full"), std::string::npos);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
  }
}

TEST(TextFile, ReadingMissingFilesOrFoldersFails) {
  test::TempDir dir;
  std::string bytes, error;
  EXPECT_FALSE(read_file_bytes(dir.file("none"), bytes, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(read_file_bytes(dir.path(), bytes));
  TextReader reader;
  EXPECT_FALSE(reader.open(dir.file("none")));
  EXPECT_TRUE(reader.eof());
  EXPECT_EQ(reader.next_line(), "");
}

}  // namespace
}  // namespace kestrin
