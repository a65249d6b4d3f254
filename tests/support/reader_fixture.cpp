// Peer script runner for the reader tests.
#include "support/reader_fixture.h"

#include <fstream>

namespace kestrin::test {

int run_peer_script(const TempDir& dir, const std::string& script, std::string* output) {
  const std::string path = dir.file("peer_script.py");
  std::ofstream(path) << script;
  return run_command(std::string(kPeerPython) + " " + path + " 2>&1", output);
}

}  // namespace kestrin::test
