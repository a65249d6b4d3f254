// The gradation gauge: its ramp and edge columns, the range edits, the scale radios and the
// dragging of its edges.
#include <gtest/gtest.h>

#include "image/display/gauge.h"

namespace kestrin {
namespace {

DisplayScale scale(int32_t gauge_low, int32_t gauge_high, int32_t low, int32_t high) {
  DisplayScale s;
  s.GaugeLow = gauge_low, s.GaugeHigh = gauge_high, s.LowEdge = low, s.HighEdge = high;
  return s;
}

TEST(Gauge, RampBetweenTheRoundedEdgeColumns) {
  // 364 columns over 0..1000, edges 100 and 900: pL = Round(36.4) = 36, pH = Round(327.6) = 328.
  std::vector<uint8_t> row;
  const auto m = gauge_row(scale(0, 1000, 100, 900), 364, GaugeRounding::kRound, row);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->low, 36);
  EXPECT_EQ(m->high, 328);
  ASSERT_EQ(row.size(), 364u);
  EXPECT_EQ(row[35], 0);
  EXPECT_EQ(row[36], 0);
  EXPECT_EQ(row[37], 1);                // Round(255 / 291) = 1
  EXPECT_EQ(row[36 + 146], 128);        // Round(146 * 255 / 291) = Round(127.94)
  EXPECT_EQ(row[327], 255);
  EXPECT_EQ(row[328], 255);
  // Truncation (the other windows' gauges): 36.4 and 327.6 give 36 and 327.
  const auto t = gauge_marks(scale(0, 1000, 100, 900), 364, GaugeRounding::kTrunc);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->high, 327);
}

TEST(Gauge, NothingToDrawForAnInvalidWindowOrARampOfOneColumn) {
  const DisplayScale refused[] = {
      scale(5, 5, 5, 5),       scale(-1, 100, 0, 50),  scale(0, 100, -1, 50), scale(10, 100, 5, 50),
      scale(0, 100, 0, 101),   scale(0, 100, 50, 50),  scale(0, 100, 60, 50),
      scale(0, 1000, 500, 501),  // pL = pH on a 364-pixel gauge
      scale(0, 364, 100, 101),   // pH = pL + 1
  };
  std::vector<uint8_t> row = {7};
  for (const DisplayScale& s : refused) {
    EXPECT_FALSE(gauge_row(s, 364, GaugeRounding::kRound, row)) << s.GaugeLow << " " << s.GaugeHigh << " " << s.LowEdge
                                                               << " " << s.HighEdge;
    EXPECT_EQ(row, std::vector<uint8_t>{7});
  }
  EXPECT_FALSE(gauge_marks(scale(0, 1000, 0, 1000), 0, GaugeRounding::kRound));
}

// The range edits keep GaugeLow <= LowEdge < HighEdge <= GaugeHigh.
TEST(Gauge, RangeEditRules) {
  const struct {
    bool high;
    int32_t v;
    DisplayScale before, after;
  } cases[] = {
      {true, 500, scale(0, 1000, 100, 900), scale(0, 500, 100, 500)},   // the high edge comes down
      {true, 50, scale(0, 1000, 100, 900), scale(0, 50, 0, 50)},        // the low edge falls back to the range's start
      {true, 0, scale(0, 1000, 100, 900), scale(0, 1000, 100, 900)},    // not above GaugeLow: nothing
      {true, 2000, scale(0, 1000, 100, 900), scale(0, 2000, 100, 900)},
      {false, 300, scale(0, 1000, 100, 900), scale(300, 1000, 300, 900)},
      {false, 950, scale(0, 1000, 100, 900), scale(950, 1000, 950, 951)},  // HighEdge := LowEdge + 1
      {false, 1000, scale(0, 1000, 100, 900), scale(0, 1000, 100, 900)},   // not below GaugeHigh: nothing
      {false, -50, scale(0, 1000, 100, 900), scale(-50, 1000, 100, 900)},
  };
  for (const auto& c : cases) {
    DisplayScale s = c.before;
    c.high ? set_gauge_high(s, c.v) : set_gauge_low(s, c.v);
    EXPECT_EQ(s.GaugeLow, c.after.GaugeLow) << c.high << " " << c.v;
    EXPECT_EQ(s.GaugeHigh, c.after.GaugeHigh) << c.high << " " << c.v;
    EXPECT_EQ(s.LowEdge, c.after.LowEdge) << c.high << " " << c.v;
    EXPECT_EQ(s.HighEdge, c.after.HighEdge) << c.high << " " << c.v;
  }
}

TEST(Gauge, ScaleRadiosSetTheRangeAndTheEdges) {
  DisplayScale s = scale(10, 500, 20, 400);
  set_log_scale(s, 9876);
  EXPECT_EQ(s.DisplayMode, 0);
  EXPECT_EQ(s.GaugeLow, 0);
  EXPECT_EQ(s.LowEdge, 0);
  EXPECT_EQ(s.GaugeHigh, 9876);
  EXPECT_EQ(s.HighEdge, 9876);
  set_linear_scale(s, 4000);
  EXPECT_EQ(s.DisplayMode, 1);
  EXPECT_EQ(s.GaugeHigh, 2000);
  EXPECT_EQ(s.HighEdge, 2000);
  set_linear_scale(s, 60000);  // above 50000 the bound stays
  EXPECT_EQ(s.GaugeHigh, 2000);
}

TEST(Gauge, DragChoosesTheNearerEdgeATieGoesHigh) {
  DisplayScale s = scale(0, 1000, 200, 600);
  // A press halfway (v = 400) moves the high edge.
  EXPECT_EQ(gauge_value(s, 182, 364, GaugeRounding::kRound), 500);  // 182000 / 364
  GaugeDrag d;
  EXPECT_FALSE(drag_gauge_edge(d, s, 400));  // not held: nothing
  d.held = true;
  EXPECT_TRUE(drag_gauge_edge(d, s, 400));
  EXPECT_TRUE(d.high);
  EXPECT_EQ(s.HighEdge, 400);
  // The chosen edge stays chosen; a value at or below the low edge is refused.
  EXPECT_FALSE(drag_gauge_edge(d, s, 150));
  EXPECT_EQ(s.HighEdge, 400);
  EXPECT_TRUE(drag_gauge_edge(d, s, 1000));
  EXPECT_FALSE(drag_gauge_edge(d, s, 1001));
  // Nearer the low edge: the low edge moves, and not onto the high edge.
  GaugeDrag low{true, false, false};
  EXPECT_TRUE(drag_gauge_edge(low, s, 250));
  EXPECT_TRUE(low.low);
  EXPECT_EQ(s.LowEdge, 250);
  EXPECT_FALSE(drag_gauge_edge(low, s, 1000));
  EXPECT_FALSE(drag_gauge_edge(low, s, -1));
  EXPECT_TRUE(drag_gauge_edge(low, s, 0));
}

}  // namespace
}  // namespace kestrin
