// What the windows show agrees with what is in force, offscreen: the image and merge windows'
// scale radios and the merge picture with the one shared scale, gauges that run with their
// pictures, the high-edge label after a typed range, the fit list's columns, edits set by the
// program showing the start of their text, and file dialogs titled with the program's name.
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTableWidget>
#include <set>

#include "app/bg_form.h"
#include "app/image_form.h"
#include "app/merge_image_form.h"
#include "app/peak_fitting_form.h"
#include "app_fixture.h"
#include "image/display/display.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "platform/gui/qt_dialogs.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using DisplayAgreement = AppTest;

std::set<QRgb> colours(const QImage& image) {
  std::set<QRgb> out;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) out.insert(image.pixel(x, y) & 0xFFFFFF);
  return out;
}

// Log chosen in the image window: the merge window shows Log when shown and makes its picture
// with the log scale (not one flat colour); Linear chosen there: the image window follows.
TEST_F(DisplayAgreement, ImageAndMergeWindowsShowAndUseTheOneSharedScale) {
  const std::string ring = write_ring_image("ring.img");
  dialogs_.answerFile(ring, 1);
  click_menu("File", "Load Image");
  auto& image = form<app::TfrmImage>();
  auto& merge = form<app::TfrmMergeImage>();
  image.showForm();
  image.rbtnLogScale->setChecked(true);
  EXPECT_EQ(state().display_scale.DisplayMode, 0);
  merge.showForm();
  EXPECT_TRUE(merge.rbtnLogScale->checked());
  EXPECT_FALSE(merge.rbtnLinearScale->checked());
  merge.memFileName->setText(ring);
  merge.edtX0->setText("10");
  merge.edtY0->setText("10");
  merge.edtX1->setText("189");
  merge.edtY1->setText("189");
  merge.pbtnMergeImage->click();
  ASSERT_TRUE(merge_state().Merged);
  EXPECT_GT(colours(merge.pbxMergeImage->image()).size(), 5u);  // rings on a background, not all white
  merge.rbtnLinearScale->setChecked(true);
  EXPECT_EQ(state().display_scale.DisplayMode, 1);
  EXPECT_TRUE(image.rbtnLinearScale->checked());
  EXPECT_FALSE(image.rbtnLogScale->checked());
  image.rbtnLogScale->setChecked(true);
  EXPECT_TRUE(merge.rbtnLogScale->checked());
  EXPECT_EQ(merge.edtHighEdge->text(), std::to_string(merge_state().log_saturation));
  merge.hide();
  image.hide();
}

// With the gradation reversed after the windows were made, the merge gauge's low end has the
// colour of the picture's lowest level; the background window's gauge has its view's ramp.
TEST_F(DisplayAgreement, GaugesRunWithTheirPictures) {
  const std::string ring = write_ring_image("ring.img");
  dialogs_.answerFile(ring, 1);
  click_menu("File", "Load Image");
  state().options.GradationReverse = 1;
  auto& merge = form<app::TfrmMergeImage>();
  merge.showForm();
  merge.memFileName->setText(ring);
  merge.edtX1->setText("150");
  merge.edtY1->setText("150");
  merge.pbtnMergeImage->click();
  ASSERT_TRUE(merge_state().Merged);
  const QImage& gauge = merge.pbxMergeGradationGauge->image();
  ASSERT_FALSE(gauge.isNull());
  const int y = gauge.height() / 2;
  const TColor lowest = merge_state().MergeDIB.Color(0);
  EXPECT_NEAR(qGray(gauge.pixel(3, y)), qGray(qRgb(lowest & 0xFF, (lowest >> 8) & 0xFF, (lowest >> 16) & 0xFF)), 4);
  EXPECT_LT(qGray(gauge.pixel(3, y)), 8);                   // reversed: the low end is black
  EXPECT_GT(qGray(gauge.pixel(gauge.width() - 4, y)), 240);  // and the high end white
  merge.hide();

  auto& bg = form<app::TfrmBG>();
  bg.showForm();
  enter(bg.edtHighEdge, "1000");  // draws the gauge
  const QImage& bg_gauge = bg.pbxGradationGauge->image();
  ASSERT_FALSE(bg_gauge.isNull());
  const Palette view = image_palette(false, false);  // the background view's ramp
  const TColor low = view[0];
  EXPECT_NEAR(qGray(bg_gauge.pixel(3, bg_gauge.height() / 2)), qGray(qRgb(low & 0xFF, (low >> 8) & 0xFF, (low >> 16) & 0xFF)), 4);
  EXPECT_GT(qGray(bg_gauge.pixel(3, bg_gauge.height() / 2)), 240);
  EXPECT_LT(qGray(bg_gauge.pixel(bg_gauge.width() - 4, bg_gauge.height() / 2)), 16);
  bg.hide();
}

