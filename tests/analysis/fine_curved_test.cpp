// The curved-plate and sub-pixel 2theta histograms: the curved-plate angle, the box
// routines' frame (its refusals, report and edits), the report subsets of the region
// variants, the empty bins and the refusal of unusable camera lengths.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/curved_plate.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/geometry.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"

namespace kestrin::test {
namespace {


TEST(CurvedPlate, AngleOfTheCylinder) {
  const CurvedPlate c{100.5, 40.25, 0.1, 0.2, 80};
  struct Case {
    double x, y, expected;
  } cases[] = {
      {100.5, 40.25, 0.0},                                 // the centre
      {100.5 + 80 * 3.14159265358979323846 / 2 / 0.1, 40.25, 90.0},  // a quarter of the cylinder
      {100.5 - 400, 40.25, 400 * 0.1 / 80 / kDegToRad},             // on the centre row: the arc's angle
      {100.5 + 1000, 40.25, 1000 * 0.1 / 80 / kDegToRad},
      {100.5, 40.25 - 200, std::atan(200 * 0.2 / 80) / kDegToRad},  // along the axis: a flat column
  };
  for (const Case& k : cases) EXPECT_NEAR(c.two_theta(k.x, k.y), k.expected, 1e-11) << k.x << "," << k.y;
  // Rounding past +-1 is clamped: no NaN reaches the bins.
  EXPECT_EQ(CurvedPlate::degrees_of_cos(1.0000000000000002), 0.0);
  EXPECT_EQ(CurvedPlate::degrees_of_cos(-1.0000000000000002), 180.0);
  EXPECT_TRUE(std::isnan(CurvedPlate::degrees_of_cos(std::nan(""))));
}

class FineCurvedTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    whole_image_region();
    set_detector(50, 0.1, 0.1, 2, 30);
    set_parameter(&P::two_theta_begin, 0);
    set_parameter(&P::two_theta_end, 20);
    set_parameter(&P::two_theta_step, 0.5);
    set_parameter(&P::rect_angle, 40);
    set_sector(-30, 60);
    load_flat_image(40, 30, 100);
    set_centre(20.5, 15.25);
  }
  static const NaxPattern& nax() { return state().nax_pattern; }
};

TEST_F(FineCurvedTest, FineBoxLogAndEdits) {
  const std::string typed_end = shown_text(&P::two_theta_end);
  state().fit_tables.count = 3;
  shown(calc_fine_angle_histogram);
  const std::vector<std::string> expected = {
      "<<<<<   Fine Angle Histogram   >>>>>",
      "Center position =  20.50000,   15.25000",
      " Tilt =  2.0000000 Azimuth = 30.0",
      " Region           = ",
      " Area          x  =    0 to  39",
      "               y  =    0 to  29",
      " 2theta start     =  0.0000",
      " 2theta end       =  3.0000",
      " 2theta step      =  0.5000",
      " Number of points =      7",
      " Max intensity    =   1004",
      " Intensity was multiplied by 10",
      " cos3 correction was made !",
      " Use normal lorentz factor 1/sin(2th)sin(th).",
  };
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(state().fit_tables.count, 0);
  EXPECT_TRUE(nax().has_kind(kAngleHistogram));
  EXPECT_EQ(nax().PatternName, "ringf");
  // The graph window's edits; the main window's 2theta edits stay as typed.
  EXPECT_EQ(shown_text(&P::graph_2theta_begin), "  0.0000");
  EXPECT_EQ(shown_text(&P::graph_2theta_end), "  3.0000");
  EXPECT_EQ(shown_text(&P::graph_y_end), "  1115");  // Trunc(1004 / 0.9)
  EXPECT_EQ(shown_text(&P::two_theta_end), typed_end);
  EXPECT_EQ(state().integration_params.two_theta_end, 3.0);
}

TEST_F(FineCurvedTest, CurvedBoxUsesTheFineFrameWithoutCosineCubed) {
  current_image().image_type = kTypeRaxisCS;
  shown(calc_curved_angle_histogram);
  const std::vector<std::string> expected = {
      "<<<<<   Fine Angle Histogram   >>>>>",
      "Center position =  20.50000,   15.25000",
      " Tilt =  2.0000000 Azimuth = 30.0",
      " Region           = ",
      " Area          x  =    0 to  39",
      "               y  =    0 to  29",
      " 2theta start     =  0.0000",
      " 2theta end       =  3.0000",
      " 2theta step      =  0.5000",
      " Number of points =      7",
      " Max intensity    =   1000",
      " Intensity was multiplied by 10",
      " Use normal lorentz factor 1/sin(2th)sin(th).",
  };
  EXPECT_EQ(log(), expected);
  // No cos^3: every filled bin of a flat image holds 10 I.
  for (int32_t i = 0; i < nax().N; ++i) EXPECT_EQ(nax().values[size_t(i)], 1000) << i;
  EXPECT_EQ(nax().values[size_t(nax().N)], 0);
}

