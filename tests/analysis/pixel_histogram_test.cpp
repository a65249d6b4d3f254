// The pixel histograms: the split into whole-pixel bins, the cleared centre bins, the
// report and the graph edits, the centre search first, the cake variant, and parameters
// that cannot give distances.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/histogram_frame.h"
#include "analysis/pixel_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "histogram_runs.h"
#include "commands/parameter_io.h"
#include "support/recording_views.h"

namespace kestrin::test {
namespace {

class PixelHistogramTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    install_ports(views.ports());
    whole_image_region();
    set_detector(50, 0.1, 0.1, 0, 0);
    load_flat_image(40, 30, 100);
    set_centre(20.5, 15.25);
  }
  void TearDown() override {
    reset_headless_ports();
    AnalysisTest::TearDown();
  }
  static const NaxPattern& nax() { return state().nax_pattern; }
  RecordingViews views;
};

TEST_F(PixelHistogramTest, ReportAndGraphEdits) {
  state().fit_tables.count = 2;
  state().peak_table.count = 4;
  shown(calc_pixel_histogram);
  const std::vector<std::string> expected = {
      "<<<<<   Pixel Histogram   >>>>>",
      "Center position =  20.50000,   15.25000",
      " Tilt =  0.0000000 Azimuth =  0.0",
      " Region          = ",
      " Area         x  =    0to   39",
      "              y  =    0to   29",
      " Max distance    =     26",
      " Max intensity   =   1000",
      " Intensity was multiplied by 10",
  };
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(nax().N, 27);  // the far corner at 25.55 reaches bin 26
  EXPECT_TRUE(nax().has_kind(kPixelHistogram));
  EXPECT_EQ(nax().PatternName, "ringf");
  EXPECT_EQ(state().fit_tables.count, 0);
  EXPECT_EQ(state().peak_table.count, 0);
  for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(nax().values[size_t(i)], 0) << i;
  for (int32_t i = 20; i <= 26; ++i) EXPECT_EQ(nax().values[size_t(i)], 1000) << i;
  EXPECT_EQ(shown_text(&P::graph_x_begin), "   100");
  EXPECT_EQ(shown_text(&P::graph_x_end), "    26");
  EXPECT_EQ(shown_text(&P::graph_y_begin), "     0");
  EXPECT_EQ(shown_text(&P::graph_y_end), "  1111");
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(PixelHistogramTest, SlantLogs) {
  // A band at 40 degrees (down and right on the screen), then the sector from -30 to 60.
  set_parameter(&P::Beta, 30);
  set_parameter(&P::Phi, 2);
  set_parameter(&P::band_width, 10);
  set_parameter(&P::rect_angle, 40);
  set_sector(-30, 60);
  set_band_mode(kByAngle);
  shown(calc_slant_pixel_histogram);
  set_region(kRegionSector);
  shown(calc_slant_pixel_histogram_sector);
  const std::vector<std::string> expected = {
      "<<<<<   Slant Pixel Histogram   >>>>>", "Center position =  20.50000,   15.25000", " Tilt =  2.0000000 Azimuth = 30.0",
      " Region          = ",                   " Area         x  =   17to   39",          "              y  =   11to   29",
      " Max distance    =     24",             " Max intensity   =   1000",               " Intensity was multiplied by 10",
      "<<<<<   Slant Pixel Histogram   >>>>>", "Center position =  20.50000,   15.25000", " Tilt =  2.0000000 Azimuth = 30.0",
      " Region          = ",                   " Area         x  =   20to   39",          "              y  =    4to   29",
      " Max distance    =     24",             " Max intensity   =   1000",               " Intensity was multiplied by 10",
  };
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(nax().PatternName, "ring_sector330_420");  // -30 and 60 stored 360 higher
}

TEST_F(PixelHistogramTest, DistanceSplitsBetweenTwoBinsAndTheCentreBinsAreCleared) {
  // A pixel at r = 19.4: 0.6 to bin 19 (then cleared) and 0.4 to bin 20, whose mean is I.
  set_centre(30 - 19.4, 15);
  only_pixel(30, 15);
  const AngleScan scan = make_scan(30, 30, 15, 15, Sampling::Distance);
  AngleSums sums(30);
  accumulate_angles(scan, sums);
  EXPECT_NEAR(sums.weight[19], 0.6, 1e-12);
  EXPECT_NEAR(sums.weight[20], 0.4, 1e-12);
  EXPECT_NEAR(sums.sum[20], 40, 1e-10);
  shown(calc_pixel_histogram);
  EXPECT_EQ(nax().values[19], 0);
  EXPECT_EQ(nax().values[20], 1000);
  EXPECT_EQ(nax().N, 21);
}

TEST_F(PixelHistogramTest, AllExcludedGivesOnePoint) {
  state().image_mask.resize(40, 30);
  std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), uint8_t(1));
  state().OmitGreen = true;
  shown(calc_slant_pixel_histogram);
  EXPECT_EQ(nax().N, 1);
  EXPECT_EQ(nax().maximum, 0);
  EXPECT_EQ(shown_text(&P::graph_x_end), "     0");
  EXPECT_EQ(shown_text(&P::graph_y_end), "     0");
}

