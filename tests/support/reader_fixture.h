// Common set-up of the image reader tests: fresh shared state, ports and log, a temporary
// folder, and the log lines of the test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/program_state.h"
#include "model/headless_ports.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "support/temp_dir.h"

namespace kestrin::test {

// A fresh start for a reader or loader test: shared state, headless ports and an empty
// log. Readers are tested with the header values in use, so the header locks (checked at
// the program's start) start unchecked here.
void reset_for_reader_test();

class ReaderTest : public ::testing::Test {
protected:
  void SetUp() override { reset_for_reader_test(); }
  std::vector<std::string> log() const { return the_log().history(); }
  void clear_log() { the_log().clear_history(); }
  TempDir dir;
};

// Runs a peer Python script (written to a file in `dir`); returns its exit status and output.
int run_peer_script(const TempDir& dir, const std::string& script, std::string* output = nullptr);

}  // namespace kestrin::test