TEST_F(FineCurvedTest, RegionVariantLogs) {
  // A band 10 pixels wide at 40 degrees (down and right on the screen), the sector from -30
  // to 60. The curved plate's band drops the cos3 line, its sector the Lorentz line too.
  set_parameter(&P::band_width, 10);
  const std::vector<std::string> band_head = {"17,39,11,29", "Center position =  20.50000,   15.25000",
                                              "Tilt = 2.0000000, Azimuth =  30.00000", "", "Area   x=  17to   39",
                                              "       y=  11to   29"};
  const std::vector<std::string> sector_head = {"20,39,4,29", "Center position =  20.50000,   15.25000",
                                                "Tilt = 2.0000000, Azimuth =  30.00000", "", "Area   x=  20to   39",
                                                "       y=   4to   29"};
  const std::vector<std::string> curved_tail = {"2Theta Start  = 0.0000", "2Theta End    = 3.0000", "2Theta Step   = 0.5000",
                                                "Number of points=     7", "Max intensity   =  1000",
                                                "Intensity was multiplied by 10"};
  const std::vector<std::string> fine_tail = {"2Theta Start  = 0.0000",  "2Theta End    = 3.0000",
                                              "2Theta Step   = 0.5000",  "Number of points=     7",
                                              "Max intensity   =  1004", "Intensity was multiplied by 10",
                                              "cos3 correction was made", "Use normal lorentz factor 1/sin(2th)sin(th)."};
  const std::string lorentz = "Use normal lorentz factor 1/sin(2th)sin(th).";
  struct Case {
    HistogramRoutine routine;
    bool sector;  // the sector region, else the rectangle's band at an angle
    std::vector<std::string> head, tail, end;
    bool clears_fit;
  } cases[] = {
      {calc_curved_angle_histogram_band, false, band_head, curved_tail, {lorentz}, true},
      {calc_curved_angle_histogram_sector, true, sector_head, curved_tail, {}, false},
      {calc_fine_angle_histogram_band, false, band_head, fine_tail, {}, true},
      {calc_fine_angle_histogram_sector, true, sector_head, fine_tail, {}, false},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    if (c.sector) {
      set_region(kRegionSector);
    } else {
      set_band_mode(kByAngle);
    }
    state().fit_tables.count = 3;
    shown(c.routine);
    std::vector<std::string> expected = c.head;
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    expected.insert(expected.end(), c.end.begin(), c.end.end());
    EXPECT_EQ(log(), expected) << c.sector;
    EXPECT_EQ(state().fit_tables.count, c.clears_fit ? 0 : 3);
    set_region(kRegionRectangle);
  }
}

TEST_F(FineCurvedTest, EmptyBinsHoldOneInTheFineBoxOnly) {
  only_pixel(30, 15);
  shown(calc_fine_angle_histogram);
  const int32_t n = nax().N;
  ASSERT_GT(n, 3);
  int32_t ones = 0;
  for (int32_t i = 0; i < n; ++i) ones += nax().values[size_t(i)] == 1;
  EXPECT_GT(ones, 0);  // empty bins inside the pattern
  EXPECT_EQ(nax().values[size_t(n)], 1);
  EXPECT_EQ(nax().values[kPatternSize - 1], 1);
  set_band_mode(kByAngle);
  set_parameter(&P::rect_angle, 1);
  shown(calc_fine_angle_histogram_band);
  EXPECT_EQ(nax().values[kPatternSize - 1], 0);
  EXPECT_EQ(nax().values[0], 0);
}

TEST_F(FineCurvedTest, FineEqualsThePlainRoutineOnAConstantImage) {
  set_parameter(&P::two_theta_step, 0.05);
  shown(calc_angle_histogram);
  const std::vector<int32_t> plain = nax().values;
  const int32_t n = nax().N;
  shown(calc_fine_angle_histogram);
  ASSERT_GE(nax().N, n);  // sub-positions reach a third of a pixel further
  for (int32_t i = 0; i < nax().N; ++i) {
    const double c = std::cos(0.05 * i * kDegToRad);
    EXPECT_EQ(nax().values[size_t(i)], int32_t(std::trunc(1000 / (c * c * c) + 0.5))) << i;
    if (plain[size_t(i)] != 0) {
      EXPECT_EQ(nax().values[size_t(i)], plain[size_t(i)]) << i;
    }
  }
}

