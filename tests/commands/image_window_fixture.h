// The image window's command tests: a fresh start with recording window ports and a loaded
// image whose mask, display levels and view are prepared as a load leaves them (view 600 x
// 600 at zoom 1 from the top-left corner).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/display/display.h"
#include "image/display_levels.h"
#include "image/image_store.h"
#include "support/pattern_fixture.h"
#include "support/recording_views.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {

class ImageWindowTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.prompts = &prompts_;
    install_ports(views_.ports(p));
  }
  void TearDown() override { reset_headless_ports(); }

  // A width x height image whose code is x + y (clamped), ready as after a load.
  void load_image(int32_t width, int32_t height) {
    std::vector<uint16_t> codes(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) codes[size_t(y) * size_t(width) + size_t(x)] = uint16_t(std::min(x + y, 65535));
    load_into_current_image(codes, width, height);
    current_image().LinearMax = 4000;
    current_image().LogSaturation = 9000;
    state().image_mask.resize(width, height);
    update_display_levels();
    ImageView& v = state().image_view;
    v = ImageView{};
    update_view_extent(v, width, height);
    clear_views();
  }
  // Forgets what the window ports were asked so far.
  void clear_views() {
    RecordingViews& r = views_;
    r.redraws = r.repaints = r.gauge_draws = 0;
    r.scroll_moves.clear();
    r.view_sizes.clear();
    r.calls.clear();
  }
  static size_t masked() {
    const auto& b = state().image_mask.bytes;
    return size_t(std::count(b.begin(), b.end(), uint8_t(1)));
  }
  static ImageView& view() { return state().image_view; }
  static std::string text(ControlName name) { return controls().text(name); }

  RecordingViews views_;
  ScriptedPrompts prompts_;
};

}  // namespace kestrin::test
