// TSafeFileStream in a temporary folder: creation on write, refused read-write of a
// missing file, deletion of an empty file on close, and use after close.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/system/safe_file_stream.h"

namespace kestrin::platform {
namespace {

class SafeFileStreamTest : public ::testing::Test {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kestrin-stream-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    ::unlink(Path("a").c_str());
    ::unlink(Path("b").c_str());
    ::rmdir(dir_.c_str());
  }
  std::string Path(const char* name) const { return dir_ + "/" + name; }
  static bool Exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
  }
  std::string dir_;
};

TEST_F(SafeFileStreamTest, WriteCreatesReadWriteOfMissingFileFails) {
  TSafeFileStream s;
  EXPECT_FALSE(s.Open(Path("b"), fmOpenReadWrite, false));
  EXPECT_FALSE(Exists(Path("b")));
  EXPECT_THROW(s.Open(Path("b"), fmOpenReadWrite, true), EFOpenError);
  ASSERT_TRUE(s.Open(Path("a"), fmOpenWrite, true));
  EXPECT_EQ(s.Write("hello", 5), 5);
  s.Close(true);
  EXPECT_TRUE(Exists(Path("a")));  // not empty: kept
  ASSERT_TRUE(s.Open(Path("a"), fmOpenReadWrite, true));
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 5);
  EXPECT_EQ(std::string(buf, 5), "hello");
  s.SetSize(2);
  EXPECT_EQ(s.Size(), 2);
  s.Close(false);
}

TEST_F(SafeFileStreamTest, CloseDeletesAnEmptyFileWhenAsked) {
  TSafeFileStream s;
  ASSERT_TRUE(s.Open(Path("a"), fmOpenWrite, true));
  EXPECT_TRUE(Exists(Path("a")));
  s.Close(true);
  EXPECT_FALSE(Exists(Path("a")));
  EXPECT_FALSE(s.IsOpened());
  char c;
  try {
    s.Read(&c, 1);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file TSafeFileStream");
  }
}

}  // namespace
}  // namespace kestrin::platform
