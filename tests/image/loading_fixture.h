// Common set-up of the loading tests: fresh state, headless ports, an empty log and a
// temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/headless_ports.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/ports.h"
#include "support/raxis_fixture.h"
#include "support/reader_fixture.h"
#include "support/recording_views.h"
#include "support/temp_dir.h"

namespace kestrin::test {

class LoadingTest : public ::testing::Test {
protected:
  void SetUp() override {
    reset_for_reader_test();
    install_ports(views_.ports());
  }
  void TearDown() override { reset_headless_ports(); }
  const std::vector<std::string>& log() const { return the_log().history(); }
  // Log lines from index `from` on.
  std::vector<std::string> log_from(size_t from) const {
    const auto& h = the_log().history();
    return std::vector<std::string>(h.begin() + std::ptrdiff_t(std::min(from, h.size())), h.end());
  }
  ImageStore& img() { return current_image(); }
  IntegrationParams& params() { return state().integration_params; }
  HeadlessControls& edits() { return headless_controls(); }
  // A 4 x 3 R-AXIS frame with one overflow pixel (code 40000, intensity 57856).
  static RaxisFixture raxis_frame() {
    RaxisFixture f;
    f.codes = {0, 1, 2, 3, 100, 32768, 40000, 5, 7, 8, 9, 10};
    return f;
  }

  TempDir dir_;
  RecordingViews views_;
};

}  // namespace kestrin::test
