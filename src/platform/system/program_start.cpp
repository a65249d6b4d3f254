// Detached program start: the caller forks a child that starts a new session and forks the
// program's process, then ends at once, so the program belongs to no one here and leaves
// no zombie. Between fork and exec only async-signal-safe calls run; an exec failure
// travels back through a close-on-exec pipe, whose end of file alone means success.
#include "platform/system/program_start.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kestrin::platform {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string arg;
  bool in_word = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_word) args.push_back(std::move(arg));
      arg.clear();
      in_word = false;
    } else {
      arg += c;
      in_word = true;
    }
  }
  if (in_word) args.push_back(std::move(arg));
  return args;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  std::string_view dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!dirs.empty()) {
    const size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return "";
}

namespace {

// Runs in the child after fork: async-signal-safe calls only.
[[noreturn]] void RunChild(const char* program, char* const* argv, const char* folder, int report) {
  ::setsid();
  const pid_t pid = ::fork();
  if (pid != 0) ::_exit(pid < 0 ? 1 : 0);
  int error = 0;
  if (folder && ::chdir(folder) != 0) error = errno;
  if (error == 0) {
    ::execve(program, argv, environ);
    error = errno;
  }
  ssize_t ignored = ::write(report, &error, sizeof error);
  (void)ignored;
  ::_exit(127);
}

}  // namespace

bool StartDetached(const std::vector<std::string>& argv, const std::string& folder) {
  if (argv.empty()) return false;
  const std::string program = FindProgram(argv[0]);
  if (program.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    RunChild(program.c_str(), args.data(), folder.empty() ? nullptr : folder.c_str(), pipe_fds[1]);
  }
  ::close(pipe_fds[1]);
  bool started = false;
  if (child > 0) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = ::read(pipe_fds[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    // The middle child's status tells whether the program's process was forked; the pipe's
    // end of file without a report tells that exec succeeded.
    started = WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
  }
  ::close(pipe_fds[0]);
  return started;
}

}  // namespace kestrin::platform