// A typed high edge below the edge in force moves the edge, and its label shows it.
TEST_F(DisplayAgreement, HighEdgeLabelFollowsATypedRange) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  auto& image = form<app::TfrmImage>();
  image.rbtnLogScale->setChecked(true);
  ASSERT_GT(state().display_scale.HighEdge, 7000);
  enter(image.edtHighEdge, "7000");
  EXPECT_EQ(state().display_scale.HighEdge, 7000);
  EXPECT_EQ(image.lblHighIndex->caption(), "7000");
  EXPECT_EQ(image.lblLowIndex->caption(), "0");
}

// Long numbers in the fit list fit their columns.
TEST_F(DisplayAgreement, FitListColumnsAreWideEnoughForTheirTexts) {
  NaxPattern& p = state().nax_pattern;
  p.N = 100;
  p.set_kind(kAngleHistogram);
  PeakTable& t = state().peak_table;
  t.two_theta[0] = 13.817217, t.d[0] = 6.4, t.intensity[0] = 100, t.count = 1;
  FitTables& f = state().fit_tables;
  f.fitted[0] = FitRecord{1, -2134.7682123, 13.817217, 0.0512345, -123456.789, 17.25, 0, 0, 0};
  f.initial[0] = FitRecord{0, 98765.4321, 13.81, 0.04, 12.0, 0.0, 0, 0, 0};
  f.count = 1;
  fit_window().show_fit_results();
  auto& fits = form<app::TfrmPeakFitting>();
  kgui::TStringGrid& grid = *fits.sgridPeakParameter;
  const QFontMetrics metrics(grid.widget()->font());
  bool long_text = false;
  for (int c = 0; c < grid.colCount(); ++c)
    for (int r = 0; r < grid.rowCount(); ++r) {
      const QString text = QString::fromStdString(grid.cell(c, r));
      long_text = long_text || metrics.horizontalAdvance(text) > 64;
      EXPECT_LE(metrics.horizontalAdvance(text) + 8, grid.colWidth(c)) << c << "," << r << " " << text.toStdString();
    }
  EXPECT_TRUE(long_text);  // the case needs a text wider than a design column
  EXPECT_EQ(grid.colWidth(4), 92);  // short texts keep the design widths
}

// After a centre search the centre edits show the start of their long numbers, as does any
// edit whose text the program sets.
TEST_F(DisplayAgreement, EditsSetByTheProgramShowTheStartOfTheirText) {
  integrate_ring_image(4);
  app::TfrmMain& m = main();
  click_menu("IPmain", "Find Center");
  controls().set_text(frmMain::edtCameraLength, "986.505569943091");
  for (kgui::TEdit* e : {m.edtCenterX0, m.edtCenterY0, m.edtCameraLength}) {
    auto* line = static_cast<QLineEdit*>(e->widget());
    EXPECT_EQ(line->cursorPosition(), 0) << e->name() << " " << e->text();
  }
}

TEST_F(DisplayAgreement, FileDialogsCarryTheProgramsName) {
  for (const bool save : {false, true}) {
    kgui::TOpenDialog d(nullptr);
    QFileDialog dialog;
    kgui::configureFileDialog(dialog, d, save);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Kestrin");
    d.setTitle("Own title");
    kgui::configureFileDialog(dialog, d, save);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Own title");
  }
}

}  // namespace
}  // namespace kestrin::test
