// The analysis tests' fresh start (see support/state_fixture.h) with the worker threads
// back at their default, plus helpers to set the parameters and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "histogram_runs.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "ports/names/main_form_names.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {

class AnalysisTest : public StateTest {
protected:
  static constexpr int32_t kRegionRectangle = 0;  // IntegrationMode of the rectangle radio
  static constexpr int32_t kDirectionFull = 6;    // RectDirection FULL

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
  // Sets a parameter as the script's setters do: its field in the model, shown in its
  // control, so a routine that reads the controls first reads the same value.
  static void set_parameter(double IntegrationParams::*field, double value) {
    for (const Parameter& p : parameter_table())
      if (p.real == field) return set_real_parameter(p, value);
    FAIL() << "no parameter row holds this field";
  }
  static void set_parameter(int32_t IntegrationParams::*field, int32_t value) {
    for (const Parameter& p : parameter_table())
      if (p.integer == field) return set_integer_parameter(p, value);
    FAIL() << "no parameter row holds this field";
  }
  static void set_centre(double x, double y) {
    set_parameter(&IntegrationParams::X0, x);
    set_parameter(&IntegrationParams::Y0, y);
  }
  // A ring image's geometry: centre, camera length, pixel size and tilt.
  static void set_geometry(const RingGeometry& g) {
    set_centre(g.X0, g.Y0);
    set_parameter(&IntegrationParams::Lo, g.Lo);
    set_parameter(&IntegrationParams::pixel_x, g.pixel_x);
    set_parameter(&IntegrationParams::pixel_y, g.pixel_y);
    set_parameter(&IntegrationParams::Phi, g.Phi);
    set_parameter(&IntegrationParams::Beta, g.Beta);
  }
  // The rectangle FULL: the whole image, the region of the ring removal and spot finding.
  static void whole_image_region() {
    set_parameter(&IntegrationParams::IntegrationMode, kRegionRectangle);
    set_parameter(&IntegrationParams::RectDirection, kDirectionFull);
  }

  // The 2theta pattern of the whole image (the rectangle FULL) with the other settings as
  // the model holds them: what the ring removal works on.
  static void whole_image_angle_pattern() {
    whole_image_region();
    angle_intensity_command();
  }

  // How wide the random parameters of one robustness run reach.
  struct RandomReach {
    double centre_scale;                  // every third run's X0 is scaled by this
    double begin_max;                     // 2theta begin in [-20, begin_max)
    std::optional<double> end_max;        // 2theta end in [-20, end_max), or left as typed
    double step_max;                      // 2theta step in [-0.001, step_max)
    double division_min;                  // division angle in [division_min, 400)
  };
  // Sets wide random geometry, ranges and regions, each number as six decimals give it, and
  // reads the parameters: run picks the region (box, sector, sectored) and the band mode
  // (angle, direction).
  static void type_random_parameters(std::mt19937& rng, int run, const RandomReach& r) {
    using P = IntegrationParams;
    auto pick = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto six_decimals = [](double v) { return StrToFloat(Format("%.6f", {v})); };
    auto number = [&](double P::*field, double lo, double hi) { set_parameter(field, six_decimals(pick(lo, hi))); };
    set_parameter(&P::X0, six_decimals(pick(-1e4, 1e4) * (run % 3 == 0 ? r.centre_scale : 1e-3)));
    number(&P::Y0, -100, 100);
    number(&P::Lo, -10, 500);
    number(&P::pixel_x, -0.1, 0.3);
    number(&P::pixel_y, 0, 0.3);
    number(&P::Phi, -95, 95);
    number(&P::Beta, -720, 720);
    number(&P::two_theta_begin, -20, r.begin_max);
    if (r.end_max) number(&P::two_theta_end, -20, *r.end_max);
    number(&P::two_theta_step, -0.001, r.step_max);
    set_parameter(&P::band_width, int32_t(pick(-50, 200)));
    number(&P::rect_angle, -1000, 1000);
    number(&P::sector_start, -400, 800);
    number(&P::sector_end, -400, 800);
    number(&P::division_angle, r.division_min, 400);
    set_parameter(&P::RectDirection, int32_t(pick(-1, 12)));
    set_parameter(&P::IntegrationMode, run % 3);  // rectangle, sector, sectored division
    set_parameter(&P::RectAngleMode, run % 2);    // by direction, by angle
    read_parameters(current_image().ImageHeight);
  }
};

}  // namespace kestrin::test
