// The spot, spot analysis and oscillation windows offscreen: their buttons through the
// scripted dialogs, their grids filled from the tables, a grid row chosen from code that
// runs no handler, and the analysis window's close refused during a run.
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/bg_form.h"
#include "app/osc_ana_form.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "app/window_ports.h"
#include "app_fixture.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::test {
namespace {

using AnalysisWindowsTest = AppTest;
using Lines = std::vector<std::string>;

TEST_F(AnalysisWindowsTest, OscWindowSortsTheFilesLoadsReferencesAndRunsNothingWithoutAFolder) {
  auto& osc = form<app::TfrmOscAna>();
  dialogs_.answerFiles({dir_.file("b.img"), dir_.file("a.img"), dir_.file("c.img")});
  osc.pbtnFileSelect->click();
  EXPECT_EQ(osc.memFileName->text(), dir_.file("a.img") + "\r\n" + dir_.file("b.img") + "\r\n" + dir_.file("c.img") + "\r\n");

  ASSERT_TRUE(write_file_bytes(dir_.file("ref.csv"), "1,10.5,20.25,300\r\n2,11,21,12\r\n"));
  dialogs_.answerFile(dir_.file("ref.csv"), 1);
  osc.pbtnSpotList->click();
  EXPECT_EQ(dialogs_.questions().back().text, "csv text file(*.csv)|*.CSV");
  ASSERT_EQ(osc.sgridSpotReference->rowCount(), 3);
  EXPECT_EQ(osc.sgridSpotReference->cell(1, 0), "x_all(pixel)");
  EXPECT_EQ(osc.sgridSpotReference->cell(2, 1), " 20.250");

  dialogs_.answerCancel();
  osc.pbtnExecute->click();
  EXPECT_EQ(dialogs_.questions().back().kind, "directory");
  EXPECT_EQ(dialogs_.questions().back().caption, "出力先フォルダの選択");
  EXPECT_EQ(current_image().NoImageFlag, 1);  // no file was loaded
}

TEST_F(AnalysisWindowsTest, SpotWindowListsASearchAndSelectsFromCodeWithoutItsHandler) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  ImageStore& img = current_image();
  std::fill(img.image_codes.begin(), img.image_codes.end(), uint16_t(100));
  img.image_codes[60 + size_t(img.ImageWidth) * 70] = 3000;
  img.image_codes[150 + size_t(img.ImageWidth) * 40] = 3000;
  auto& spot = form<app::TfrmSpot>();
  spot.pbtnSpotSearch->click();
  EXPECT_TRUE(spot.visible());
  ASSERT_EQ(spot.sgridSpotList->rowCount(), 3);
  EXPECT_EQ(spot.sgridSpotList->cell(0, 0), "Spot No.");
  EXPECT_EQ(spot.sgridSpotList->cell(1, 1), "  150.00");  // found row by row
  EXPECT_EQ(spot.sgridSpotList->cell(2, 2), "   70.00");
  state().image_view.ScrollX = 7;
  state().spot_list.FocusedSpot = -1;
  spot_window().select_row(2);
  EXPECT_EQ(spot.sgridSpotList->selection().top, 2);
  EXPECT_EQ(state().image_view.ScrollX, 7);  // the select-cell handler did not run
  spot.hide();
}

TEST_F(AnalysisWindowsTest, AnalysisWindowLoadsItsListAndRefusesToCloseDuringARun) {
  auto& ana = form<app::TfrmSpotAnalyze>();
  ASSERT_TRUE(write_file_bytes(dir_.file("list.csv"), "1,10.5,20,300\r\n2,30,40,500\r\n"));
  dialogs_.answerModal(kgui::mrYes);
  dialogs_.answerFile(dir_.file("list.csv"), 1);
  ana.pbtnSavePeak->click();
  ASSERT_EQ(ana.sgridSpotReference->rowCount(), 3);
  EXPECT_EQ(ana.sgridSpotReference->colCount(), 17);
  EXPECT_EQ(ana.sgridSpotReference->cell(16, 0), "StartDistance(pixel)");
  EXPECT_EQ(ana.sgridSpotReference->cell(1, 2), " 30.000");

  ana.showForm();
  state().analyze.AnalyzeState = kAnalyzeStep;
  ana.close();
  EXPECT_TRUE(ana.visible());
  EXPECT_EQ(dialogs_.questions().back().text, "Now processing. Need to abort.");
  state().analyze.AnalyzeState = kAnalyzeIdle;
  ana.close();
  EXPECT_FALSE(ana.visible());
}