TEST_F(FineCurvedTest, FineFrameRefusesAnglesAndStepsOutOfRange) {
  struct Case {
    double begin, end, step;
    const char* refusal;  // null: the run goes ahead
  } cases[] = {
      {-0.1, 20, 0.5, " calc_fine_angle_histogram() : 2theta region error."},
      {180.01, 20, 0.5, " calc_fine_angle_histogram() : 2theta region error."},
      {0, -1, 0.5, " calc_fine_angle_histogram() : 2theta region error."},
      {0, 180.0001, 0.5, " calc_fine_angle_histogram() : 2theta region error."},
      {0, 180, 0.5, nullptr},
      {0, 20, 0.0001, nullptr},
      {0, 20, 10, nullptr},
      {0, 20, 0.00009, " calc_fine_angle_histogram() : 2theta step error."},
      {0, 20, 10.5, " calc_fine_angle_histogram() : 2theta step error."},
      {0, 20, -1, " calc_fine_angle_histogram() : 2theta step error."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.begin << " " << c.end << " " << c.step);
    set_parameter(&P::two_theta_begin, c.begin);
    set_parameter(&P::two_theta_end, c.end);
    set_parameter(&P::two_theta_step, c.step);
    for (HistogramRoutine routine : {calc_fine_angle_histogram, calc_curved_angle_histogram}) {
      the_log().clear_history();
      state().nax_pattern.values.assign(kPatternSize, 7);
      state().fit_tables.count = 3;
      shown(routine);
      if (c.refusal) {
        EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<   Fine Angle Histogram   >>>>>", c.refusal}));
        EXPECT_EQ(nax().values[0], 7);  // nothing cleared
        EXPECT_EQ(state().fit_tables.count, 3);
      } else {
        EXPECT_EQ(log().back(), " Use normal lorentz factor 1/sin(2th)sin(th).");
      }
    }
  }
}

TEST_F(FineCurvedTest, UnusableCameraLengthIsRefusedBeforeClearing) {
  for (double lo : {0, -20}) {
    set_parameter(&P::Lo, lo);
    state().nax_pattern.values.assign(kPatternSize, 7);
    the_log().clear_history();
    shown(calc_curved_angle_histogram);
    shown(calc_curved_angle_histogram_band);
    shown(calc_fine_angle_histogram_sector);
    EXPECT_EQ(log(), (std::vector<std::string>{
                         "<<<<<   Fine Angle Histogram   >>>>>",
                         " calc_fine_angle_histogram():Camera length and 2Theta step must be greater than 0",
                         " calc_angle_histogram():Camera length and 2Theta step must be greater than 0",
                         " calc_angle_histogram():Camera length and 2Theta step must be greater than 0"}));
    EXPECT_EQ(nax().values[0], 7);
  }
}

TEST_F(FineCurvedTest, CurvedAngleIgnoresTheTilt) {
  // One pixel on the centre row, 12 pixels right: 2theta = 1.2 / 50 radians whatever the tilt.
  current_image().image_type = kTypeRaxisCS;
  set_centre(18, 15);
  only_pixel(30, 15);
  set_parameter(&P::two_theta_step, 0.001);
  const double expected = 12 * 0.1 / 50 / kDegToRad;
  for (double phi : {0, 25, -60}) {
    set_parameter(&P::Phi, phi);
    shown(calc_curved_angle_histogram);
    const int32_t b = int32_t(expected / 0.001);
    EXPECT_EQ(nax().N, b + 2) << phi;
    EXPECT_EQ(nax().values[size_t(b)], 1000) << phi;
  }
}

TEST_F(FineCurvedTest, NoImage) {
  current_image().NoImageFlag = 1;
  shown(calc_fine_angle_histogram);
  shown(calc_curved_angle_histogram);
  shown(calc_fine_angle_histogram_band);
  shown(calc_curved_angle_histogram_sector);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<   Fine Angle Histogram   >>>>>",
                                             " calc_fine_angle_histogram() : Image data does not exist.",
                                             "<<<<<   Fine Angle Histogram   >>>>>",
                                             " calc_fine_angle_histogram() : Image data does not exist.",
                                             " calc_angle_histogram():Image data does not exist",
                                             " calc_angle_histogram():Image data does not exist"}));
}

}  // namespace
}  // namespace kestrin::test