TEST_F(PixelHistogramTest, NoCentreRunsTheCentreSearchFirst) {
  // A direct-beam spot at (24, 11): the search puts the centre there, the histogram follows.
  current_image().image_codes[size_t(24 + 40 * 11)] = 60000;
  set_centre(0, 0);
  // The search the program installs when it wires its commands.
  set_missing_centre_search(find_missing_centre);
  shown(calc_pixel_histogram);
  set_missing_centre_search(nullptr);
  ASSERT_GE(log().size(), 4u);
  EXPECT_EQ(log()[0], "<<<<<   Pixel Histogram   >>>>>");
  EXPECT_EQ(log()[1], "<<<<<<<<<< FIND CENTER >>>>>>>>>>");
  EXPECT_NE(std::find(log().begin(), log().end(), "Center position =  24.00000,   11.00000"), log().end());
}

TEST_F(PixelHistogramTest, CakeVariantDrawsNothingAndKeepsTheFitCount) {
  set_region(kRegionSector);
  set_sector(-30, 30);
  state().fit_tables.count = 3;
  EXPECT_FALSE(shown(calc_cake_slant_pixel_histogram).draw);
  EXPECT_EQ(views.graph_draws, 0);
  EXPECT_EQ(state().fit_tables.count, 3);
  EXPECT_EQ(log().front(), "<<<<<   Slant Pixel Histogram   >>>>>");
  EXPECT_EQ(shown_text(&P::graph_x_end), Format("%6d", {nax().N - 1}));
  const std::vector<int32_t> cake = nax().values;
  shown(calc_slant_pixel_histogram_sector);
  EXPECT_EQ(nax().values, cake);
  EXPECT_EQ(views.graph_draws, 1);
  current_image().NoImageFlag = 1;
  the_log().clear_history();
  shown(calc_cake_slant_pixel_histogram);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<   Slant Pixel Histogram   >>>>>",
                                             " calc_slant_pixel_histogram() : Image data does not exist."}));
}

TEST_F(PixelHistogramTest, CameraLengthIsNeededOnlyForATilt) {
  set_parameter(&P::Lo, 0);
  shown(calc_pixel_histogram);
  EXPECT_EQ(nax().N, 27);  // no tilt: distances without a camera length
  state().nax_pattern = NaxPattern();
  for (double lo : {0, -5}) {
    set_parameter(&P::Lo, lo);
    set_parameter(&P::Phi, 3);
    the_log().clear_history();
    shown(calc_slant_pixel_histogram_sector);
    EXPECT_EQ(log(), (std::vector<std::string>{
                         "<<<<<   Slant Pixel Histogram   >>>>>",
                         " calc_slant_pixel_histogram():Camera length must be greater than 0 for a tilted detector"}));
    EXPECT_TRUE(nax().empty());
  }
}

TEST_F(PixelHistogramTest, TheLastBinTakesHalfOfAPixelAt35999AndAHalf) {
  // Pixel 30 at r = 35999.5 splits into bins 35999 and 36000; pixel 31 at 36000.5 lies
  // beyond the last bin and is left out.
  only_pixel(30, 15);
  state().image_mask.bytes[size_t(31 + 40 * 15)] = 0;
  set_centre(30 - 35999.5, 15);
  shown(calc_pixel_histogram);
  EXPECT_EQ(nax().N, kPatternSize);
  EXPECT_EQ(nax().values[35999], 1000);
  EXPECT_EQ(nax().values[36000], 1000);
  EXPECT_EQ(nax().values[35998], 0);
}

TEST_F(PixelHistogramTest, DistancesOutsideTheBinsAreSkipped) {
  struct Case {
    double x0, y0, phi, beta;
    int32_t max_points;  // at most this many points
  } cases[] = {
      {50000, -3000, 0, 0, 1},     // every distance beyond the last bin
      {35990, 15, 0, 0, 36001},    // some pixels at the last bins
      {20, 15, 89, 0, 36001},      // most of the detector behind the sample
      {20, 15, -89.9, 45, 36001},
      {-1e7, 1e7, 30, 10, 36001},  // a far centre on a steep tilt comes close again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x0 << " " << c.y0 << " " << c.phi);
    set_centre(c.x0, c.y0);
    set_parameter(&P::Phi, c.phi);
    set_parameter(&P::Beta, c.beta);
    the_log().clear_history();
    shown(calc_pixel_histogram);
    EXPECT_EQ(log().size(), 9u);
    EXPECT_GE(nax().N, 1);
    EXPECT_LE(nax().N, c.max_points);
  }
}

}  // namespace
}  // namespace kestrin::test
