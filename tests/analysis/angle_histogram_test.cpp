// The 2theta histograms: bin splitting, the final pass, the report, the window updates,
// exclusions, refusals and the free-sector patterns.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/angle_accumulator.h"
#include "analysis/angle_histogram.h"
#include "analysis/dispatch.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "model/parameters.h"

namespace kestrin::test {
namespace {

class AngleHistogramTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    whole_image_region();
    set_detector(100, 0.1, 0.1, 0, 0);
    set_parameter(&P::two_theta_begin, 0);
    set_parameter(&P::two_theta_step, 0.05);
  }
  static const NaxPattern& nax() { return state().nax_pattern; }
  static double pixel_two_theta(double dx_px, double Lo) { return std::atan(dx_px * 0.1 / Lo) * 180 / std::acos(-1.0); }
};

TEST_F(AngleHistogramTest, ReportIsLoggedInOrder) {
  load_flat_image(64, 48, 100);
  set_centre(30.5, 20.25);
  shown(calc_angle_histogram);
  const std::vector<std::string> expected = {
      "0,63,0,47",
      "Center position =  30.50000,   20.25000",
      "Tilt = 0.0000000, Azimuth =   0.00000",
      "",
      "Area   x=   0to   63",
      "       y=   0to   47",
      "2Theta Start  = 0.0000",
      "2Theta End    = 2.4500",
      "2Theta Step   = 0.0500",
      "Number of points=    50",
      "Max intensity   =  1003",
      "Intensity was multiplied by 10",
      "cos3 correction was made",
      "Use normal lorentz factor 1/sin(2th)sin(th).",
  };
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(nax().N, 50);
  EXPECT_TRUE(nax().has_kind(kAngleHistogram));
  EXPECT_EQ(nax().PatternName, "ringf");
  EXPECT_EQ(shown_text(&P::two_theta_begin), "  0.0000");
  EXPECT_EQ(shown_text(&P::two_theta_end), "  2.4500");
  EXPECT_EQ(shown_text(&P::graph_y_begin), "     0");
  EXPECT_EQ(shown_text(&P::graph_y_end), "  1114");  // Trunc(1003 / 0.9)
}

TEST_F(AngleHistogramTest, ConstantImageGivesCosineCubedCorrectedValues) {
  load_flat_image(64, 48, 100);
  set_centre(30.5, 20.25);
  shown(calc_angle_histogram);
  ASSERT_GT(nax().N, 40);
  const double rad = std::acos(-1.0) / 180;
  for (int i = 0; i < nax().N; ++i) {
    const double c = std::cos(0.05 * i * rad);
    const int32_t v = nax().values[size_t(i)];
    if (v != 0) {
      EXPECT_EQ(v, int32_t(std::trunc(1000 / (c * c * c) + 0.5))) << i;
    }
  }
  EXPECT_EQ(nax().values[size_t(nax().N)], 0);
}

TEST_F(AngleHistogramTest, SamplesSplitLinearlyBetweenTwoBins) {
  load_flat_image(40, 40, 50);
  AngleScan scan;
  scan.image = &current_image();
  IntegrationParams p;
  p.X0 = 20;
  p.Y0 = 20;
  p.Lo = 100;
  p.Phi = 0;
  p.Beta = 0;
  scan.geometry = DetectorGeometry::from(p);
  const double t = scan.geometry.two_theta(30, 20);
  scan.step = 0.01;
  struct Case {
    double pos, w_low, w_high;
  } cases[] = {{0.0, 1.0, 0.0}, {3.25, 0.75, 0.25}, {7.5, 0.5, 0.5}};
  for (const Case& c : cases) {
    scan.begin = t - c.pos * scan.step;
    scan.x1 = scan.x2 = 30;
    scan.y1 = scan.y2 = 20;
    AngleSums sums(100);
    accumulate_angles(scan, sums);
    const int b = int(c.pos);
    EXPECT_NEAR(sums.weight[size_t(b)], c.w_low, 1e-9) << c.pos;
    EXPECT_NEAR(sums.weight[size_t(b) + 1], c.w_high, 1e-9) << c.pos;
    EXPECT_NEAR(sums.sum[size_t(b)], 50 * c.w_low, 1e-7) << c.pos;
  }
}

