// TMutex between two processes: the second opener sees that it existed, and a lock held
// by the other process makes TryLock time out until it is released.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/system/named_mutex.h"

namespace kestrin::platform {
namespace {

class NamedMutexTest : public ::testing::Test {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kestrin-mutex-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { (void)std::system(("rm -rf " + dir_).c_str()); }
  std::string dir_;
};

TEST_F(NamedMutexTest, SecondObjectOfTheNameSeesItExisted) {
  TMutex first("job/1");
  TMutex second("job/1");
  EXPECT_FALSE(first.Existed());
  EXPECT_TRUE(second.Existed());
  EXPECT_EQ(first.timeout, 10000);
  // The owning thread may take it again through either object.
  first.Lock();
  EXPECT_TRUE(second.TryLock());
  second.Unlock();
  first.Unlock();
}

TEST_F(NamedMutexTest, LockHeldByAnotherProcessTimesOut) {
  TMutex mine("shared");
  int ready[2], release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(release[1]);
    TMutex theirs("shared");
    theirs.Lock();
    char flag = theirs.Existed() ? 'E' : 'N';
    (void)::write(ready[1], &flag, 1);
    char c;
    (void)::read(release[0], &c, 1);  // returns when the parent closes its end
    ::_exit(0);
  }
  ::close(release[0]);
  char flag = 0;
  ASSERT_EQ(::read(ready[0], &flag, 1), 1);
  EXPECT_EQ(flag, 'E');
  mine.timeout = 50;
  EXPECT_FALSE(mine.TryLock());
  ::close(release[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  mine.timeout = 5000;
  EXPECT_TRUE(mine.TryLock());
  mine.Unlock();
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace kestrin::platform
