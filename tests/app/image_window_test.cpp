// The image window offscreen, driven through its named widgets with synthetic mouse and key
// events: the mask brush shows in the part view, the area drag, Shift- and Ctrl-clicks,
// middle clicks, the scroll bars, the gauge, the thumbnail, the window-setting edits, the
// layout after a resize, Save Image and the recorded lines of its buttons.
#include <QTest>
#include <filesystem>

#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/window_ports.h"
#include "app_fixture.h"
#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"
#include "offscreen_app.h"
#include "ports/names/merge_image_names.h"
#include "ports/names/spot_form_names.h"
#include "support/picture_peer.h"

namespace kestrin::test {
namespace {

using app::TfrmImage;

// The image window's port, counting redraws on the way to the window.
struct CountingImagePort : app::ImageFormPort {
  int redraws = 0;
  void redraw_image() override {
    ++redraws;
    app::ImageFormPort::redraw_image();
  }
};

class ImageWindowTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    dialogs_.answerFile(write_ring_image("ring.img"), 1);
    click_menu("File", "Load Image");
    form_ = app::form_of<TfrmImage>();
    ASSERT_NE(form_, nullptr);
    ASSERT_TRUE(form_->visible());
    Ports p = app::window_ports();
    p.image_window = &counting_;
    install_ports(p);
  }
  void TearDown() override {
    install_ports(app::window_ports());
    AppTest::TearDown();
  }
  QWidget* part() const { return form_->pbxPart->widget(); }
  void press(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier) {
    send_mouse(w, QEvent::MouseButtonPress, x, y, b, b, m);
  }
  void move(QWidget* w, int x, int y, Qt::MouseButtons held = Qt::LeftButton) {
    send_mouse(w, QEvent::MouseMove, x, y, Qt::NoButton, held);
  }
  void release(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    send_mouse(w, QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
  }
  // The colour the part view shows for image pixel (x, y) at zoom 1 from the origin.
  static QRgb shown(int x, int y, bool masked) {
    const SharedState& s = state();
    const uint8_t level = s.display_levels.level[size_t(y) * size_t(s.display_levels.width) + size_t(x)];
    const uint32_t grey = to_rgb32(image_palette(false, false)[level]);
    return 0xFF000000u | (masked ? grey ^ to_rgb32(mask_palette(s.colours.colour[0])[1]) : grey);
  }
  static std::string picture_path(const std::string& name) {
    const std::string folder = std::string(KESTRIN_BINARY_DIR) + "/test-pictures/";
    std::filesystem::create_directories(folder);
    return folder + name;
  }

  TfrmImage* form_ = nullptr;
  CountingImagePort counting_;
};

TEST_F(ImageWindowTest, MaskStrokeShowsTheMaskColourAndTheRightButtonErases) {
  form_->rbtnMask->setChecked(true);
  press(part(), 50, 50);
  move(part(), 70, 50);
  release(part(), 70, 50);
  EXPECT_TRUE(state().image_mask.masked(50, 50));
  EXPECT_TRUE(state().image_mask.masked(70, 54));
  EXPECT_FALSE(state().image_mask.masked(80, 50));
  EXPECT_EQ(counting_.redraws, 2);
  const QImage& view = form_->pbxPart->image();
  EXPECT_EQ(view.pixel(50, 50), shown(50, 50, true));
  EXPECT_EQ(view.pixel(80, 50), shown(80, 50, false));
  press(part(), 70, 50, Qt::RightButton);
  release(part(), 70, 50, Qt::RightButton);
  EXPECT_FALSE(state().image_mask.masked(70, 50));
  EXPECT_TRUE(state().image_mask.masked(50, 50));
  EXPECT_EQ(form_->pbxPart->image().pixel(70, 50), shown(70, 50, false));
}

TEST_F(ImageWindowTest, AreaDragFillsTheSpotAndMergeRectangles) {
  ASSERT_TRUE(form_->rbtnAreaSelect->checked());
  press(part(), 150, 40);
  move(part(), 20, 90);
  release(part(), 20, 90);
  const std::pair<ControlName, const char*> edits[] = {{frmSpot::edtX0, "20"},       {frmSpot::edtY0, "40"},
                                                       {frmMergeImage::edtX1, "150"}, {frmMergeImage::edtY1, "90"}};
  for (auto [name, value] : edits) EXPECT_EQ(controls().text(name), value) << name;
  EXPECT_EQ(counting_.redraws, 0);  // only the overlays were repainted
}

TEST_F(ImageWindowTest, ShiftClickLogsAndCtrlClickWithYesMovesTheCentre) {
  the_log().clear_history();
  press(part(), 103, 104, Qt::LeftButton, Qt::ShiftModifier);
  release(part(), 103, 104);
  ASSERT_GE(the_log().history().size(), 3u);
  EXPECT_EQ(the_log().history()[1], " <<<<<   Pixel information   >>>>>");
  move(part(), 120, 90, Qt::NoButton);
  dialogs_.answerModal(kgui::mrYes);
  press(part(), 120, 90, Qt::LeftButton, Qt::ControlModifier);
  release(part(), 120, 90);
  EXPECT_EQ(dialogs_.questions().back().text, "Input current cursor position to CenterX, CenterY ?");
  EXPECT_EQ(main().edtCenterX0->text(), "120");
  EXPECT_EQ(state().integration_params.X0, 120);
  EXPECT_EQ(state().integration_params.Y0, 90);
}

TEST_F(ImageWindowTest, MiddleClicksToggleWholeAndZoomedViews) {
  form_->cmbMagni->setItemIndex(3);  // 400%
  form_->cmbMagni->OnChange(form_->cmbMagni);
  ASSERT_EQ(state().image_view.Zoom, 4.0);
  press(part(), 10, 10, Qt::MiddleButton);
  EXPECT_TRUE(state().image_view.WholeView);
  EXPECT_EQ(form_->cmbMagni->itemIndex(), 0);
  press(part(), 300, 300, Qt::MiddleButton);  // the whole 200-pixel image fills the view: pixel (100, 100)
  EXPECT_EQ(state().image_view.Zoom, 4.0);
  EXPECT_EQ(form_->edtMagni->text(), "4.00");
  EXPECT_EQ(state().image_view.ScrollX, 25);
  EXPECT_EQ(form_->scrDispX->position(), 25);
}

TEST_F(ImageWindowTest, ScrollBarsRedrawOncePerChangeAndTheThumbnailCentres) {
  form_->cmbMagni->setItemIndex(4);  // 800%: 75 image pixels across
  form_->cmbMagni->OnChange(form_->cmbMagni);
  counting_.redraws = 0;
  form_->scrDispX->setPosition(30);
  EXPECT_EQ(counting_.redraws, 1);
  EXPECT_EQ(state().image_view.ScrollX, 30);
  EXPECT_EQ(form_->edtCursorX->text(), "LT=30");
  form_->scrDispY->setPosition(12);
  EXPECT_EQ(counting_.redraws, 2);
  EXPECT_EQ(form_->edtCursorY->text(), "TP=12");
  // The thumbnail shows the 200-pixel image over 100 pixels: (25, 75) is pixel (50, 150).
  press(form_->imgWhole->widget(), 25, 75);
  EXPECT_EQ(state().image_view.ScrollX, 12);  // Round(50 - 37.5), halves to even
  EXPECT_EQ(state().image_view.ScrollY, 112);
  EXPECT_EQ(form_->scrDispY->position(), 112);
  EXPECT_EQ(counting_.redraws, 3);
}

TEST_F(ImageWindowTest, GaugeDragRebuildsTheLevelsOnRelease) {
  QWidget* gauge = form_->pbxGradationGauge->widget();
  const auto before = state().display_levels.level;
  press(gauge, 300, 10);
  move(gauge, 182, 10);  // halfway: the high edge
  EXPECT_EQ(state().display_scale.HighEdge, state().display_scale.GaugeHigh / 2);
  EXPECT_EQ(form_->lblHighIndex->caption(), std::to_string(state().display_scale.HighEdge));
  EXPECT_EQ(state().display_levels.level, before);
  release(gauge, 182, 10);
  EXPECT_NE(state().display_levels.level, before);
  EXPECT_EQ(counting_.redraws, 1);
}

TEST_F(ImageWindowTest, WindowSettingEditsResizeTheWindowAndResizesLayItOut) {
  const int width = form_->width(), height = form_->height();
  form_->edtImageWindowHeight->setText("560");
  enter(form_->edtImageWindowWidth, "700");
  EXPECT_EQ(form_->pbxPart->width(), 700);
  EXPECT_EQ(form_->pbxPart->height(), 560);
  EXPECT_EQ(form_->width(), width + 100);
  EXPECT_EQ(form_->height(), height - 40);
  EXPECT_EQ(state().image_view.ViewWidth, 700);
  EXPECT_EQ(form_->pbxPart->image().width(), 700);
  enter(form_->edtImageWindowWidth, "7o0");  // junk: nothing
  EXPECT_EQ(form_->pbxPart->width(), 700);
  // A resize by the user lays the window out once the resizes stop.
  form_->setBounds(form_->left(), form_->top(), form_->width() + 40, form_->height() + 30);
  EXPECT_EQ(form_->pbxPart->width(), 700);
  // The layout waits for a quiet spell; a loaded machine may need longer than the spell.
  EXPECT_TRUE(QTest::qWaitFor([] { return !state().image_view.LayoutPending; }, 10000));
  EXPECT_EQ(form_->pbxPart->width(), 740);
  EXPECT_EQ(form_->pbxPart->height(), 590);
  EXPECT_EQ(state().image_view.ViewWidth, 740);
  EXPECT_FALSE(state().image_view.LayoutPending);
}

TEST_F(ImageWindowTest, SaveImageWritesTheDisplayAsABitmap) {
  KESTRIN_REQUIRE_PEER("PIL");
  const std::string bmp = dir_.file("view.bmp");
  dialogs_.answerFile(bmp, 1);
  form_->pbtnSaveImage->click();
  EXPECT_EQ(dialogs_.questions().back().text, "BITMAP (*.bmp)|*.BMP");
  const PictureFacts f = describe_picture(bmp, {"0,0", "100,100", "130,100", "199,199"});
  ASSERT_TRUE(f.read) << f.output;
  EXPECT_EQ(f.width, 200);
  EXPECT_EQ(f.height, 200);
  for (auto [x, y] : {std::pair{0, 0}, {100, 100}, {130, 100}, {199, 199}}) {
    char want[8];
    std::snprintf(want, sizeof want, "%06X", shown(x, y, false) & 0xFFFFFFu);
    EXPECT_EQ(f.pixels.at(std::to_string(x) + "," + std::to_string(y)), want) << x << "," << y;
  }
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageSave], dir_.path());
  dialogs_.answerCancel();
  the_log().clear_history();
  form_->pbtnSaveImage->click();
  EXPECT_EQ(the_log().history(), std::vector<std::string>{" save_img_proc() : cancel "});
}

