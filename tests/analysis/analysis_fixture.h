// The analysis tests' fresh start (see support/state_fixture.h) with the worker threads
// back at their default, plus helpers to set the parameters in the model, read what the
// commands showed, and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "analysis/dispatch.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "histogram_runs.h"
#include "image/image_store.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {

// The values of IntegrationMode (the region), RectAngleMode and RectDirection.
constexpr int32_t kRegionRectangle = 0, kRegionSector = 1, kRegionSectoredDivision = 2;
constexpr int32_t kByDirection = 0, kByAngle = 1;
constexpr int32_t kDirectionFull = 6;  // RectDirection FULL

class AnalysisTest : public StateTest {
protected:
  using P = IntegrationParams;

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
  // The parameter table's row of a field.
  template <class T>
  static const Parameter& row_of(T IntegrationParams::*field) {
    for (const Parameter& p : parameter_table())
      if constexpr (std::is_same_v<T, double>) {
        if (p.real == field) return p;
      } else if (p.integer == field) {
        return p;
      }
    throw std::logic_error("no parameter row holds this field");
  }
  // Sets a parameter as the script's setters do: its field in the model, shown in its
  // control, so a command that reads the controls before its run reads the same value.
  static void set_parameter(double IntegrationParams::*field, double value) { set_real_parameter(row_of(field), value); }
  static void set_parameter(int32_t IntegrationParams::*field, int32_t value) {
    set_integer_parameter(row_of(field), value);
  }
  // The region, and the rectangle's band: along a direction of the combo or at an angle.
  static void set_region(int32_t region) { set_parameter(&IntegrationParams::IntegrationMode, region); }
  static void set_direction(int32_t direction) { set_parameter(&IntegrationParams::RectDirection, direction); }
  static void set_band_mode(int32_t mode) { set_parameter(&IntegrationParams::RectAngleMode, mode); }
  // All three at once.
  static void set_region(int32_t region, int32_t direction, bool by_angle) {
    set_region(region);
    set_band_mode(by_angle ? kByAngle : kByDirection);
    set_direction(direction);
  }
  // The sector of the sector region, in degrees.
  static void set_sector(double start, double end) {
    set_parameter(&IntegrationParams::sector_start, start);
    set_parameter(&IntegrationParams::sector_end, end);
  }
  // The text a command showed for a parameter, in the control of its row.
  template <class T>
  static std::string shown_text(T IntegrationParams::*field) {
    return controls().text(control_of(row_of(field)).control);
  }
  // The value a choice's radios or an index's combo box show, -1 when no radio is checked.
  static int32_t shown_value(int32_t IntegrationParams::*field) {
    const Parameter& p = row_of(field);
    const ParameterControl& c = control_of(p);
    if (c.radios.empty()) return controls().item_index(c.control);
    for (size_t i = 0; i < c.radios.size(); ++i)
      if (controls().checked(c.radios[i])) return p.radios[i].value;
    return -1;
  }
  static void set_centre(double x, double y) {
    set_parameter(&IntegrationParams::X0, x);
    set_parameter(&IntegrationParams::Y0, y);
  }
  // The detector: camera length, pixel size and tilt (Phi, and Beta its azimuth).
  static void set_detector(double Lo, double pixel_x, double pixel_y, double Phi, double Beta) {
    set_parameter(&IntegrationParams::Lo, Lo);
    set_parameter(&IntegrationParams::pixel_x, pixel_x);
    set_parameter(&IntegrationParams::pixel_y, pixel_y);
    set_parameter(&IntegrationParams::Phi, Phi);
    set_parameter(&IntegrationParams::Beta, Beta);
  }
  // A ring image's geometry: centre, camera length, pixel size and tilt.
  static void set_geometry(const RingGeometry& g) {
    set_centre(g.X0, g.Y0);
    set_detector(g.Lo, g.pixel_x, g.pixel_y, g.Phi, g.Beta);
  }
  // An image of rings drawn with geometry g, its centre set.
  static void load_rings(const RingGeometry& g, const std::vector<Ring>& rings) {
    RingImageSpec spec;
    spec.geometry = g;
    spec.rings = rings;
    load_into_current_image(make_ring_image(spec), g.width, g.height);
    set_centre(g.X0, g.Y0);
  }
  // A 60 x 50 image of two rings round (31.3, 24.6) at a camera length of 20, 2theta from 1
  // in steps of 0.1, a band at 33 degrees, the sector 10 to 100 and sectors of 90 degrees:
  // sub-pixel, curved and flat sampling give different patterns on it.
  static void two_rings_setting() {
    load_rings({60, 50, 31.3, 24.6, 20, 0.1, 0.1, 0, 0}, {{8, 0.5, 3000}, {12, 0.4, 2000}});
    set_parameter(&P::Lo, 20);
    set_parameter(&P::two_theta_begin, 1);
    set_parameter(&P::two_theta_step, 0.1);
    set_parameter(&P::rect_angle, 33);
    set_sector(10, 100);
    set_parameter(&P::division_angle, 90);
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
  // Sets wide random geometry, ranges and regions, each number as six decimals give it: run
  // picks the region (box, sector, sectored) and the band mode (angle, direction).
  static void type_random_parameters(std::mt19937& rng, int run, const RandomReach& r) {
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
  }
};

}  // namespace kestrin::test
