// A smoke run of the image windows on a real X server (xvfb-run, the xcb platform): the
// image window with a ring image, the region outline, the centre mark and a painted mask,
// the whole-image window with a dragged frame, and the mask window. Each window's picture
// is kept under the build folder and must not be blank.
#include <QGuiApplication>
#include <QTest>
#include <filesystem>
#include <set>

#include "app/image_form.h"
#include "app/image_whole_form.h"
#include "app/mask_form.h"
#include "app/placeholder_forms.h"
#include "app/window_ports.h"
#include "app_fixture.h"
#include "commands/mask_form_commands.h"
#include "model/state.h"
#include "offscreen_app.h"

namespace kestrin::test {
namespace {

using XvfbSmoke = AppTest;

// Saves the window's picture under the build folder; returns its distinct colours.
std::set<QRgb> keep_picture(kgui::TForm& form, const std::string& name) {
  form.showForm();
  QTest::qWait(100);
  const QImage shot = form.widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const std::string folder = std::string(KESTRIN_BINARY_DIR) + "/test-pictures/";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(shot.save(QString::fromStdString(folder + name)));
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) colours.insert(shot.pixel(x, y));
  return colours;
}

TEST_F(XvfbSmoke, ImageWholeImageAndMaskWindowsOnAnXServer) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  enter(main().edtCenterX0, "100");
  enter(main().edtCenterY0, "100");
  enter(main().edtBandWidth, "30");
  main().rbtnRectangle->setChecked(true);
  app::TfrmImage* image = app::form_of<app::TfrmImage>();
  ASSERT_NE(image, nullptr);
  image->rbtnMask->setChecked(true);
  QWidget* part = image->pbxPart->widget();
  send_mouse(part, QEvent::MouseButtonPress, 40, 150, Qt::LeftButton, Qt::LeftButton);
  for (int x = 45; x <= 90; x += 5) send_mouse(part, QEvent::MouseMove, x, 150 + (x - 40) / 5, Qt::NoButton, Qt::LeftButton);
  send_mouse(part, QEvent::MouseButtonRelease, 90, 160, Qt::LeftButton, Qt::NoButton);
  const std::set<QRgb> colours = keep_picture(*image, "xvfb_image_window.png");
  EXPECT_GT(colours.size(), 50u);
  EXPECT_TRUE(colours.count(0xFF008080u));  // the region outline ($808000)
  EXPECT_TRUE(colours.count(0xFFFF00FFu));  // the centre mark ($FF00FF)
  EXPECT_TRUE(colours.count(0xFF008000u) || std::any_of(colours.begin(), colours.end(), [](QRgb c) {
                return qGreen(c) > qRed(c) + 100 && qGreen(c) > qBlue(c) + 100;
              }));  // the mask, green over the grey levels

  auto* whole = app::form_of<app::TfrmImageWhole>();
  ASSERT_NE(whole, nullptr);
  QWidget* picture = whole->imgWhole->widget();
  whole->showForm();
  send_mouse(picture, QEvent::MouseButtonPress, 100, 100, Qt::LeftButton, Qt::LeftButton);
  send_mouse(picture, QEvent::MouseMove, 140, 60, Qt::NoButton, Qt::LeftButton);
  send_mouse(picture, QEvent::MouseButtonRelease, 144, 16, Qt::LeftButton, Qt::NoButton);
  // The frame's last place before the release: left 140 - 16 of 256 on a 200-pixel image.
  EXPECT_EQ(state().image_view.ScrollX, 97);
  EXPECT_GT(keep_picture(*whole, "xvfb_whole_image_window.png").size(), 2u);

  auto* mask = app::form_of<app::TfrmMask>();
  ASSERT_NE(mask, nullptr);
  state().rings = RingList{{3.5, 6.5}, {4.5, 7.5}, {1, 1}};
  show_ring_grid();
  EXPECT_GT(keep_picture(*mask, "xvfb_mask_window.png").size(), 2u);  // the grid's lines and texts
}

}  // namespace
}  // namespace kestrin::test
