// Editing the peak table by hand: locating near a click, duplicates, the full table,
// deleting under a click and deleting list rows; the graph layout behind the clicks.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/graph_layout.h"
#include "analysis/peak_edit.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class PeakEditTest : public PeakTest {
protected:
  // A pixel pattern with Gaussian peaks, shown from x = 0 at 5 picture pixels per bin
  // (the left margin is 50 picture pixels).
  void pixel_pattern(std::vector<double> centres) {
    std::vector<int32_t> y(200, 50);
    for (double c : centres) {
      const auto g = gaussian_pattern(200, c, 10000, 3.0);
      for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
    }
    set_pattern(y, kPixelHistogram);
    IntegrationParams& p = state().integration_params;
    p.graph_x_begin = 0, p.graph_x_end = 100, p.graph_y_begin = 0, p.graph_y_end = 20000;
    update_graph_layout();
  }
  static int32_t click_at(double data) { return int32_t(50 + data * 5); }
  const PeakTable& table() { return state().peak_table; }
};

TEST_F(PeakEditTest, ClickToDataUsesTheTenthMarginAndTheActiveRange) {
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

TEST_F(PeakEditTest, ASignChangeAddsExactlyOnePeakAndMarksIt) {
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

TEST_F(PeakEditTest, MonotoneStretchesAndClicksNearTheEndsAddNothing) {
  pixel_pattern({60.3});
  add_peak_proc(click_at(30.5));  // flat base
  add_peak_proc(click_at(56.0));  // rising flank: slope positive all along
  add_peak_proc(click_at(3.0));   // below bin 6
  add_peak_proc(click_at(196.0)); // beyond n - 7
  EXPECT_EQ(table().count, 0);
  EXPECT_TRUE(log().empty());
}

TEST_F(PeakEditTest, ADuplicateWithinOnePixelIsRefused) {
  pixel_pattern({60.3});
  add_peak_proc(click_at(59.0));
  ASSERT_EQ(table().count, 1);
  add_peak_proc(click_at(61.0));
  EXPECT_EQ(table().count, 1);
  EXPECT_EQ(log(), (std::vector<std::string>{
                       " add_peak_proc() : Peak alreay exists at " + Format("%10.4f", {table().x[0]})}));
}

TEST_F(PeakEditTest, AFullTableRefusesEveryAdd) {
  pixel_pattern({60.3});
  state().peak_table.count = kMaxPeaks;
  add_peak_proc(click_at(59.0));
  EXPECT_EQ(table().count, kMaxPeaks);
  EXPECT_EQ(log(), (std::vector<std::string>{" add_peak_proc() : Peak buffer full"}));
}

TEST_F(PeakEditTest, TheLastSlopeReadStaysInsideThePattern) {
  // At k = n - 6 the slope at k + 5 would read point n.
  const int32_t n = kPatternSize;
  int32_t highest = 0;
  auto slope = [&](int32_t j) {
    highest = std::max(highest, j + 1);
    return j < n - 3 ? 1.0 : -1.0;
  };
  EXPECT_FALSE(locate_peak(n - 6, n, slope));
  EXPECT_EQ(highest, 0);
  EXPECT_TRUE(locate_peak(n - 7, n, slope));
  EXPECT_LE(highest, n - 1);
}

TEST_F(PeakEditTest, TheZeroCrossingOfALinearSlopeIsExact) {
  // slope(j) = 7.3 - j crosses zero at 7.3.
  const auto delta = locate_peak(7, 40, [](int32_t j) { return 7.3 - j; });
  ASSERT_TRUE(delta);
  EXPECT_NEAR(7 + *delta, 7.3, 1e-12);
}

TEST_F(PeakEditTest, AddAtAngleOnA2ThetaPattern) {
  std::vector<int32_t> y(300, 20);
  const auto g = gaussian_pattern(300, 120.4, 8000, 2.5);
  for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
  set_pattern(y, kAngleHistogram);
  IntegrationParams& p = state().integration_params;
  p.two_theta_begin = 10.0, p.two_theta_step = 0.05, p.wavelength = 1.54;
  EXPECT_EQ(add_peak_at_angle(10.0 + 119 * 0.05), 0);
  ASSERT_EQ(table().count, 1);
  EXPECT_NEAR(table().two_theta[0], 10.0 + 120.4 * 0.05, 0.005);
  EXPECT_DOUBLE_EQ(table().d[0], 0.77 / std::sin(table().two_theta[0] / 2 * M_PI / 180));
  EXPECT_EQ(add_peak_at_angle(10.0 + 121 * 0.05), -1);
  EXPECT_EQ(log(), (std::vector<std::string>{
                       " add_peak_proc() : Peak already exists at " + Format("%10.6f", {table().two_theta[0]})}));
  state().nax_pattern.set_kind(kPixelHistogram);
  EXPECT_EQ(add_peak_at_angle(16.0), -1);
}

TEST_F(PeakEditTest, ARightClickBetweenTwoPeaksDeletesTheLowerIndex) {
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

TEST_F(PeakEditTest, DeletingSelectedRowsFromLastToFirst) {
  pixel_pattern({});
  PeakTable& t = state().peak_table;
  for (int i = 0; i < 5; ++i) t.x[size_t(i)] = 10.0 * (i + 1), t.two_theta[size_t(i)] = i + 1.0;
  t.count = 5;
  for (int row : {3, 1}) delete_selected_peak(row);
  ASSERT_EQ(t.count, 3);
  EXPECT_EQ(std::vector<double>(t.x.begin(), t.x.begin() + 3), (std::vector<double>{10, 30, 50}));
  EXPECT_EQ(views.graph_draws, 2);
  delete_selected_peak(3);  // past the table: nothing
  delete_selected_peak(600);
  EXPECT_EQ(t.count, 3);
  delete_selected_peak(-1);
  EXPECT_EQ(t.count, 3);
  EXPECT_EQ(log(), (std::vector<std::string>{" No peak selected."}));
}

TEST_F(PeakEditTest, SectorPatternsGetOnePeakPerSectorWithStackedMarkers) {
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
