// Fresh shared state, headless ports and an empty log for each analysis test, plus helpers
// to set the main window's edits and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/lanes.h"
#include "image/image_store.h"
#include "image/state.h"
#include "ports/ports.h"
#include "support/ring_image.h"

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

  static void edit(const char* name, const std::string& text) { controls().set_text(name, text); }
  static void check(const char* name) { controls().set_checked(name, true); }
  static const std::vector<std::string>& log() { return the_log().history(); }

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
    edit("edtCenterX0", std::to_string(x));
    edit("edtCenterY0", std::to_string(y));
  }
};

}  // namespace kestrin::test