// Closing the main window while a step run waits for Next (with the analysis window,
// which refuses to close during a run, on screen): the run ends as an abort does, the
// settings are written and the event loop ends. Run in a fresh process, as quitting is
// permanent; a process that never ends is stopped by the alarm and fails the test.
TEST_F(AnalysisWindowsTest, QuittingDuringAStepRunEndsTheRunAndTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(120);
        dialogs_.answerFile(write_ring_image("ring.img"), 1);
        click_menu("File", "Load Image");
        auto& ana = form<app::TfrmSpotAnalyze>();
        if (!write_file_bytes(dir_.file("list.csv"), "1,60,70,300\r\n2,150,40,500\r\n")) std::_Exit(2);
        dialogs_.answerModal(kgui::mrYes);
        dialogs_.answerFile(dir_.file("list.csv"), 1);
        ana.pbtnSavePeak->click();
        ana.showForm();
        main().showForm();
        bool waiting = false;
        QTimer::singleShot(0, [&] { ana.btnCalcStep->click(); });
        QTimer::singleShot(200, [&] {
          waiting = state().analyze.AnalyzeState == kAnalyzeStep;
          main().close();
        });
        const int code = test_app().run();
        const Lines log = the_log().history();
        const bool ok = waiting && code == 0 && state().analyze.AnalyzeState == kAnalyzeIdle &&
                        std::count(log.begin(), log.end(), "Spot Analyze: Aborted.") == 1 &&
                        std::filesystem::exists(settings_path());
        std::fprintf(stderr, "waiting %d, code %d, state %d, settings %d\n", waiting, code,
                     int(state().analyze.AnalyzeState), int(std::filesystem::exists(settings_path())));
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrin::test

namespace kestrin::test {
namespace {

TEST_F(AnalysisWindowsTest, BackgroundWindowMakesAndShowsABackgroundAndColoursItsFilterEdits) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  auto& bg = form<app::TfrmBG>();
  enter(bg.edtFilterSize, "20");
  EXPECT_EQ(bg.edtFilterSize->color(), 0x0000FFu);
  EXPECT_EQ(bg.edtFilterStep->color(), 0x0000FFu);
  dialogs_.answerModal(kgui::mrOk);
  bg.pbtnExecuteFiltering->click();
  EXPECT_EQ(dialogs_.questions().back().text, "Filter Size Error");
  enter(bg.edtFilterStep, "0");
  enter(bg.edtFilterSize, "5");
  EXPECT_EQ(bg.edtFilterSize->color(), 0xFFFFFFu);
  bg.pbtnExecuteFiltering->click();
  EXPECT_EQ(state().made_bg_codes.size(), size_t(200 * 200));
  bg.showForm();
  const QImage& picture = bg.pbxPart->image();
  ASSERT_FALSE(picture.isNull());
  std::set<QRgb> shades;
  for (int y = 0; y < 200; y += 3)
    for (int x = 0; x < 200; x += 3) shades.insert(picture.pixel(x, y));
  EXPECT_GT(shades.size(), 3u);  // the background's rings show
  bg.cmbMagni->setItemIndex(0);
  bg.cmbMagni->OnChange(bg.cmbMagni);
  EXPECT_EQ(bg.edtMagni->text(), "3");  // 600 / 200
  EXPECT_EQ(bg.scrDispX->max(), 0);
  // Wider and taller than 758 x 604 with a background: the view grows with the window.
  bg.setClientWidth(1100);
  bg.setClientHeight(800);
  test_app().processMessages();
  EXPECT_EQ(bg.pbxPart->width(), 1100 - bg.pnlButtons->width() - 36);
  EXPECT_EQ(state().bg_view.ViewWidth, bg.pbxPart->width());
  EXPECT_EQ(bg.pnlButtons->left(), bg.pbxPart->width() + 36);
  bg.hide();
}

}  // namespace
}  // namespace kestrin::test
