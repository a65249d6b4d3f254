// The harness tests' fresh start: fresh state, headless ports, an empty log, and a runner of
// command lines that keeps what they printed to standard error.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "commands/headless_ports.h"
#include "harness/harness.h"
#include "image/program_state.h"
#include "ports/log.h"

namespace kestrin::harness {

// Runs the lines over every harness command; returns standard output and, when `err` is
// given, puts there what went to standard error.
inline std::string run_lines(const std::string& script, std::string* err = nullptr) {
  std::istringstream in(script);
  std::ostringstream out, errors;
  run_commands(in, out, errors);
  if (err) *err = errors.str();
  return out.str();
}

class HarnessTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_state();
    reset_headless_ports();
    the_log().clear_history();
  }
  // Runs the lines over every harness command; returns standard output and adds what went
  // to standard error to `err`.
  std::string run(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, errors;
    run_commands(in, out, errors);
    err += errors.str();
    return out.str();
  }
  std::string err;
};

}  // namespace kestrin::harness
