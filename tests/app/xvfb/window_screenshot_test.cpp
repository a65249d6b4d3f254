// One screenshot per tool window on a real X display (run under xvfb-run with the xcb
// platform): the background view after Make BG on a ring image, the spot grid after a
// search, the analysis grid after a run, the reference grid. Each picture is saved in the
// build folder and must not be blank.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <set>

#include "app/bg_form.h"
#include "app/osc_ana_form.h"
#include "app/spot_analyze_form.h"
#include "app/spot_form.h"
#include "app/window_ports.h"
#include "app_fixture.h"
#include "base/text_file.h"
#include "commands/spot_analysis_commands.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin::test {
namespace {

using WindowScreenshots = AppTest;

// Shows the form, lets it paint, saves its picture and counts its colours.
size_t shoot(kgui::TForm& form, const std::string& name) {
  form.showForm();
  for (int i = 0; i < 5; ++i) test_app().processMessages();
  const QImage picture = form.widget()->grab().toImage();
  picture.save(QString::fromStdString(std::string(KESTRIN_BINARY_DIR) + "/screenshot_" + name + ".png"));
  std::set<QRgb> colours;
  for (int y = 0; y < picture.height(); y += 4)
    for (int x = 0; x < picture.width(); x += 4) colours.insert(picture.pixel(x, y));
  form.hide();
  return colours.size();
}

template <class Form>
Form& form() {
  Form* f = app::form_of<Form>();
  EXPECT_NE(f, nullptr);
  return *f;
}

TEST_F(WindowScreenshots, EveryToolWindowShowsItsContents) {
  ASSERT_EQ(test_app().qapp().platformName(), "xcb");
  load_img_proc(write_ring_image("ring.img"));
  ASSERT_EQ(current_image().NoImageFlag, 0);

  auto& bg = form<app::TfrmBG>();
  enter(bg.edtFilterStep, "0");
  enter(bg.edtFilterSize, "5");
  bg.pbtnExecuteFiltering->click();
  EXPECT_GT(shoot(bg, "background"), 8u);

  auto& spot = form<app::TfrmSpot>();
  spot.pbtnSpotSearch->click();
  EXPECT_GT(state().spot_list.SpotCount, 0);
  EXPECT_GT(shoot(spot, "spots"), 8u);

  ASSERT_TRUE(write_file_bytes(dir_.file("list.csv"), "1,140,100,300\r\n2,100,140,500\r\n"));
  auto& ana = form<app::TfrmSpotAnalyze>();
  dialogs_.answerModal(kgui::mrYes);
  dialogs_.answerFile(dir_.file("list.csv"), 1);
  ana.pbtnSavePeak->click();
  ana.btnCalcAll->click();
  EXPECT_EQ(state().spot_analysis_grid.size(), 3u);
  EXPECT_GT(shoot(ana, "spot_analysis"), 8u);

  ASSERT_TRUE(write_file_bytes(dir_.file("ref.csv"), "1,10.5,20.25,300\r\n2,11,21,12\r\n"));
  auto& osc = form<app::TfrmOscAna>();
  dialogs_.answerFile(dir_.file("ref.csv"), 1);
  osc.pbtnSpotList->click();
  EXPECT_GT(shoot(osc, "references"), 8u);
}

}  // namespace
}  // namespace kestrin::test