TEST_F(AngleHistogramTest, TinyWeightCountsAsEmpty) {
  load_flat_image(40, 40, 50);
  set_centre(20, 20);
  only_pixel(30, 20);
  const double t = pixel_two_theta(10, 100);
  set_parameter(&P::two_theta_step, 0.01);
  set_parameter(&P::two_theta_begin, StrToFloat(Format("%.15f", {t - 3.0000001 * 0.01})));
  shown(calc_angle_histogram);
  EXPECT_EQ(nax().N, 4);
  EXPECT_GT(nax().values[3], 0);
  EXPECT_EQ(nax().values[4], 0);
}

TEST_F(AngleHistogramTest, LastBinSetsPointCountEndAndEdits) {
  load_flat_image(40, 40, 90);
  set_centre(20, 20);
  only_pixel(30, 20);  // 2theta atan(1 / 1.755) = 29.674: bins 1233 and 1234 from 5
  set_parameter(&P::Lo, 1.755);
  set_parameter(&P::two_theta_begin, 5);
  set_parameter(&P::two_theta_step, 0.02);
  shown(calc_angle_histogram);
  EXPECT_EQ(nax().N, 1235);
  EXPECT_NEAR(state().integration_params.two_theta_end, 29.68, 1e-12);
  EXPECT_EQ(shown_text(&P::two_theta_end), " 29.6800");
  EXPECT_EQ(shown_text(&P::two_theta_step), "0.020000");
}

TEST_F(AngleHistogramTest, GraphRangeFromTheMaximum) {
  load_flat_image(40, 40, 90);
  set_centre(20, 20);
  only_pixel(20, 20);  // 2theta exactly 0 = begin: weight 1 in bin 0, value 900
  shown(calc_angle_histogram);
  EXPECT_EQ(nax().maximum, 900);
  EXPECT_EQ(nax().N, 1);
  EXPECT_EQ(shown_text(&P::graph_y_end), "  1000");
  set_parameter(&P::division_angle, 90);
  shown(calc_free_angle_sectored_angle_histogram);
  EXPECT_EQ(shown_text(&P::graph_y_end), "  4500");
}

TEST_F(AngleHistogramTest, ExcludedPixelsDoNotCount) {
  // Bright pixels on every third column; masked (green) or shown at level 0 (blue) they
  // leave the flat pattern.
  const int W = 60, H = 50;
  std::vector<uint16_t> codes(size_t(W * H), 100);
  state().image_mask.resize(W, H);
  state().display_levels.level.assign(size_t(W * H), 5);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; x += 3) {
      codes[size_t(x + W * y)] = 5000;
      state().image_mask.bytes[size_t(x + W * y)] = 1;
      state().display_levels.level[size_t(x + W * y)] = 0;
    }
  load_into_current_image(codes, W, H);
  state().display_levels.width = W;
  state().display_levels.height = H;
  set_centre(30.5, 25.5);
  shown(calc_angle_histogram);
  EXPECT_GT(nax().maximum, 1100);
  for (int mode = 0; mode < 2; ++mode) {
    state().OmitGreen = mode == 0;
    state().OmitBlue = mode == 1;
    shown(calc_angle_histogram);
    EXPECT_GE(nax().maximum, 1000);
    EXPECT_LE(nax().maximum, 1010) << "mode " << mode;
  }
}

TEST_F(AngleHistogramTest, RefusesUnusableGeometryBeforeClearing) {
  load_flat_image(40, 40, 90);
  set_centre(20, 20);
  struct Case {
    double lo, step;
  } cases[] = {{0, 0.05}, {-5, 0.05}, {100, 0}, {100, -0.01}};
  for (const Case& c : cases) {
    state().nax_pattern.values.assign(kPatternSize, 7);
    state().nax_pattern.set_kind(kPixelHistogram);
    the_log().clear_history();
    set_parameter(&P::Lo, c.lo);
    set_parameter(&P::two_theta_step, c.step);
    shown(calc_angle_histogram);
    EXPECT_EQ(log(), std::vector<std::string>{" calc_angle_histogram():Camera length and 2Theta step must be greater than 0"});
    EXPECT_EQ(nax().values[0], 7);
    EXPECT_TRUE(nax().has_kind(kPixelHistogram));
  }
  the_log().clear_history();
  set_parameter(&P::Lo, 0);
  shown(calc_free_angle_sectored_angle_histogram);
  EXPECT_EQ(log(), std::vector<std::string>{
                       " calc_free_angle_sectored_angle_histogram():Camera length and 2Theta step must be greater than 0"});
}

