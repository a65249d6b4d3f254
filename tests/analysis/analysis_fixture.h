// The analysis tests' fresh start (see support/state_fixture.h) with the worker threads
// back at their default, plus helpers to set the centre edits and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lanes.h"
#include "image/image_store.h"
#include "ports/names/main_form_names.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {

class AnalysisTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    set_worker_threads(0);
  }
  void TearDown() override { set_worker_threads(0); }

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
