// The background gauge: values by Trunc, both Enter rules with their resets, the drag's
// marker choice and limits, and the gauge row's ramp and refusals.
#include "commands/bg_gauge.h"

#include <gtest/gtest.h>

#include "image/display/gauge.h"

namespace kestrin::test {
namespace {

DisplayScale scale(int32_t gl, int32_t le, int32_t he, int32_t gh) {
  DisplayScale s;
  s.GaugeLow = gl, s.LowEdge = le, s.HighEdge = he, s.GaugeHigh = gh;
  return s;
}

TEST(BgGauge, ValuesTruncate) {
  const DisplayScale s = scale(0, 0, 1000, 1000);
  EXPECT_EQ(gauge_value(s, 99, 200, GaugeRounding::kTrunc), 495);
  EXPECT_EQ(gauge_value(s, 1, 3, GaugeRounding::kTrunc), 333);  // 333.3
  EXPECT_EQ(gauge_value(scale(-10, 0, 5, 10), 1, 3, GaugeRounding::kTrunc), -3);  // -3.33 toward zero
}

TEST(BgGauge, EnterRules) {
  struct Case {
    bool high;
    int32_t v;
    DisplayScale before, after;
  } cases[] = {
      {true, 500, scale(0, 100, 800, 1000), scale(0, 100, 500, 500)},
      {true, 50, scale(0, 100, 800, 1000), scale(0, 0, 50, 50)},        // low edge reset to the low end
      {true, -5, scale(0, 100, 800, 1000), scale(0, 100, 800, 1000)},   // not above the low end
      {false, 300, scale(0, 100, 800, 1000), scale(300, 300, 800, 1000)},
      {false, 900, scale(0, 100, 800, 1000), scale(900, 900, 1000, 1000)},  // high edge reset to the high end
      {false, 1000, scale(0, 100, 800, 1000), scale(0, 100, 800, 1000)},
  };
  for (const Case& c : cases) {
    DisplayScale s = c.before;
    c.high ? set_gauge_high(s, c.v) : bg_low_edge_entered(s, c.v);
    EXPECT_EQ(s.GaugeLow, c.after.GaugeLow) << c.high << " " << c.v;
    EXPECT_EQ(s.LowEdge, c.after.LowEdge) << c.high << " " << c.v;
    EXPECT_EQ(s.HighEdge, c.after.HighEdge) << c.high << " " << c.v;
    EXPECT_EQ(s.GaugeHigh, c.after.GaugeHigh) << c.high << " " << c.v;
  }
}

TEST(BgGauge, DragPicksTheNearerMarkerAndKeepsTheEdgesApart) {
  DisplayScale s = scale(0, 100, 800, 1000);
  GaugeDrag drag{.held = true};
  EXPECT_TRUE(drag_gauge_edge(drag, s, 450));  // equally near: the high marker
  EXPECT_EQ(s.HighEdge, 450);
  EXPECT_FALSE(drag_gauge_edge(drag, s, 100));  // not above the low edge
  EXPECT_EQ(s.HighEdge, 450);
  GaugeDrag low{.held = true};
  EXPECT_TRUE(drag_gauge_edge(low, s, 120));
  EXPECT_EQ(s.LowEdge, 120);
  EXPECT_FALSE(drag_gauge_edge(low, s, 450));
}

TEST(BgGauge, RowRampsBetweenTheMarkers) {
  auto row_of = [](const DisplayScale& s) {
    std::vector<uint8_t> levels;
    return gauge_row(s, 8, GaugeRounding::kTrunc, levels) ? levels : std::vector<uint8_t>{};
  };
  std::vector<uint8_t> levels;
  const auto marks = gauge_row(scale(0, 250, 750, 1000), 8, GaugeRounding::kTrunc, levels);
  ASSERT_TRUE(marks);
  EXPECT_EQ(marks->low, 2);
  EXPECT_EQ(marks->high, 6);
  EXPECT_EQ(levels, (std::vector<uint8_t>{0, 0, 0, 85, 170, 255, 255, 255}));
  EXPECT_TRUE(row_of(scale(0, 0, 1, 1000)).empty());    // the markers one column apart
  EXPECT_TRUE(row_of(scale(5, 0, 10, 20)).empty());     // low end above the low edge
  EXPECT_TRUE(row_of(scale(0, 10, 10, 20)).empty());    // edges equal
  EXPECT_TRUE(row_of(scale(10, 10, 10, 10)).empty());   // empty range
}

}  // namespace
}  // namespace kestrin::test