TEST_F(AngleHistogramTest, FreeSectorsRefuseTooManySectors) {
  // Called directly, without the dispatcher's check: 360000 sectors are refused.
  load_flat_image(40, 40, 90);
  set_centre(20, 20);
  set_parameter(&P::division_angle, 0.001);
  shown(calc_free_angle_sectored_angle_histogram);
  EXPECT_EQ(log(), (std::vector<std::string>{"Input division angle error!",
                                              "The division angle must be at least 0.1 degree (3600 sectors at most)."}));
  EXPECT_EQ(state().sector_patterns.count, 0);
  EXPECT_TRUE(nax().empty());
}

TEST_F(AngleHistogramTest, NoImageMessages) {
  shown(calc_angle_histogram);
  shown(calc_angle_histogram_band);
  shown(calc_angle_histogram_sector);
  shown(calc_free_angle_sectored_angle_histogram);
  EXPECT_EQ(log(), (std::vector<std::string>{
                       " calc_angle_histogram():Image data does not exist",
                       " calc_angle_histogram():Image data does not exist",
                       " calc_angle_histogram():Image data does not exist",
                       " calc_free_angle_sectored_angle_histogram():Image data does not exist"}));
}

TEST_F(AngleHistogramTest, BadGeometryNeverCrashes) {
  load_flat_image(50, 40, 100);
  struct Case {
    double x0, y0, lo, px, phi, begin, step;
  } cases[] = {
      {1e9, 1e9, 100, 0.1, 0, 0, 0.05},     // centre far outside
      {-3e12, 20, 100, 0.1, 0, 0, 0.05},
      {25, 20, 100, 0, 0, 0, 0.05},         // pixel size 0
      {25, 20, 0.001, 0.1, 0, 0, 0.0001},   // angles beyond the last bin
      {25, 20, 100, 0.1, 89.9, 0, 0.05},    // part of the detector behind the sample
      {25, 20, 100, 0.1, -90, -50, 0.05},
      {25, 20, 100, 0.1, 0, 1e300, 1e-300},
      {25, 20, 100, -0.1, 0, 0, 0.05},
  };
  for (const Case& c : cases) {
    set_centre(c.x0, c.y0);
    set_parameter(&P::Lo, c.lo);
    set_parameter(&P::pixel_x, c.px);
    set_parameter(&P::Phi, c.phi);
    set_parameter(&P::two_theta_begin, c.begin);
    set_parameter(&P::two_theta_step, c.step);
    for (int dir : {0, 4, 6, 8}) {
      set_direction(dir);
      angle_intensity_command();
      EXPECT_GE(nax().N, 1);
      EXPECT_LE(nax().N, kPatternSize);
    }
    set_region(kRegionSectoredDivision);
    angle_intensity_command();
    set_region(kRegionSector);
    angle_intensity_command();
    set_region(kRegionRectangle);
  }
}

TEST_F(AngleHistogramTest, RandomParametersStayInBounds) {
  // Wide random geometry and regions on a small image: every run ends with a bounded
  // pattern or a refusal, never undefined behaviour (the sanitizers watch).
  load_flat_image(37, 23, 500);
  std::mt19937 rng(7);
  for (int run = 0; run < 300; ++run) {
    type_random_parameters(rng, run, {.centre_scale = 1e5, .begin_max = 60, .end_max = std::nullopt, .step_max = 0.2,
                                      .division_min = -5});
    angle_intensity_command();
    EXPECT_GE(nax().N, 0);
    EXPECT_LE(nax().N, kPatternSize);
  }
}

