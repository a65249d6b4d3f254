// The image window's tools: the mask brush, the area drag, the pan, the clicks with Shift,
// Alt and Ctrl, the readouts, the grey-scale controls and the gauge drag.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "commands/image_form_commands.h"
#include "commands/image_view_commands.h"
#include "commands/main_form_commands.h"
#include "image_window_fixture.h"
#include "ports/names/image_form_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/merge_image_names.h"
#include "ports/names/spot_form_names.h"

namespace kestrin::test {
namespace {

using ImageToolsTest = ImageWindowTest;
using kgui::mbLeft;
using kgui::mbMiddle;
using kgui::mbRight;

constexpr kgui::TShiftState kNone = 0;
constexpr kgui::TShiftState shift_of(kgui::TShiftStateElem e) { return 1u << e; }

TEST_F(ImageToolsTest, MaskBrushPaintsWhileTheLeftButtonIsHeldAndTheRightErases) {
  load_image(200, 100);
  mouse_mode_clicked(0);
  controls().set_item_index(frmImage::cmbPenSize, 2);  // 8 pixels: radius 4
  pen_size_chosen();
  image_mouse_down(mbLeft, kNone, 50, 50);
  EXPECT_EQ(masked(), 49u);  // the inclusive disc of radius 4
  EXPECT_TRUE(state().image_mask.masked(54, 50));
  EXPECT_FALSE(state().image_mask.masked(55, 50));
  image_mouse_move(60, 50);
  EXPECT_TRUE(state().image_mask.masked(64, 50));
  EXPECT_EQ(views_.redraws, 2);
  image_mouse_up(mbLeft);
  image_mouse_move(120, 50);  // no button held: only the readouts
  EXPECT_FALSE(state().image_mask.masked(120, 50));
  EXPECT_EQ(text(frmImage::edtCursorX), "120");
  image_mouse_down(mbRight, kNone, 52, 50);
  image_mouse_move(60, 50);
  image_mouse_up(mbRight);
  EXPECT_FALSE(state().image_mask.masked(54, 50));
  EXPECT_FALSE(state().image_mask.masked(64, 50));
  EXPECT_TRUE(state().image_mask.masked(46, 50));
  // A press outside the image holds nothing.
  image_mouse_down(mbLeft, kNone, 250, 50);
  image_mouse_move(150, 50);
  EXPECT_FALSE(state().image_mask.masked(150, 50));
}

TEST_F(ImageToolsTest, AreaDragKeepsThePressPointAndFillsTheSpotAndMergeEdits) {
  load_image(200, 150);
  image_mouse_down(mbLeft, kNone, 100, 80);
  image_mouse_move(60, 120);  // right to left, downwards
  SelectedArea& a = state().selected_area;
  EXPECT_EQ((std::array{a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1}), (std::array{60, 80, 100, 120}));
  EXPECT_EQ(views_.repaints, 1);
  EXPECT_EQ(views_.redraws, 0);
  // Left past the press point and back: the press point stays a corner.
  image_mouse_move(40, 80);
  image_mouse_move(120, 90);
  EXPECT_EQ((std::array{a.AreaX0, a.AreaY0, a.AreaX1, a.AreaY1}), (std::array{100, 80, 120, 90}));
  const std::pair<ControlName, const char*> edits[] = {
      {frmSpot::edtX0, "100"},       {frmSpot::edtY0, "80"},       {frmSpot::edtX1, "120"},       {frmSpot::edtY1, "90"},
      {frmMergeImage::edtX0, "100"}, {frmMergeImage::edtY0, "80"}, {frmMergeImage::edtX1, "120"}, {frmMergeImage::edtY1, "90"}};
  for (auto [name, value] : edits) EXPECT_EQ(text(name), value) << name;
  image_mouse_up(mbLeft);
  image_mouse_move(10, 10);
  EXPECT_EQ(a.AreaX0, 100);
}

TEST_F(ImageToolsTest, RightDragPansWithinTheImage) {
  load_image(2000, 1000);
  view().ScrollX = 100;
  image_mouse_down(mbRight, kNone, 300, 300);
  image_mouse_move(200, 250);  // the image follows the mouse
  EXPECT_EQ(view().ScrollX, 200);
  EXPECT_EQ(view().ScrollY, 50);
  EXPECT_EQ(views_.scroll_moves.back(), (std::pair{200, 50}));
  EXPECT_EQ(text(frmImage::edtCursorX), "CX=500");
  EXPECT_EQ(text(frmImage::edtCursorY), "CY=350");
  image_mouse_move(0, 0);  // limited to the image less the view
  EXPECT_EQ(view().ScrollX, 400);
  EXPECT_EQ(view().ScrollY, 300);
  image_mouse_move(599, 599);
  EXPECT_EQ(view().ScrollX, 0);
  EXPECT_EQ(view().ScrollY, 0);
  EXPECT_FALSE(view().ScrollLock);
  image_mouse_up(mbRight);
  EXPECT_FALSE(state().image_tools.right_held);
}

TEST_F(ImageToolsTest, ShiftAltAndCtrlClicks) {
  load_image(200, 100);
  IntegrationParams& p = state().integration_params;
  p.X0 = 50, p.Y0 = 40, p.Lo = 100, p.pixel_x = p.pixel_y = 0.1;
  // Shift wins over Alt and Ctrl: the pixel information.
  image_mouse_down(mbLeft, shift_of(kgui::ssShift) | shift_of(kgui::ssCtrl), 20, 30);
  ASSERT_GE(log().size(), 3u);
  EXPECT_EQ(log()[1], " <<<<<   Pixel information   >>>>>");
  EXPECT_EQ(log()[2], " Clicked (   20,    30)  Intensity = 50.0000");
  EXPECT_TRUE(prompts_.questions.empty());
  // Alt: the spot selection (not in this build) and a repaint of the overlays.
  the_log().clear_history();
  image_mouse_down(mbLeft, shift_of(kgui::ssAlt) | shift_of(kgui::ssCtrl), 20, 30);
  EXPECT_EQ(log(), std::vector<std::string>{" spot_list_select() : not available in this version."});
  EXPECT_EQ(views_.repaints, 1);
  // Ctrl: the readouts as they stand become the centre, on Yes only.
  image_mouse_move(70, 60);
  prompts_.answers = {false, true};
  image_mouse_down(mbLeft, shift_of(kgui::ssCtrl), 70, 60);
  EXPECT_EQ(p.X0, 50);
  image_mouse_down(mbLeft, shift_of(kgui::ssCtrl), 70, 60);
  EXPECT_EQ(prompts_.questions, (std::vector<std::string>(2, "Input current cursor position to CenterX, CenterY ?")));
  EXPECT_EQ(text(frmMain::edtCenterX0), "70");
  EXPECT_EQ(p.X0, 70);
  EXPECT_EQ(p.Y0, 60);
  EXPECT_FALSE(state().image_tools.left_held);
  // After a scroll the readout says "LT=...": the centre edit then does not convert.
  scroll_bar_changed(true, 5, 0);
  EXPECT_THROW(image_mouse_down(mbLeft, shift_of(kgui::ssCtrl), 70, 60), ConversionError);
}

TEST_F(ImageToolsTest, MiddleClickOnThePartViewTogglesTheWholeView) {
  load_image(2000, 1000);
  image_mouse_down(mbMiddle, kNone, 100, 100);
  EXPECT_TRUE(view().WholeView);
  image_mouse_down(mbMiddle, kNone, 300, 150);  // image pixel (1000, 500) in the whole view
  EXPECT_FALSE(view().WholeView);
  EXPECT_EQ(view().ScrollX, 700);
  EXPECT_EQ(view().ScrollY, 200);
}

TEST_F(ImageToolsTest, ReadoutsOnEveryMoveInsideTheImage) {
  load_image(200, 100);
  IntegrationParams& p = state().integration_params;
  p.X0 = 50, p.Y0 = 40;
  image_mouse_move(53, 44);
  EXPECT_EQ(text(frmImage::edtCursorX), "53");
  EXPECT_EQ(text(frmImage::edtCursorY), "44");
  EXPECT_EQ(text(frmImage::edtIntensity), "97");
  EXPECT_EQ(text(frmImage::edtDistance), "5.000");
  EXPECT_EQ(text(frmImage::edtAngle), "53.13");
  p.X0 = 0;  // without a centre the distance and the azimuth keep their texts
  image_mouse_move(10, 10);
  EXPECT_EQ(text(frmImage::edtCursorX), "10");
  EXPECT_EQ(text(frmImage::edtDistance), "5.000");
  image_mouse_move(200, 10);  // outside: nothing
  EXPECT_EQ(text(frmImage::edtCursorX), "10");
}

TEST_F(ImageToolsTest, ScaleRadiosAndRangeEdits) {
  load_image(200, 100);
  DisplayScale& d = state().display_scale;
  controls().set_checked(frmImage::rbtnLogScale, true);
  scale_radio_clicked();
  EXPECT_EQ(d.DisplayMode, 0);
  EXPECT_EQ(d.HighEdge, 9000);
  EXPECT_EQ(text(frmImage::edtHighEdge), "9000");
  EXPECT_EQ(text(frmImage::lblHighIndex), "9000");
  EXPECT_EQ(views_.gauge_draws, 1);
  EXPECT_EQ(views_.redraws, 1);  // the levels are rebuilt and redrawn
  controls().set_checked(frmImage::rbtnLinearScale, true);
  scale_radio_clicked();
  EXPECT_EQ(d.GaugeHigh, 2000);
  EXPECT_EQ(text(frmImage::edtLowEdge), "0");
  controls().set_text(frmImage::edtHighEdge, "1000");
  edge_edit_key(frmImage::edtHighEdge, kEnterKey);
  EXPECT_EQ(d.GaugeHigh, 1000);
  EXPECT_EQ(d.HighEdge, 1000);
  for (const char* junk : {"1e3", "", "12a"}) {
    controls().set_text(frmImage::edtLowEdge, junk);
    edge_edit_key(frmImage::edtLowEdge, kEnterKey);
  }
  EXPECT_EQ(d.GaugeLow, 0);
  EXPECT_EQ(views_.gauge_draws, 3);
}

TEST_F(ImageToolsTest, GaugeDragRebuildsTheLevelsOnRelease) {
  load_image(200, 100);
  DisplayScale& d = state().display_scale;
  d.GaugeLow = d.LowEdge = 0, d.GaugeHigh = d.HighEdge = 1000;
  gauge_mouse_move(100, 364);  // not held: nothing
  EXPECT_EQ(d.HighEdge, 1000);
  gauge_mouse_down();
  gauge_mouse_move(182, 364);  // 500: halfway, a tie goes to the high edge
  EXPECT_EQ(d.HighEdge, 500);
  EXPECT_EQ(text(frmImage::lblHighIndex), "500");
  EXPECT_EQ(views_.gauge_draws, 1);
  EXPECT_EQ(views_.redraws, 0);
  const size_t corner = size_t(99) * 200 + 199;  // code 298
  EXPECT_EQ(state().display_levels.level[corner], 76);
  gauge_mouse_up();
  EXPECT_EQ(views_.redraws, 1);
  EXPECT_EQ(state().display_levels.level[corner], 152);
  EXPECT_FALSE(state().image_tools.gauge.held);
  gauge_mouse_up();  // nothing dragged: no rebuild
  EXPECT_EQ(views_.redraws, 1);
}

TEST_F(ImageToolsTest, OmitFlagsAndClearMask) {
  load_image(20, 10);
  controls().set_checked(frmImage::chkOmitGreen, true);
  omit_green_clicked();
  EXPECT_TRUE(state().OmitGreen);
  controls().set_checked(frmImage::chkOmitBlue, true);
  omit_blue_clicked();
  EXPECT_TRUE(state().OmitBlue);
  EXPECT_EQ(views_.redraws, 1);
  state().image_mask.bytes.assign(200, 1);
  clear_mask_command();
  EXPECT_EQ(masked(), 0u);
  EXPECT_EQ(views_.redraws, 2);
}

}  // namespace
}  // namespace kestrin::test
