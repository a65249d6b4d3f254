// File.renameTo across file systems: the file is copied whole and the original goes only
// then; an existing file of the new name is never replaced.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/objects/object_script.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

dev_t DeviceOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_dev : 0;
}

TEST(ScriptFile, RenameToAnotherFileSystemCopiesThenDeletes) {
  test::TempDir dir;
  const std::string other = "/dev/shm";
  if (!fs::is_directory(other) || DeviceOf(other) == DeviceOf(dir.path())) GTEST_SKIP() << "no second file system";
  const std::string from = dir.file("moved.bin"), to = other + "/kestrin-moved-" + std::to_string(::getpid()) + ".bin";
  std::ofstream(from, std::ios::binary) << std::string(100000, 'm');
  const auto run = testing::RunScript("var f = new File('" + from + "'); f.renameTo('" + to + "'); println(f.filename);");
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.out, to + "\r\n");
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(fs::file_size(to), 100000u);
  // Back again onto a name that is taken: refused, both files as they were.
  std::ofstream(from) << "taken";
  EXPECT_EQ(testing::RunScript("new File('" + to + "').renameTo('" + from + "');").error,
            "Exception: EFileError(1) => rename error: " + to);
  EXPECT_EQ(fs::file_size(from), 5u);
  EXPECT_EQ(fs::file_size(to), 100000u);
  fs::remove(to);
}

}  // namespace
}  // namespace kestrin::script
