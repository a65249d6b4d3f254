// The analysis tests' fresh start (see support/state_fixture.h) with the worker threads
// back at their default, plus helpers to set the centre edits and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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
  // Leaves only pixel (x, y) unmasked and turns masking on.
  static void only_pixel(int32_t x, int32_t y) {
    const ImageStore& img = current_image();
    state().image_mask.resize(img.ImageWidth, img.ImageHeight);
    std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), uint8_t(1));
    state().image_mask.bytes[size_t(x) + size_t(img.ImageWidth) * size_t(y)] = 0;
    state().OmitGreen = true;
  }
  static void set_centre(double x, double y) {
    edit(frmMain::edtCenterX0, std::to_string(x));
    edit(frmMain::edtCenterY0, std::to_string(y));
  }
};

}  // namespace kestrin::test
