// Ring images for the geometry refinement tests: six rings at Lo 150 mm, optionally tilted
// and with a direct-beam spot, their geometry set in the parameters.
#pragma once

#include <cmath>
#include <numbers>

#include "analysis/peak_search.h"
#include "analysis/sectored_histogram.h"
#include "analysis/tilt.h"
#include "base/report.h"
#include "histogram_runs.h"
#include "peak_fixture.h"

namespace kestrin::test {

inline constexpr double kRings[] = {8, 10, 12.5, 15, 18, 21.3};  // 211 to 585 pixels at 150 mm

class RingRefinementTest : public PeakTest {
protected:
  // A 1260 x 1240 image of the six rings at Lo 150 mm with 0.1 mm pixels, the beam at
  // (630.4, 618.7) tilted by (Phi, Beta); with `spot`, the direct beam as a bright spot.
  static RingImageSpec ring_spec(double Phi, double Beta, bool spot) {
    RingImageSpec spec;
    RingGeometry& g = spec.geometry;
    g.width = 1260, g.height = 1240, g.X0 = 630.4, g.Y0 = 618.7;
    g.Lo = 150, g.pixel_x = g.pixel_y = 0.1, g.Phi = Phi, g.Beta = Beta;
    if (spot) spec.rings.push_back({0.0, 0.08, 30000.0});
    for (double t : kRings) spec.rings.push_back({t, 0.05, 5000.0});
    spec.background = 20;
    return spec;
  }
  // A fresh program with the ring image tilted by (Phi, Beta) and the typed tilt none: the
  // sectored pattern, its peaks and the tilt from them, its lines in the log.
  void run_calc_tilt(double Phi, double Beta) {
    SetUp();
    load(ring_spec(Phi, Beta, false));
    sectoring_command();
    Report report = log_report();
    ASSERT_EQ(peak_search(report), 0);
    tilt = calc_tilt(report);
    ASSERT_EQ(tilt.status, 0);
  }
  TiltResult tilt;

  // Loads the image and sets its geometry with the tilt still unknown.
  static void load(const RingImageSpec& spec) {
    load_into_current_image(make_ring_image(spec), spec.geometry.width, spec.geometry.height);
    RingGeometry untilted = spec.geometry;
    untilted.Phi = untilted.Beta = 0;
    set_geometry(untilted);
    set_parameter(&IntegrationParams::wavelength, 1.0);
  }
  // Ring k's distance from the centre on an untilted detector, pixels.
  static double radius(double two_theta) { return 150 * std::tan(two_theta * std::numbers::pi / 180) / 0.1; }
  // Rectangle mode, the full image.
  static void full_image() {
    whole_image_region();
    set_parameter(&IntegrationParams::RectAngleMode, 0);  // by direction
  }
};

}  // namespace kestrin::test
