// Straight-line integration: which row or column makes each point, the fixed 36001 points,
// the report, exclusions, saturation and refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/line_integration.h"
#include "analysis_fixture.h"
#include "histogram_runs.h"

namespace kestrin::test {
namespace {

class LineIntegrationTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    set_region(kRegionRectangle);
    set_band_mode(kByDirection);
    set_parameter(&P::band_width, 10);
    load_flat_image(40, 30, 0);
    set_centre(20, 15);
  }
  static void rows_numbered() {
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) current_image().image_codes[size_t(x + 40 * y)] = uint16_t(1 + y);
  }
  static void columns_numbered() {
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) current_image().image_codes[size_t(x + 40 * y)] = uint16_t(1 + x);
  }
  static void run(int32_t direction) {
    set_direction(direction);
    shown([direction](Report& r) { return calc_line_integration(direction, r); });
  }
  static const std::vector<int32_t>& values() { return state().nax_pattern.values; }
};

TEST_F(LineIntegrationTest, TopStripReportAndPoints) {
  rows_numbered();
  state().fit_tables.count = 4;
  state().peak_table.count = 2;
  run(0);
  const std::vector<std::string> expected = {
      "<<<<<   Straight Line Integration   >>>>>",
      "Center position =  20.00000,   15.00000",
      " Tilt =  0.0000000 Azimuth =324.0",  // the main window's start value
      " Region          = ",
      " Area         x  =   15to   25",
      "              y  =    0to   14",
      " Max distance    =  36000",
      " Max intensity   =    165",
  };
  EXPECT_EQ(log(), expected);
  // Point 0 is the row just above the centre row (row 14 holds 15), then upwards.
  EXPECT_EQ(values()[0], 11 * 15);
  EXPECT_EQ(values()[1], 11 * 14);
  EXPECT_EQ(values()[14], 11 * 1);
  EXPECT_EQ(values()[15], 0);
  const NaxPattern& nax = state().nax_pattern;
  EXPECT_EQ(nax.N, kPatternSize);
  EXPECT_TRUE(nax.has_kind(kPixelHistogram));
  EXPECT_EQ(nax.PatternName, "ringt");
  EXPECT_EQ(state().fit_tables.count, 4);
  EXPECT_EQ(state().peak_table.count, 0);
  EXPECT_EQ(shown_text(&P::graph_x_begin), "   100");
  EXPECT_EQ(shown_text(&P::graph_x_end), " 36000");
  EXPECT_EQ(shown_text(&P::graph_y_end), "   183");  // Trunc(165 / 0.9)
}

TEST_F(LineIntegrationTest, EachDirectionStartsOnTheCentreSide) {
  struct Case {
    int32_t direction;
    bool by_row;
    int32_t first_line, lines;  // the row or column of point 0, and the strip's length
    int32_t step;               // +1: the next point is further down or right
  } cases[] = {
      {0, true, 14, 15, -1},
      {1, true, 16, 14, +1},
      {3, false, 19, 20, -1},
      {4, false, 21, 19, +1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    c.by_row ? rows_numbered() : columns_numbered();
    run(c.direction);
    for (int32_t i = 0; i < c.lines; ++i) EXPECT_EQ(values()[size_t(i)], 11 * (1 + c.first_line + c.step * i)) << i;
    EXPECT_EQ(values()[size_t(c.lines)], 0);
  }
}

TEST_F(LineIntegrationTest, OtherDirectionsGiveAnAllZeroPatternWithTheWholeReport) {
  rows_numbered();
  for (int32_t direction : {2, 5, 6, 8}) {
    the_log().clear_history();
    run(direction);
    EXPECT_EQ(log().size(), 8u) << direction;
    EXPECT_EQ(log()[6], " Max distance    =  36000");
    EXPECT_EQ(log()[7], " Max intensity   =      0");
    EXPECT_EQ(state().nax_pattern.N, kPatternSize);
    EXPECT_EQ(std::count(values().begin(), values().end(), 0), kPatternSize);
  }
}

TEST_F(LineIntegrationTest, ExcludedPixelsLowerTheSums) {
  rows_numbered();
  state().image_mask.resize(40, 30);
  state().image_mask.bytes[size_t(17 + 40 * 14)] = 1;
  state().image_mask.bytes[size_t(18 + 40 * 14)] = 1;
  state().OmitGreen = true;
  run(0);
  EXPECT_EQ(values()[0], 9 * 15);
  EXPECT_EQ(values()[1], 11 * 14);
}

TEST_F(LineIntegrationTest, SumsSaturate) {
  current_image().intensity_table[7] = 3e38;  // a floating-point TIFF
  current_image().image_codes[size_t(20 + 40 * 14)] = 7;
  current_image().intensity_table[8] = -3e38;
  current_image().image_codes[size_t(20 + 40 * 13)] = 8;
  run(0);
  EXPECT_EQ(values()[0], 2147483647);
  EXPECT_EQ(values()[1], -2147483647 - 1);
  EXPECT_EQ(state().nax_pattern.maximum, 2147483647);
}

TEST_F(LineIntegrationTest, RefusalsLeaveThePattern) {
  state().nax_pattern.values.assign(kPatternSize, 7);
  current_image().NoImageFlag = 1;
  run(0);
  // A one-pixel image: the centre search finds (0, 0), which gives no area.
  load_flat_image(1, 1, 50);
  set_centre(0, 0);
  run(0);
  EXPECT_EQ(log().front(), "<<<<<   Straight Line Integration   >>>>>");
  EXPECT_EQ(log()[1], " calc_line_integration() : Image data does not exist.");
  EXPECT_EQ(log().back(), " calc_line_integration() : set_area() error");
  EXPECT_EQ(values()[0], 7);
}

}  // namespace
}  // namespace kestrin::test
