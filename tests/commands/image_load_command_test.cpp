// What the load command does after the loader: the main window's edits read back (a text
// that does not convert ends the command after the windows followed), the views, the spot
// area, the display edges and levels, and the ClearMask macro line.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "commands/file_commands.h"
#include "image/display/display.h"
#include "image/image_loader.h"
#include "image/loading_fixture.h"
#include "ports/names/image_form_names.h"
#include "ports/names/main_form_names.h"
#include "ports/names/spot_form_names.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

using ImageLoadCommand = LoadingTest;

TEST_F(ImageLoadCommand, AfterAGoodLoadTheEditsAreReadTheViewsFollowAndTheSpotAreaIsTheImage) {
  edits().set_text(frmMain::edtSectoredAngle, "45");
  state().spot_list.SpotCount = 5;
  state().macro.MacroRecording = true;
  state().options.ClearMask = 1;
  state().image_mask.resize(4, 3);
  state().image_mask.bytes[5] = 1;
  load_img_proc(raxis_frame().write(dir_.file("a.img")));
  EXPECT_EQ(params().division_angle, 45);  // the edits were read
  EXPECT_EQ(views_.calls, (Lines{"image_loaded", "show_form frmImage"}));
  EXPECT_EQ(edits().text(frmSpot::edtX1), "4");
  EXPECT_EQ(edits().text(frmSpot::edtY1), "3");
  EXPECT_EQ(state().spot_list.SpotCount, 0);
  // The display range follows the image maximum and the levels cover the image.
  EXPECT_EQ(state().display_scale.HighEdge, linear_display_bound(current_image().LinearMax, 1000));
  EXPECT_EQ(edits().text(frmImage::edtHighEdge), Format("%d", {state().display_scale.HighEdge}));
  EXPECT_EQ(state().display_levels.level.size(), 12u);
  EXPECT_EQ(state().display_levels.width, 4);
  EXPECT_EQ(state().image_mask.bytes, std::vector<uint8_t>(12, 0));
  EXPECT_EQ(state().macro.MacroList, Lines{"Kestrin.ClearMask();"});

  // Without the show-windows flag the image window stays as it is; the mask follows a new
  // image size and otherwise keeps its bytes.
  views_.calls.clear();
  state().WindowShow = 0;
  state().options.ClearMask = 0;
  state().image_mask.bytes[5] = 1;
  load_img_proc(raxis_frame().write(dir_.file("a.img")));
  EXPECT_EQ(views_.calls, Lines{"image_loaded"});
  EXPECT_EQ(state().image_mask.bytes[5], 1);
  RaxisFixture wide = raxis_frame();
  wide.width = 6;
  wide.codes.clear();
  load_img_proc(wide.write(dir_.file("a.img")));
  EXPECT_EQ(state().image_mask.bytes, std::vector<uint8_t>(18, 0));
}

TEST_F(ImageLoadCommand, AnEditThatDoesNotConvertEndsTheLoadAfterTheViewsFollowed) {
  edits().set_text(frmMain::edtSectoredAngle, "x");
  EXPECT_THROW(load_img_proc(raxis_frame().write(dir_.file("a.img"))), ConversionError);
  EXPECT_EQ(img().NoImageFlag, 0);
  EXPECT_EQ(views_.calls, (Lines{"image_loaded", "show_form frmImage"}));
  EXPECT_EQ(state().image_mask.width, 4);
}

}  // namespace
}  // namespace kestrin::test
