// Fresh shared state, headless ports and an empty log for each analysis test, plus helpers
// to set the main window's edits and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lanes.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/ports.h"
#include "support/ring_image.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {

class AnalysisTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_state();
    reset_headless_ports();
    the_log().clear_history();
    set_worker_threads(0);
  }
  void TearDown() override { set_worker_threads(0); }

  static void edit(ControlName name, const std::string& text) { controls().set_text(name, text); }
  static void check(ControlName name) { controls().set_checked(name, true); }
  static const std::vector<std::string>& log() { return the_log().history(); }

  // A width x height image of one intensity everywhere.
  static void load_flat_image(int32_t width, int32_t height, uint16_t code) {
    load_into_current_image(std::vector<uint16_t>(size_t(width) * size_t(height), code), width, height);
  }
  static void set_centre(double x, double y) {
    edit(frmMain::edtCenterX0, std::to_string(x));
    edit(frmMain::edtCenterY0, std::to_string(y));
  }
};

}  // namespace kestrin::test
