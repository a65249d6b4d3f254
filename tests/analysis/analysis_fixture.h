// The analysis tests' fresh start (see support/state_fixture.h) with the worker threads
// back at their default, plus helpers to set the centre edits and load a small image.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/lanes.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "image/image_store.h"
#include "model/parameters.h"
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
  // Types a ring image's geometry into the main window: centre, camera length, pixel size
  // and tilt.
  static void set_geometry(const RingGeometry& g) {
    set_centre(g.X0, g.Y0);
    edit(frmMain::edtCameraLength, FloatToStr(g.Lo));
    edit(frmMain::edtPixelX, FloatToStr(g.pixel_x));
    edit(frmMain::edtPixelY, FloatToStr(g.pixel_y));
    edit(frmMain::edtPhi, FloatToStr(g.Phi));
    edit(frmMain::edtBeta, FloatToStr(g.Beta));
  }

  // The 2theta pattern of the whole image (the rectangle FULL) with the other settings as
  // the main window holds them: what the ring removal works on.
  static void whole_image_angle_pattern() {
    check(frmMain::rbtnRectangle);
    controls().set_item_index(frmMain::cmbDirection, 6);
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
  // Types wide random geometry, ranges and regions into the main window and reads them:
  // run picks the region radio (box, sector, sectored) and the band mode (angle, direction).
  static void type_random_parameters(std::mt19937& rng, int run, const RandomReach& r) {
    auto pick = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto number = [&](ControlName name, double lo, double hi) { edit(name, Format("%.6f", {pick(lo, hi)})); };
    edit(frmMain::edtCenterX0, Format("%.6f", {pick(-1e4, 1e4) * (run % 3 == 0 ? r.centre_scale : 1e-3)}));
    number(frmMain::edtCenterY0, -100, 100);
    number(frmMain::edtCameraLength, -10, 500);
    number(frmMain::edtPixelX, -0.1, 0.3);
    number(frmMain::edtPixelY, 0, 0.3);
    number(frmMain::edtPhi, -95, 95);
    number(frmMain::edtBeta, -720, 720);
    number(frmMain::edt2ThetaBegin, -20, r.begin_max);
    if (r.end_max) number(frmMain::edt2ThetaEnd, -20, *r.end_max);
    number(frmMain::edt2ThetaStep, -0.001, r.step_max);
    edit(frmMain::edtBandWidth, std::to_string(int(pick(-50, 200))));
    number(frmMain::edtRectAngle, -1000, 1000);
    number(frmMain::edtSectorStartAngle, -400, 800);
    number(frmMain::edtSectorEndAngle, -400, 800);
    number(frmMain::edtSectoredAngle, r.division_min, 400);
    controls().set_item_index(frmMain::cmbDirection, int(pick(-1, 12)));
    const ControlName radios[] = {frmMain::rbtnRectangle, frmMain::rbtnSector, frmMain::rbtnSectoredDivision};
    check(radios[run % 3]);
    check(run % 2 ? frmMain::rbtnRect_Angle : frmMain::rbtnRect_Direction);
    read_parameters(current_image().ImageHeight);
  }
};

}  // namespace kestrin::test
