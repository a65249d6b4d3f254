// Common set-up of the image reader tests: fresh shared state, ports and log, a temporary
// folder, and the log lines of the test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/state.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "support/temp_dir.h"

namespace kestrin::test {

class ReaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_state();
    reset_headless_ports();
    the_log().clear_history();
    // Readers are tested with the header values in use: the locks start unchecked here.
    for (const char* lock : {"chkLo", "chkwl", "chkpsx", "chkpsy"}) headless_controls().set_checked(lock, false);
  }
  std::vector<std::string> log() const { return the_log().history(); }
  void clear_log() { the_log().clear_history(); }
  TempDir dir;
};

// Runs a peer Python script (written to a file in `dir`); returns its exit status and output.
int run_peer_script(const TempDir& dir, const std::string& script, std::string* output = nullptr);

}  // namespace kestrin::test