// With recording on, the buttons that run a routine of their own record its line once; the
// mouse tools record nothing.
TEST_F(ImageWindowTest, ButtonsRecordTheirLinesOnceAndTheToolsNone) {
  state().macro.MacroRecording = true;
  form_->rbtnMask->setChecked(true);
  press(part(), 50, 50);
  move(part(), 60, 50);
  release(part(), 60, 50);
  press(part(), 50, 50, Qt::LeftButton, Qt::ShiftModifier);
  press(part(), 50, 50, Qt::MiddleButton);
  form_->scrDispX->setPosition(3);
  EXPECT_TRUE(state().macro.MacroList.empty());
  const std::string image = dir_.file("ring.img");
  dialogs_.answerFile(image, 1);
  form_->pbtnLoadImage->click();
  form_->pbtnClearMask->click();
  form_->pbtnFindCenter->click();
  form_->pbtnFindSpots->click();
  const std::string mask = dir_.file("ring.bgz");
  dialogs_.answerFile(mask, 1);
  form_->pbtnSaveMask->click();
  dialogs_.answerFile(mask, 1);
  form_->pbtnLoadMask->click();
  EXPECT_EQ(state().macro.MacroList,
            (std::vector<std::string>{"Kestrin.LoadImageFile('" + image + "');", "Kestrin.ClearMask();", "Kestrin.FindCenter();",
                                      "Kestrin.FindSpot();", "Kestrin.SaveMaskFile('" + mask + "');",
                                      "Kestrin.LoadMaskFile('" + mask + "');"}));
}

// A look at the window with a ring image, the region outline, the centre mark and a mask
// stroke; the picture stays in the build folder.
TEST_F(ImageWindowTest, ScreenshotWithOutlineCentreAndMask) {
  enter(main().edtCenterX0, "100");
  enter(main().edtCenterY0, "100");
  enter(main().edtBandWidth, "30");
  main().rbtnRectangle->setChecked(true);
  form_->rbtnMask->setChecked(true);
  press(part(), 40, 150);
  move(part(), 90, 160);
  release(part(), 90, 160);
  form_->redraw_image();
  const QImage shot = form_->widget()->grab().toImage();
  const std::string path = picture_path("image_window.png");
  ASSERT_TRUE(shot.save(QString::fromStdString(path)));
  const QImage& view = form_->pbxPart->image();
  EXPECT_EQ(view.pixel(2, 2), shown(2, 2, false));
  EXPECT_EQ(view.pixel(150, 85), 0xFF008080u);   // the band's edge, 15 pixels above the centre
  EXPECT_EQ(view.pixel(103, 103), 0xFFFF00FFu);  // the centre's cross
}

}  // namespace
}  // namespace kestrin::test
