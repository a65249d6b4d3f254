// Pictures of the tool windows with content, saved under the build folder for review and
// checked not blank: the options pair, the batch and spread windows with their lists, the
// merge window with a picture and the cake of a ring image. The same tests run offscreen
// and on Xvfb (see CMakeLists.txt); each platform writes its own files.
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <set>

#include "app/batch_files_form.h"
#include "app/cake_form.h"
#include "app/form_lookup.h"
#include "app/image_spread_form.h"
#include "app/merge_image_form.h"
#include "app/option_forms.h"
#include "app_fixture.h"
#include "commands/file_list_commands.h"
#include "ports/names/batch_files_names.h"
#include "ports/names/image_spread_names.h"
#include "ports/names/merge_image_names.h"
#include "ports/ports.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

// Grabs the form, saves it as <name>-<platform>.png and returns the number of colours seen.
size_t save_picture(kgui::TForm& form, const std::string& name) {
  form.showForm();
  test_app().processMessages();
  const QImage shot = form.widget()->grab().toImage();
  const std::string dir = std::string(KESTRIN_BINARY_DIR) + "/screenshots";
  std::filesystem::create_directories(dir);
  const std::string file = dir + "/" + name + "-" + QGuiApplication::platformName().toStdString() + ".png";
  EXPECT_TRUE(shot.save(QString::fromStdString(file))) << file;
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
  return colours.size();
}

using Lines = std::vector<std::string>;
using ToolWindowScreenshots = AppTest;

TEST_F(ToolWindowScreenshots, OptionsAndColours) {
  EXPECT_GT(save_picture(*app::form_of<app::TfrmOption>(), "options"), 6u);
  EXPECT_GT(save_picture(*app::form_of<app::TfrmOptionColor>(), "option_colours"), 6u);
}

TEST_F(ToolWindowScreenshots, BatchAndSpreadWithTheirLists) {
  const Lines files = {"/data/series/a_001.img", "/data/series/a_002.img", "/data/series/a_003.img"};
  set_file_list(frmBatchFiles::memFileName, files);
  EXPECT_GT(save_picture(*app::form_of<app::TfrmBatchFiles>(), "batch_files"), 6u);
  set_file_list(frmImageSpread::memFileName, files);
  controls().set_text(frmImageSpread::edtRefFileName, "/data/series/reference.csv");
  EXPECT_GT(save_picture(*app::form_of<app::TfrmImageSpread>(), "image_spread"), 6u);
}

TEST_F(ToolWindowScreenshots, MergePicture) {
  const Lines files = {write_ring_image("a.img"), write_ring_image("b.img", 0.5), write_ring_image("c.img", 1.0)};
  set_file_list(frmMergeImage::memFileName, files);
  auto& m = *app::form_of<app::TfrmMergeImage>();
  for (auto [e, t] : {std::pair{m.edtX0, "100"}, {m.edtY0, "20"}, {m.edtX1, "199"}, {m.edtY1, "119"}}) e->setText(t);
  m.edtHighEdge->setText("3000");
  m.pbtnMergeImage->click();
  QTest::keyClick(m.edtHighEdge->widget(), Qt::Key_Return);
  EXPECT_GT(save_picture(m, "merge_image"), 20u);
}

TEST_F(ToolWindowScreenshots, CakeOfARingImage) {
  integrate_ring_image(6);
  auto& c = *app::form_of<app::TfrmCake>();
  c.Button2->click();
  EXPECT_GT(save_picture(c, "cake"), 20u);
  // The 4-degree ring, 70 pixels from the centre, is the brightest column near 35 in a band.
  const QImage cake = c.imgCake->widget()->grab().toImage();
  int brightest = 25;
  for (int x = 25; x <= 45; ++x)
    if (qGray(cake.pixel(x, 125)) > qGray(cake.pixel(brightest, 125))) brightest = x;
  EXPECT_NEAR(brightest, 35, 1);
}

}  // namespace
}  // namespace kestrin::test
