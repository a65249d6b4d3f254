// Temporary folders and peer-program helpers for the tests.
#include "support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace kestrin::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kestrin-XXXXXX").string();
  char* made = mkdtemp(tmpl.data());
  path_ = std::string(made ? made : tmpl.c_str()) + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

int run_command(const std::string& command, std::string* output) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0)
    if (output) output->append(buf, n);
  int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool peer_module_available(const std::string& module) {
  static std::map<std::string, bool> known;
  auto it = known.find(module);
  if (it != known.end()) return it->second;
  bool ok = run_command(std::string(kPeerPython) + " -c 'import " + module + "' 2>/dev/null") == 0;
  known[module] = ok;
  return ok;
}

int run_peer_script(const TempDir& dir, const std::string& script, std::string* output) {
  const std::string path = dir.file("peer_script.py");
  std::ofstream(path) << script;
  return run_command(std::string(kPeerPython) + " " + path + " 2>&1", output);
}

}  // namespace kestrin::test
