// A fresh start for each test of code that works on the process-wide state: fresh state,
// headless ports holding the start values, an empty log, and helpers for the controls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/headless_ports.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin::test {

class StateTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_state();
    reset_headless_ports();
    the_log().clear_history();
  }

  static void edit(ControlName name, const std::string& text) { controls().set_text(name, text); }
  static void check(ControlName name) { controls().set_checked(name, true); }
  static const std::vector<std::string>& log() { return the_log().history(); }
};

}  // namespace kestrin::test
