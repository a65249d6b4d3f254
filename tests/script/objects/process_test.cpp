// The system objects across processes: a mutex held by another kestrin-script blocks
// tryLock until the kernel drops it with the dead process, and two processes writing the
// same registry store both keep their values.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "script/objects/object_script.h"
#include "support/temp_dir.h"

extern char** environ;

namespace kestrin::script {
namespace {

// A kestrin-script child running `script` (written into `dir`), its output in a file.
class ScriptProcess {
public:
  ScriptProcess(const test::TempDir& dir, const std::string& name, const std::string& script)
      : output_(dir.file(name + ".out")) {
    const std::string path = dir.file(name + ".js");
    std::ofstream(path) << script;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(KESTRIN_SCRIPT_RUNNER), const_cast<char*>(path.c_str()), nullptr};
    if (posix_spawn(&pid_, KESTRIN_SCRIPT_RUNNER, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~ScriptProcess() {
    if (pid_ > 0) Kill();
  }
  // Waits (at most 20 s) for a file that the script makes (its output is written at its end).
  static bool WaitForFile(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      if (std::ifstream(path)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Kill() {
    ::kill(pid_, SIGKILL);
    Wait();
  }
  bool started() const { return pid_ > 0; }

private:
  std::string output_;
  pid_t pid_ = -1;
};

TEST(SystemObjectProcesses, TryLockFailsWhileAnotherProcessHoldsTheMutex) {
  test::TempDir dir;
  ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  const std::string marker = dir.file("locked");
  ScriptProcess holder(dir, "holder",
                       "var m = new Mutex('kestrin process test'); m.lock(); new File('" + marker +
                           "').open('w'); Win32.sleep(60000);");
  ASSERT_TRUE(holder.started());
  ASSERT_TRUE(ScriptProcess::WaitForFile(marker));
  const std::string try_lock = "var m = new Mutex('kestrin process test'); m.timeout = 50; println(m.existed + ' ' + m.tryLock());";
  EXPECT_EQ(testing::RunScript(try_lock).out, "true false\r\n");
  holder.Kill();  // the kernel drops the lock with the process
  EXPECT_EQ(testing::RunScript(try_lock).out, "false true\r\n");
}

TEST(SystemObjectProcesses, TwoWritersOfTheRegistryStoreKeepTheirValues) {
  test::TempDir dir;
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const std::string writer = "var r = new RegIni('Software\\\\Kestrin\\\\Test');\n"
                             "for (var i = 0; i < 40; i++) r.write('Shared', '%s' + i, i);\nprintln('done');";
  auto script = [&](const char* prefix) {
    std::string s = writer;
    return s.replace(s.find("%s"), 2, prefix);
  };
  ScriptProcess one(dir, "one", script("one")), two(dir, "two", script("two"));
  ASSERT_TRUE(one.started() && two.started());
  EXPECT_EQ(one.Wait(), 0);
  EXPECT_EQ(two.Wait(), 0);
  EXPECT_EQ(testing::RunScript("var r = new RegIni('Software\\\\Kestrin\\\\Test'); var s = r.readSection('Shared');"
                               "println(s.count + ' ' + r.read('Shared', 'one39', '-') + ' ' + r.read('Shared', 'two0', '-'));")
                .out,
            "80 39 0\r\n");
}

TEST(SystemObjectProcesses, AnUnusableRegistryStoreRefusesTheObject) {
  test::TempDir dir;
  std::ofstream(dir.file("file")) << "x";
  ::setenv("XDG_CONFIG_HOME", dir.file("file").c_str(), 1);  // below a regular file
  EXPECT_EQ(testing::RunScript("new RegIni('Software');").error, "Exception: EIniError(1) => ini create error");
}

}  // namespace
}  // namespace kestrin::script
