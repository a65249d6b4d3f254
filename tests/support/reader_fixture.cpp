// Set-up and peer script runner of the reader tests.
#include "ports/names/main_form_names.h"
#include "support/reader_fixture.h"

#include <fstream>

namespace kestrin::test {

void reset_for_reader_test() {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  for (const ControlName& lock : {frmMain::chkLo, frmMain::chkwl, frmMain::chkpsx, frmMain::chkpsy}) headless_controls().set_checked(lock, false);
}

int run_peer_script(const TempDir& dir, const std::string& script, std::string* output) {
  const std::string path = dir.file("peer_script.py");
  std::ofstream(path) << script;
  return run_command(std::string(kPeerPython) + " " + path + " 2>&1", output);
}

}  // namespace kestrin::test
