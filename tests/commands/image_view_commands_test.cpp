// The image window's view commands: the zoom keeping the view's centre, the middle-click
// toggle, the magnification edit, the scroll bars, the thumbnail, the window-setting edits,
// the layout after a resize, the loader's view steps and the whole-image window's frame.
#include <gtest/gtest.h>

#include "commands/image_view_commands.h"
#include "commands/image_whole_commands.h"
#include "commands/main_form_commands.h"
#include "image_window_fixture.h"
#include "ports/names/image_form_names.h"

namespace kestrin::test {
namespace {

using ImageViewCommandsTest = ImageWindowTest;
using Moves = std::vector<std::pair<int, int>>;

void choose(int entry) {
  controls().set_item_index(frmImage::cmbMagni, entry);
  magnification_chosen();
}

TEST_F(ImageViewCommandsTest, ZoomKeepsTheCentreAndTheSameChoiceTwiceChangesNothing) {
  load_image(2000, 1000);
  view().ScrollX = 500, view().ScrollY = 200;  // centre (800, 500)
  choose(2);
  EXPECT_EQ(view().Zoom, 2.0);
  EXPECT_EQ(view().ScrollX, 650);
  EXPECT_EQ(view().ScrollY, 350);
  EXPECT_EQ(views_.scroll_moves, (Moves{{650, 350}}));
  EXPECT_EQ(views_.scroll_max_x, 1700);
  EXPECT_EQ(views_.large_x, 300);
  EXPECT_EQ(views_.redraws, 1);
  EXPECT_EQ(text(frmImage::edtMagni), "2.00");
  clear_views();
  choose(2);
  EXPECT_EQ(views_.redraws, 0);
  EXPECT_TRUE(views_.scroll_moves.empty());
  // The locks are free again: the bars scroll and redraw once per change.
  scroll_bar_changed(true, 10, 350);
  EXPECT_EQ(view().ScrollX, 10);
  EXPECT_EQ(views_.redraws, 1);
  EXPECT_EQ(text(frmImage::edtCursorX), "LT=10");
  scroll_bar_changed(false, 10, 20);
  EXPECT_EQ(text(frmImage::edtCursorY), "TP=20");
  EXPECT_EQ(views_.redraws, 2);
  // "Whole" fits the image: zoom 0.3, origin 0.
  choose(0);
  EXPECT_TRUE(view().WholeView);
  EXPECT_DOUBLE_EQ(view().Zoom, 0.3);
  EXPECT_EQ(view().ScrollX, 0);
  EXPECT_EQ(controls().item_index(frmImage::cmbMagni), 0);
  clear_views();
  choose(0);
  EXPECT_EQ(views_.redraws, 0);
}

TEST_F(ImageViewCommandsTest, MiddleClicksToggleTheWholeImageAndTheLastZoom) {
  load_image(2000, 1000);
  choose(2);
  clear_views();
  toggle_whole_view(1200, 300);
  EXPECT_TRUE(view().WholeView);
  EXPECT_EQ(view().ScrollX, 0);
  EXPECT_EQ(views_.scroll_moves.back(), (std::pair{0, 0}));
  EXPECT_EQ(views_.redraws, 1);
  toggle_whole_view(1500, 800);  // back to 200%, centred on the click
  EXPECT_FALSE(view().WholeView);
  EXPECT_EQ(view().Zoom, 2.0);
  EXPECT_EQ(view().ScrollX, 1350);
  EXPECT_EQ(view().ScrollY, 650);
  EXPECT_EQ(views_.redraws, 2);
  toggle_whole_view(10, 10);
  EXPECT_TRUE(view().WholeView);
  controls().set_text(frmImage::edtMagni, "x");  // nothing unless the label holds a number
  toggle_whole_view(10, 10);
  EXPECT_TRUE(view().WholeView);
}

TEST_F(ImageViewCommandsTest, MagnificationEditFitsOrZooms) {
  load_image(2000, 1000);  // the whole image needs 0.3
  view().ScrollX = 40;
  controls().set_text(frmImage::edtMagni, "0.1");
  magnification_key('A');
  EXPECT_FALSE(view().WholeView);
  magnification_key(kEnterKey);
  EXPECT_TRUE(view().WholeView);
  EXPECT_EQ(text(frmImage::edtMagni), "0.30");
  EXPECT_EQ(controls().item_index(frmImage::cmbMagni), 0);
  // 3.0 keeps the scroll origin and leaves the combo as it was.
  view().ScrollX = 40;
  controls().set_text(frmImage::edtMagni, "3");
  magnification_key(kEnterKey);
  EXPECT_EQ(view().Zoom, 3.0);
  EXPECT_EQ(view().ViewCols, 200);
  EXPECT_EQ(view().ScrollX, 40);
  EXPECT_EQ(text(frmImage::edtMagni), "3.00");
  EXPECT_EQ(controls().item_index(frmImage::cmbMagni), 0);
  // Text that is no number, and a zoom that leaves no image pixel in the view: nothing.
  for (const char* t : {"abc", "", "2000"}) {
    controls().set_text(frmImage::edtMagni, t);
    magnification_key(kEnterKey);
    EXPECT_EQ(view().Zoom, 3.0) << t;
  }
}

TEST_F(ImageViewCommandsTest, ThumbnailClickCentresTheView) {
  load_image(2000, 1000);
  thumbnail_clicked(50, 25, 100);  // image pixel (1000, 500)
  EXPECT_EQ(view().ScrollX, 700);
  EXPECT_EQ(view().ScrollY, 200);
  EXPECT_EQ(views_.scroll_moves, (Moves{{700, 200}}));
  EXPECT_EQ(views_.redraws, 1);
  thumbnail_clicked(99, 10, 100);  // near the right edge: limited to width - view
  EXPECT_EQ(view().ScrollX, 1400);
  thumbnail_clicked(50, 60, 100);  // below the image (row 1200): nothing
  EXPECT_EQ(views_.redraws, 2);
}

TEST_F(ImageViewCommandsTest, WindowSettingEditsSizeTheViewAndSwallowJunk) {
  load_image(2000, 1000);
  const struct {
    const char *w, *h, *cx, *cy;
  } junk[] = {{"80x", "800", "600", "600"}, {"800", "", "600", "600"}, {"800", "800", "6.5", "600"},
              {"0", "800", "600", "600"},   {"800", "-3", "600", "600"}, {"5000", "800", "600", "600"}};
  for (const auto& j : junk) {
    controls().set_text(frmImage::edtImageWindowWidth, j.w);
    controls().set_text(frmImage::edtImageWindowHeight, j.h);
    controls().set_text(frmImage::edtImageWindowCX, j.cx);
    controls().set_text(frmImage::edtImageWindowCY, j.cy);
    window_size_key(kEnterKey);
  }
  EXPECT_TRUE(views_.view_sizes.empty());
  EXPECT_EQ(view().ViewWidth, 600);
  controls().set_text(frmImage::edtImageWindowWidth, "800");
  controls().set_text(frmImage::edtImageWindowHeight, "500");
  controls().set_text(frmImage::edtImageWindowCX, "600");
  controls().set_text(frmImage::edtImageWindowCY, "900");
  window_size_key('A');
  EXPECT_TRUE(views_.view_sizes.empty());
  window_size_key(kEnterKey);
  EXPECT_EQ(views_.view_sizes, (Moves{{800, 500}}));
  EXPECT_EQ(view().ViewCols, 800);
  EXPECT_EQ(view().ViewRows, 500);
  EXPECT_EQ(view().ScrollX, 200);
  EXPECT_EQ(view().ScrollY, 500);  // 900 - 250 limited to 1000 - 500
  EXPECT_FALSE(view().LayoutBusy);
  EXPECT_FALSE(view().ScrollLock);
  EXPECT_EQ(views_.redraws, 1);
}

TEST_F(ImageViewCommandsTest, LayoutAfterAResize) {
  EXPECT_FALSE(layout_wanted(1000, 700));  // no image
  load_image(2000, 1000);
  EXPECT_TRUE(layout_wanted(kImageFormMinWidth, kImageFormMinHeight));
  EXPECT_FALSE(layout_wanted(kImageFormMinWidth - 1, 700));
  EXPECT_FALSE(layout_wanted(900, kImageFormMinHeight - 1));
  view().LayoutBusy = true;
  EXPECT_FALSE(layout_wanted(1000, 700));
  view().LayoutBusy = false;
  // A whole view fits the new size and keeps the zoom it returns to.
  choose(2);
  choose(0);
  ASSERT_EQ(view().PreviousZoom, 2.0);
  view_resized(800, 400);
  EXPECT_TRUE(view().WholeView);
  EXPECT_DOUBLE_EQ(view().Zoom, 0.4);
  EXPECT_EQ(view().PreviousZoom, 2.0);
  choose(1);
  view_resized(700, 300);
  EXPECT_EQ(view().Zoom, 1.0);
  EXPECT_EQ(view().ViewCols, 700);
  EXPECT_EQ(views_.scroll_max_x, 1300);
}

TEST_F(ImageViewCommandsTest, LoadedViewStepsShowTheNewImage) {
  load_image(2000, 1000);
  current_image().ImageFileName = "/data/a.img";
  controls().set_item_index(frmImage::cmbMagni, 3);
  controls().set_text(frmImage::edtMagni, "4.00");
  show_loaded_image_view();
  EXPECT_EQ(views_.scroll_max_x, 1400);
  EXPECT_EQ(views_.scroll_max_y, 400);
  EXPECT_EQ(views_.scroll_moves, (Moves{{0, 0}}));
  EXPECT_EQ(controls().item_index(frmImage::cmbMagni), 1);
  EXPECT_EQ(text(frmImage::edtMagni), "1.0");
  EXPECT_EQ(views_.caption, "KES for Windows (Image) /data/a.img");
  EXPECT_EQ(views_.gauge_draws, 1);
  EXPECT_EQ(views_.redraws, 1);
  EXPECT_FALSE(view().LayoutBusy);
  EXPECT_FALSE(view().ScrollLock);
}

TEST_F(ImageViewCommandsTest, WholeImageFramePlacementAndRelease) {
  const struct {
    int32_t X, Y, w, h, left, top;
  } cases[] = {
      {128, 128, 32, 32, 112, 112}, {5, 3, 32, 32, 0, 0},       {250, 10, 32, 32, 224, 0},  // stops at the right edge
      {100, 255, 32, 33, 84, 223},  {240, 240, 31, 31, 225, 225}, {256, 256, 256, 256, 0, 0},
  };
  for (const auto& c : cases) {
    const FramePosition f = place_whole_frame(c.X, c.Y, c.w, c.h);
    EXPECT_EQ(f.left, c.left) << c.X << "," << c.Y;
    EXPECT_EQ(f.top, c.top) << c.X << "," << c.Y;
  }
  load_image(2000, 1000);
  whole_frame_released({128, 0});
  EXPECT_EQ(view().ScrollX, 1000);
  EXPECT_EQ(view().ScrollY, 0);
  EXPECT_EQ(views_.scroll_moves, (Moves{{1000, 0}}));
  EXPECT_EQ(views_.redraws, 1);
  EXPECT_FALSE(view().ScrollLock);
}

}  // namespace
}  // namespace kestrin::test
