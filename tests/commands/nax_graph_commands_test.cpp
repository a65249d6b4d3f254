// The pattern graph's mouse commands: the layout behind the clicks, adding near a click with
// its marker, duplicates, the full table, deleting under a click and the sector lists.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/peak_fixture.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "commands/nax_graph_commands.h"

namespace kestrin::test {
namespace {

class GraphClickTest : public PeakTest {
protected:
  // A pixel pattern with Gaussian peaks, shown from x = 0 at 5 picture pixels per bin
  // (the left margin is 50 picture pixels).
  void pixel_pattern(std::vector<double> centres) {
    set_peaked_pixel_pattern(centres);
    IntegrationParams& p = state().integration_params;
    p.graph_x_begin = 0, p.graph_x_end = 100, p.graph_y_begin = 0, p.graph_y_end = 20000;
    update_graph_layout();
  }
  static int32_t click_at(double data) { return int32_t(50 + data * 5); }
  const PeakTable& table() { return state().peak_table; }
};

TEST_F(GraphClickTest, ClickToDataUsesTheTenthMarginAndTheActiveRange) {
  set_pattern(std::vector<int32_t>(10, 0), kPixelHistogram);
  EXPECT_FALSE(click_to_data(100));  // no scale before the first layout
  IntegrationParams& p = state().integration_params;
  p.graph_x_begin = 300, p.graph_x_end = 200;  // falls back to 100..1200
  update_graph_layout();
  EXPECT_EQ(p.graph_x_begin, 100);
  EXPECT_EQ(p.graph_x_end, 1200);
  EXPECT_DOUBLE_EQ(*click_to_data(50), 100.0);
  EXPECT_DOUBLE_EQ(*click_to_data(550), 1200.0);
  state().nax_pattern.set_kind(kAngleHistogram);
  p.graph_2theta_begin = 10.0, p.graph_2theta_end = 20.0;
  update_graph_layout();
  EXPECT_DOUBLE_EQ(*click_to_data(300), 15.0);
  init_graph_size();
  EXPECT_EQ(state().graph.GraphWidth, 500);
  EXPECT_EQ(state().graph.GraphHeight, 400);
}

TEST_F(GraphClickTest, ASignChangeAddsExactlyOnePeakAndMarksIt) {
  pixel_pattern({60.3});
  add_peak_proc(click_at(58.6));
  ASSERT_EQ(table().count, 1);
  EXPECT_NEAR(table().x[0], 60.3, 0.1);
  EXPECT_EQ(table().intensity[0], state().nax_pattern.values[60]);
  EXPECT_EQ(views.peak_lists, 1);
  ASSERT_EQ(views.lines.size(), 1u);
  const GraphLine& l = views.lines[0];
  const int gx = int(table().x[0] * 5.0);
  const int gy = int(std::trunc(table().intensity[0]) * 0.9 * 400 / 20000);
  EXPECT_EQ(l.x1, 50 + gx);
  EXPECT_EQ(l.x2, 50 + gx);
  EXPECT_EQ(l.y1, 400 - gy - 2);
  EXPECT_EQ(l.y2, 400 - gy - 12);
  EXPECT_EQ(l.colour, rgb_to_color(0, 0, 255));
}

TEST_F(GraphClickTest, MonotoneStretchesAndClicksNearTheEndsAddNothing) {
  pixel_pattern({60.3});
  add_peak_proc(click_at(30.5));  // flat base
  add_peak_proc(click_at(56.0));  // rising flank: slope positive all along
  add_peak_proc(click_at(3.0));   // below bin 6
  add_peak_proc(click_at(196.0)); // beyond n - 7
  EXPECT_EQ(table().count, 0);
  EXPECT_TRUE(log().empty());
}

TEST_F(GraphClickTest, ADuplicateWithinOnePixelIsRefused) {
  pixel_pattern({60.3});
  add_peak_proc(click_at(59.0));
  ASSERT_EQ(table().count, 1);
  add_peak_proc(click_at(61.0));
  EXPECT_EQ(table().count, 1);
  EXPECT_EQ(log(), (std::vector<std::string>{
                       " add_peak_proc() : Peak alreay exists at " + Format("%10.4f", {table().x[0]})}));
}

TEST_F(GraphClickTest, AFullTableRefusesEveryAdd) {
  pixel_pattern({60.3});
  state().peak_table.count = kMaxPeaks;
  add_peak_proc(click_at(59.0));
  EXPECT_EQ(table().count, kMaxPeaks);
  EXPECT_EQ(log(), (std::vector<std::string>{" add_peak_proc() : Peak buffer full"}));
}

TEST_F(GraphClickTest, ARightClickBetweenTwoPeaksDeletesTheLowerIndex) {
  pixel_pattern({});
  PeakTable& t = state().peak_table;
  t.x[0] = 100, t.two_theta[0] = 1.0, t.intensity[0] = 1000;
  t.x[1] = 103, t.two_theta[1] = 1.03, t.intensity[1] = 1000;
  t.count = 2;
  state().integration_params.graph_x_end = 200;
  update_graph_layout();
  delete_peak_at_click(int32_t(50 + 101.5 * 2.5));
  ASSERT_EQ(t.count, 1);
  EXPECT_EQ(t.x[0], 103);
  ASSERT_EQ(views.lines.size(), 1u);
  EXPECT_EQ(views.lines[0].x1, 50 + 250);
  EXPECT_EQ(views.lines[0].colour, rgb_to_color(255, 255, 220));
  delete_peak_at_click(int32_t(50 + 110 * 2.5));  // nothing within 2 pixels
  EXPECT_EQ(t.count, 1);
}

TEST_F(GraphClickTest, SectorPatternsGetOnePeakPerSectorWithStackedMarkers) {
  state().sector_patterns.allocate(3);
  state().nax_pattern.set_kind(kFreeSectorPixel);
  for (int s = 0; s < 3; ++s) {
    const auto y = gaussian_pattern(120, 60.3 + 0.2 * s, 1000, 3.0, 10);
    SectorPattern& sec = state().sector_patterns.sectors[size_t(s)];
    sec.pattern.assign(y.begin(), y.end());
    sec.last_point = 120;
  }
  IntegrationParams& p = state().integration_params;
  p.graph_x_begin = 0, p.graph_x_end = 100, p.graph_y_begin = 0, p.graph_y_end = 7000;
  update_graph_layout();
  add_peak_proc(click_at(59.0));
  for (int s = 0; s < 3; ++s) {
    const PeakList& l = state().sector_patterns.sectors[size_t(s)].peaks();
    ASSERT_EQ(l.count, 1) << s;
    EXPECT_NEAR(l.x[0], 60.3 + 0.2 * s, 0.1);
  }
  ASSERT_EQ(views.lines.size(), 3u);
  // Sector 2 stands Trunc(2 * 7000 / 7) = 2000 intensity units higher.
  const double I = state().sector_patterns.sectors[2].peaks().intensity[0];
  EXPECT_EQ(views.lines[2].y1, 400 - int(std::trunc(I + 2000) * 360.0 / 7000) - 2);
  EXPECT_EQ(views.graph_draws, 1);
  delete_peak_at_click(click_at(60.5));
  for (int s = 0; s < 3; ++s) EXPECT_EQ(state().sector_patterns.sectors[size_t(s)].peak_count(), 0) << s;
}

}  // namespace
}  // namespace kestrin::test
