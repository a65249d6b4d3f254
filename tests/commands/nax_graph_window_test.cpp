// The pattern graph window's rules without its widgets: the layout on resize, Default
// Region per pattern kind, the edits' Enter keys, the readout, and the zoom by a middle drag.
#include <gtest/gtest.h>

#include "analysis/peak_fixture.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "commands/nax_graph_commands.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin::test {
namespace {

using TextList = std::vector<std::string>;
using B = GraphButton;

class GraphCommandsTest : public PeakTest {
protected:
  // A pixel pattern of 200 points (maximum 10050) shown from 0 to 100 and 0 to 20000: 5
  // picture pixels per bin, 0.018 per intensity unit, the left margin at 50, the baseline 400.
  void pixel_pattern() {
    set_peaked_pixel_pattern({60.0});
    set_layout(0, 100, 0, 20000);
  }
  // A 2theta pattern of 300 points shown from 10 to 20 degrees: 50 picture pixels per degree.
  void angle_pattern() {
    set_pattern(std::vector<int32_t>(300, 900), kAngleHistogram);
    IntegrationParams& p = state().integration_params;
    p.two_theta_begin = 2.5, p.two_theta_end = 32.0;
    p.graph_2theta_begin = 10.0, p.graph_2theta_end = 20.0;
    set_layout(0, 100, 0, 20000);
  }
  static void set_layout(int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    IntegrationParams& p = state().integration_params;
    p.graph_x_begin = x0, p.graph_x_end = x1, p.graph_y_begin = y0, p.graph_y_end = y1;
    update_graph_layout();
  }
  static void drag(int x0, int y0, int x1, int y1) {
    graph_mouse_down(B::kMiddle, x0, y0);
    graph_mouse_move(x1, y1);
    graph_mouse_up(B::kMiddle, x1, y1);
  }
  static TextList x_edits() { return {controls().text(frmNaxGraph::edtXBegin), controls().text(frmNaxGraph::edtXEnd)}; }
  static TextList y_edits() { return {controls().text(frmNaxGraph::edtYBegin), controls().text(frmNaxGraph::edtYEnd)}; }
  static TextList angle_edits() {
    return {controls().text(frmNaxGraph::edt2ThetaBegin), controls().text(frmNaxGraph::edt2ThetaEnd)};
  }
};

TEST(GraphWindowLayout, LaysOutOnlyAbove300By337) {
  EXPECT_FALSE(graph_window_layout(300, 600, 40));
  EXPECT_FALSE(graph_window_layout(600, 337, 40));
  ASSERT_TRUE(graph_window_layout(301, 338, 40));
  const GraphWindowLayout l = *graph_window_layout(636, 705, 40);
  EXPECT_EQ(l.buttons_top, 635);
  EXPECT_EQ(l.base_width, 616);
  EXPECT_EQ(l.base_height, 593);
  EXPECT_EQ(l.picture_width, 606);
  EXPECT_EQ(l.picture_height, 495);
}

TEST_F(GraphCommandsTest, ThePictureSizeSetsTheNominalGraphSize) {
  set_graph_size_for_picture(606, 495);
  EXPECT_EQ(state().graph.GraphWidth, 500);
  EXPECT_EQ(state().graph.GraphHeight, 400);
  set_graph_size_for_picture(600, 400);
  EXPECT_EQ(state().graph.GraphWidth, 495);
  EXPECT_EQ(state().graph.GraphHeight, 315);
}

TEST_F(GraphCommandsTest, DefaultRegionWritesTheRangesOfEachKindAndDraws) {
  struct Case {
    PatternKind kind;
    TextList y, x, angle;
  };
  const TextList untouched_x = {"0", "100"}, untouched_angle = {"0.000000", "0.000000"};
  const Case cases[] = {
      {kPixelHistogram, {"       0", "   11166"}, {"   100", "   201"}, untouched_angle},
      {kAngleHistogram, {"       0", "   11166"}, untouched_x, {"  2.5000", " 32.0000"}},
      {kSector16Pixel, {"       0", "   50250"}, {"   100", "   201"}, untouched_angle},
      {kFreeSectorPixel, {"       0", "   50250"}, {"   100", "   201"}, untouched_angle},
      {kFreeSectorAngle, {"       0", "   50250"}, untouched_x, {"  2.5000", " 32.0000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    reset_headless_ports();
    install_ports(views.ports());
    views.graph_draws = 0;
    set_peaked_pixel_pattern({60.0});  // 200 points, maximum 10050
    state().nax_pattern.set_kind(c.kind);
    state().integration_params.two_theta_begin = 2.5, state().integration_params.two_theta_end = 32.0;
    default_region_command();
    EXPECT_EQ(y_edits(), c.y);
    EXPECT_EQ(x_edits(), c.x);
    EXPECT_EQ(angle_edits(), c.angle);
    EXPECT_EQ(views.graph_draws, 1);
  }
  state().nax_pattern = NaxPattern();
  edit(frmNaxGraph::edtYEnd, "123");
  default_region_command();
  EXPECT_EQ(controls().text(frmNaxGraph::edtYEnd), "123");  // no pattern: the edits stay
}

TEST_F(GraphCommandsTest, RangeEditsDrawOnEnterAndTheSamePeakEditSetsTheToleranceOnlyOnEnter) {
  graph_range_edit_key('A');
  EXPECT_EQ(views.graph_draws, 0);
  graph_range_edit_key(kEnterKey);
  EXPECT_EQ(views.graph_draws, 1);
  EXPECT_EQ(controls().text(frmNaxGraph::Edit1), "0.005");
  edit(frmNaxGraph::Edit1, "0.01");
  EXPECT_EQ(state().SamePeakTolerance, 0.005);  // the text waits for Enter
  same_peak_edit_key('1');
  EXPECT_EQ(state().SamePeakTolerance, 0.005);
  same_peak_edit_key(kEnterKey);
  EXPECT_EQ(state().SamePeakTolerance, 0.01);
  edit(frmNaxGraph::Edit1, "0,02");
  EXPECT_THROW(same_peak_edit_key(kEnterKey), ConversionError);
  EXPECT_EQ(state().SamePeakTolerance, 0.01);
}

TEST_F(GraphCommandsTest, TheReadoutShowsPositionAndIntensityUnderTheCursor) {
  pixel_pattern();
  graph_mouse_move(300, 200);
  EXPECT_EQ(controls().text(frmNaxGraph::lblCurValue), "        x(pixels)=  50.00  Intensity=  11111");
  graph_mouse_move(-30, 900);  // held to the left edge and the baseline
  EXPECT_EQ(controls().text(frmNaxGraph::lblCurValue), "        x(pixels)= -10.00  Intensity=      0");
  angle_pattern();
  graph_mouse_move(300, 200);
  EXPECT_EQ(controls().text(frmNaxGraph::lblCurValue), "  2theta(degrees)= 15.000  Intensity=  11111");
}

TEST_F(GraphCommandsTest, WithoutAPatternTheMouseDoesNothing) {
  edit(frmNaxGraph::lblCurValue, "kept");
  graph_mouse_down(B::kMiddle, 10, 10);
  graph_mouse_move(100, 100);
  graph_mouse_up(B::kMiddle, 100, 100);
  graph_mouse_up(B::kLeft, 100, 100);
  EXPECT_EQ(controls().text(frmNaxGraph::lblCurValue), "kept");
  EXPECT_FALSE(state().graph_drag.dragging);
  EXPECT_EQ(views.graph_draws, 0);
  EXPECT_TRUE(views.lines.empty());
}

TEST_F(GraphCommandsTest, AMiddleClickWithoutMovementRestoresTheFullRanges) {
  pixel_pattern();
  graph_mouse_down(B::kMiddle, 300, 200);
  graph_mouse_up(B::kMiddle, 300, 200);
  EXPECT_EQ(y_edits(), (TextList{"     0", " 11166"}));
  EXPECT_EQ(x_edits(), (TextList{"   100", "   199"}));
  EXPECT_EQ(views.graph_draws, 1);
  EXPECT_FALSE(state().graph_drag.dragging);
  graph_mouse_up(B::kMiddle, 300, 200);  // no drag any more: nothing
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(GraphCommandsTest, ANarrowDragZoomsIntensityOnlyAndTheDirectionDoesNotMatter) {
  pixel_pattern();
  drag(300, 100, 305, 200);  // 5 wide, 100 high
  EXPECT_EQ(y_edits(), (TextList{" 11111", " 16666"}));
  EXPECT_EQ(x_edits(), (TextList{"   100", "   199"}));
  EXPECT_EQ(views.graph_draws, 1);
  drag(150, 100, 300, 300);
  const TextList x = x_edits(), y = y_edits();
  EXPECT_EQ(x, (TextList{"    20", "    50"}));
  EXPECT_EQ(y, (TextList{"  5555", " 16666"}));
  pixel_pattern();
  drag(300, 300, 150, 100);  // from the other corner
  EXPECT_EQ(x_edits(), x);
  EXPECT_EQ(y_edits(), y);
}

TEST_F(GraphCommandsTest, ZoomsLeftOfTheAxisFallBack) {
  pixel_pattern();
  drag(10, 350, 30, 450);  // left of the margin, the corner held to the baseline
  EXPECT_EQ(x_edits(), (TextList{"   100", "   199"}));  // both ends below 0
  EXPECT_EQ(y_edits(), (TextList{"     0", "  2777"}));
}

TEST_F(GraphCommandsTest, A2ThetaZoomWritesDegreesWithFiveDecimals) {
  angle_pattern();
  drag(100, 100, 230, 200);
  EXPECT_EQ(angle_edits(), (TextList{"11.00000", "13.60000"}));
  EXPECT_EQ(x_edits(), (TextList{"0", "100"}));
  drag(20, 100, 22, 200);  // narrow: the integration's own range
  EXPECT_EQ(angle_edits(), (TextList{" 2.50000", "32.00000"}));
}

TEST_F(GraphCommandsTest, TheRubberBandFollowsTheDrag) {
  pixel_pattern();
  EXPECT_FALSE(graph_rubber_band());
  graph_mouse_down(B::kMiddle, 300, 100);
  graph_mouse_move(250, 150);
  const auto band = graph_rubber_band();
  ASSERT_TRUE(band);
  EXPECT_EQ((std::array<int32_t, 4>{band->x1, band->y1, band->x2, band->y2}), (std::array<int32_t, 4>{300, 100, 250, 150}));
  const GraphDrag& d = state().graph_drag;
  EXPECT_EQ((std::array<int32_t, 4>{d.left, d.top, d.width, d.height}), (std::array<int32_t, 4>{250, 100, 50, 50}));
  EXPECT_EQ(views.graph_draws, 0);  // moves never redraw the graph
}

TEST_F(GraphCommandsTest, LeftAndRightReleasesAddAndDeleteAPeak) {
  pixel_pattern();
  graph_mouse_up(B::kLeft, 50 + 59 * 5, 10);
  ASSERT_EQ(state().peak_table.count, 1);
  ASSERT_EQ(views.lines.size(), 1u);
  EXPECT_EQ(views.lines[0].colour, kMarkerColour);
  graph_mouse_up(B::kRight, 50 + 60 * 5, 10);
  EXPECT_EQ(state().peak_table.count, 0);
  EXPECT_EQ(views.lines.back().colour, kEraserColour);
}

}  // namespace
}  // namespace kestrin::test
