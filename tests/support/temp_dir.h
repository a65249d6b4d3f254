// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <cstdlib>
#include <string>

namespace kestrin::test {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder with its trailing '/'.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

private:
  std::string path_;
};

// The Python interpreter that sees Debian's packages (fabio, pyFAI, PIL).
constexpr const char* kPeerPython = "/usr/bin/python3";
// True when `module` imports under the peer Python. When it does not, the test is
// skipped, or fails when the CI variable is "true".
bool peer_module_available(const std::string& module);
// Runs a command; returns its exit status and fills `output` with its standard output.
int run_command(const std::string& command, std::string* output = nullptr);
// Runs a peer Python script (written to a file in `dir`); returns its exit status and output.
int run_peer_script(const TempDir& dir, const std::string& script, std::string* output = nullptr);

}  // namespace kestrin::test

// Skips the current test unless the peer module imports (fails under CI=true).
#define KESTRIN_REQUIRE_PEER(module)                                                   \
  do {                                                                                \
    if (!::kestrin::test::peer_module_available(module)) {                            \
      const char* ci = std::getenv("CI");                                             \
      if (ci && std::string(ci) == "true") FAIL() << "peer " << module << " missing"; \
      GTEST_SKIP() << "peer " << module << " not installed";                          \
    }                                                                                 \
  } while (0)