TEST_F(AngleHistogramTest, OneFullSectorEqualsTheFullBox) {
  load_rings({90, 70, 40.3, 31.7, 50, 0.1, 0.12, 3, 40}, {{4, 0.2, 500}, {7, 0.3, 300}});
  set_parameter(&P::pixel_y, 0.12);
  set_parameter(&P::Phi, 3);
  set_parameter(&P::Beta, 40);
  shown(calc_angle_histogram);
  const std::vector<int32_t> full = nax().values;
  const int32_t n = nax().N;
  set_parameter(&P::division_angle, 360);
  the_log().clear_history();
  shown(calc_free_angle_sectored_angle_histogram);
  ASSERT_EQ(state().sector_patterns.count, 1);
  const SectorPattern& sector = state().sector_patterns.sectors[0];
  for (int32_t i = 0; i < kPatternSize; ++i) ASSERT_EQ(sector.value(i), full[size_t(i)]) << i;
  EXPECT_EQ(sector.pattern.size(), size_t(n));  // stored up to the last point only
  EXPECT_EQ(sector.last_point, n);
  EXPECT_EQ(nax().N, n);
  EXPECT_TRUE(nax().has_kind(kFreeSectorAngle));
  EXPECT_EQ(nax().values, full);  // untouched by the free-sector routine
  EXPECT_EQ(log()[0], "Sector Angle = 360.00");
  EXPECT_EQ(log()[1], "Sector Number = 1");
  EXPECT_EQ(log().size(), 11u);  // no box, area or point-count lines
}

TEST_F(AngleHistogramTest, FreeSectorsRunCounterClockwiseFromPlusX) {
  // Each screen quadrant its own intensity: quadrant k counter-clockwise from +x (y up)
  // holds 100 (k + 1), so sector k of four holds about 1000 (k + 1).
  load_flat_image(41, 41, 0);
  auto& codes = current_image().image_codes;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) {
      const bool right = x > 20, up = y < 20;
      const int k = up ? (right ? 0 : 1) : (right ? 3 : 2);
      codes[size_t(x + 41 * y)] = uint16_t(100 * (k + 1));
    }
  set_centre(20.5, 19.5);
  set_parameter(&P::division_angle, 90);
  shown(calc_free_angle_sectored_angle_histogram);
  ASSERT_EQ(state().sector_patterns.count, 4);
  for (int k = 0; k < 4; ++k) {
    const auto& p = state().sector_patterns.sectors[size_t(k)].pattern;
    EXPECT_GE(*std::max_element(p.begin(), p.end()), 1000 * (k + 1)) << k;
    EXPECT_LE(*std::max_element(p.begin(), p.end()), 1010 * (k + 1)) << k;
  }
}

TEST_F(AngleHistogramTest, PatternValuesSaturate) {
  load_flat_image(30, 30, 1);
  current_image().intensity_table[1] = 3e38;  // float-TIFF range
  set_centre(15, 15);
  shown(calc_angle_histogram);
  EXPECT_EQ(nax().maximum, 2147483647);
}

// Each run computes its own region: a run right after a different one gives what it gives
// after a fresh start, pattern, name and report alike.
TEST_F(AngleHistogramTest, ARunLeavesNothingBehindForTheNext) {
  struct Run {
    int32_t region, mode;
    double angle;
  };
  const Run band{kRegionRectangle, kByAngle, 30};
  const Run sector{kRegionSector, kByDirection, 0};
  auto run = [this](const Run& r) {
    RingImageSpec spec;
    spec.rings = {{4, 0.2, 3000}, {7, 0.3, 2000}};
    load_into_current_image(make_ring_image(spec), 200, 200);
    set_centre(100.3, 99.6);
    set_sector(20, 80);
    set_parameter(&P::rect_angle, r.angle);
    set_region(r.region);
    set_band_mode(r.mode);
    the_log().clear_history();
    angle_intensity_command();
    return std::tuple(nax().values, nax().PatternName, log());
  };
  for (auto [first, second] : {std::pair{band, sector}, std::pair{sector, band}}) {
    run(first);
    const auto after_other = run(second);
    SetUp();
    EXPECT_EQ(after_other, run(second)) << second.region;
    EXPECT_GT(nax().maximum, 0);
  }
}

}  // namespace
}  // namespace kestrin::test
