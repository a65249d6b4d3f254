// A smoke run of the windows on a real X server (xvfb-run, the xcb platform): the image
// window with a ring image, the region outline, the centre mark and a painted mask, the
// whole-image window with a dragged frame, and the mask window; the background view after
// Make BG, the spot grid after a search, the analysis grid after a run and the reference
// grid. Each window's picture is kept under the build folder and must not be blank. The
// graph copied to the clipboard reads back from the X clipboard in a second process (xclip).
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <set>

#include "app/bg_form.h"
#include "app/form_lookup.h"
#include "app/image_form.h"
#include "app/image_whole_form.h"
#include "app/mask_form.h"
#include "app/nax_graph_form.h"
#include "app/osc_ana_form.h"
#include "app/placeholder_forms.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "app_fixture.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "commands/mask_form_commands.h"
#include "image/image_loader.h"
#include "image/image_store.h"
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

TEST_F(XvfbSmoke, ToolWindowsOnAnXServer) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  load_img_proc(write_ring_image("ring.img"));
  ASSERT_EQ(current_image().NoImageFlag, 0);

  auto& bg = form<app::TfrmBG>();
  enter(bg.edtFilterStep, "0");
  enter(bg.edtFilterSize, "5");
  bg.pbtnExecuteFiltering->click();
  EXPECT_GT(keep_picture(bg, "xvfb_background_window.png").size(), 8u);

  auto& spot = form<app::TfrmSpot>();
  spot.pbtnSpotSearch->click();
  EXPECT_GT(state().spot_list.SpotCount, 0);
  EXPECT_GT(keep_picture(spot, "xvfb_spot_window.png").size(), 8u);

  ASSERT_TRUE(write_file_bytes(dir_.file("list.csv"), "1,140,100,300\r\n2,100,140,500\r\n"));
  auto& ana = form<app::TfrmSpotAnalyze>();
  dialogs_.answerModal(kgui::mrYes);
  dialogs_.answerFile(dir_.file("list.csv"), 1);
  ana.pbtnSavePeak->click();
  ana.btnCalcAll->click();
  EXPECT_EQ(state().spot_analysis_grid.size(), 3u);
  EXPECT_GT(keep_picture(ana, "xvfb_spot_analysis_window.png").size(), 8u);

  ASSERT_TRUE(write_file_bytes(dir_.file("ref.csv"), "1,10.5,20.25,300\r\n2,11,21,12\r\n"));
  auto& osc = form<app::TfrmOscAna>();
  dialogs_.answerFile(dir_.file("ref.csv"), 1);
  osc.pbtnSpotList->click();
  EXPECT_GT(keep_picture(osc, "xvfb_oscillation_window.png").size(), 8u);
}

TEST_F(XvfbSmoke, CopiedGraphReadsBackFromTheXClipboardInAnotherProcess) {
  if (QProcess::execute("sh", {"-c", "command -v xclip >/dev/null"}) != 0) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "xclip missing";
    GTEST_SKIP() << "xclip not installed";
  }
  integrate_ring_image(4);
  state().graph.GraphWidth = 500;
  state().graph.GraphHeight = 400;
  auto* graph = app::form_of<app::TfrmNaxGraph>();
  ASSERT_NE(graph, nullptr);
  graph->pbtnCopyClipboard->click();
  // This process owns the selection: it must go on answering events while xclip reads.
  QProcess xclip;
  xclip.start("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
  for (int waited = 0; xclip.state() != QProcess::NotRunning && waited < 15000; waited += 20) QTest::qWait(20);
  ASSERT_EQ(xclip.state(), QProcess::NotRunning) << "xclip did not finish";
  const QImage copied = QImage::fromData(xclip.readAllStandardOutput(), "PNG");
  ASSERT_FALSE(copied.isNull()) << xclip.readAllStandardError().toStdString();
  EXPECT_EQ(copied.width(), 2400);
  EXPECT_EQ(copied.height(), 2000);
  const std::string folder = std::string(KESTRIN_BINARY_DIR) + "/test-pictures/";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(copied.save(QString::fromStdString(folder + "xvfb_copied_graph.png")));
}

}  // namespace
}  // namespace kestrin::test
