// The options, colour, batch, merge and spread windows offscreen, driven through their named
// controls with scripted dialogs, as a user reaches them.
#include <QAbstractButton>
#include <QTest>

#include "app/batch_files_form.h"
#include "app/form_lookup.h"
#include "app/image_spread_form.h"
#include "app/merge_image_form.h"
#include "app/option_forms.h"
#include "app/panel_button.h"
#include "app_fixture.h"
#include "base/paths.h"
#include "commands/file_list_commands.h"
#include "commands/settings_commands.h"
#include "image/image_store.h"
#include "image/merge_images.h"
#include "model/state.h"
#include "offscreen_app.h"
#include "ports/log.h"
#include "ports/names/batch_files_names.h"
#include "ports/names/merge_image_names.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

using namespace kgui;
using Lines = std::vector<std::string>;

class ToolWindowsTest : public AppTest {
protected:
  template <class Form>
  Form& form() {
    Form* f = app::form_of<Form>();
    EXPECT_NE(f, nullptr);
    return *f;
  }
  std::string raxis(const std::string& name, int32_t w, int32_t h) {
    RaxisFixture f;
    f.width = w;
    f.height = h;
    return f.write(dir_.file(name));
  }
  size_t error_boxes() const {
    return size_t(std::count_if(dialogs_.questions().begin(), dialogs_.questions().end(),
                                [](const auto& q) { return q.kind == "message" && q.type == mtError; }));
  }
};

// The options window shows the options as the settings file left them when it was made.
TEST_F(ToolWindowsTest, OptionsShowTheSettingsAtStart) {
  auto& o = form<app::TfrmOption>();
  EXPECT_EQ(o.caption(), "Kestrin Option");
  EXPECT_FALSE(o.visible());
  EXPECT_EQ(o.edtHwhmPixel->text(), "  3.0000");
  EXPECT_EQ(o.edtHwhmTheta->text(), "  0.1000");
  EXPECT_TRUE(o.rbtnFitType1->checked());
  EXPECT_FALSE(o.chkVerticalReverse->enabled());

  state().options.FitType = 1;
  state().options.HwhmPixel = 1.5;
  state().colours.colour[4] = 0x123456;
  ASSERT_TRUE(save_settings_file(settings_path()));
  start();
  EXPECT_TRUE(form<app::TfrmOption>().rbtnFitType2->checked());
  EXPECT_EQ(form<app::TfrmOption>().edtHwhmPixel->text(), "  1.5000");
  EXPECT_EQ(form<app::TfrmOptionColor>().swatches[4]->color(), 0x123456);
}

TEST_F(ToolWindowsTest, OptionsApplyHidesCancelKeepsTheControlsAndABadWidthKeepsTheWindowOpen) {
  click_menu("Tool", "Option");
  auto& o = form<app::TfrmOption>();
  ASSERT_TRUE(o.visible());
  static_cast<QAbstractButton*>(o.rbtnFitType2->widget())->click();
  o.rdgDistanceSetting->setItemIndex(2);
  o.pbtnCancel->click();
  EXPECT_FALSE(o.visible());
  EXPECT_EQ(state().options.FitType, 0);
  EXPECT_EQ(state().options.DistanceSetting, 0);

  click_menu("Tool", "Option");
  EXPECT_TRUE(o.rbtnFitType2->checked());  // as the user left it
  o.edtHwhmTheta->setText("wide");
  o.pbtnApply->click();
  EXPECT_TRUE(o.visible());
  EXPECT_EQ(error_boxes(), 1u);
  EXPECT_EQ(dialogs_.questions().back().text, "'wide' is not a valid floating point value.");
  EXPECT_EQ(state().options.HwhmPixel, 3.0);  // stored before the bad field
  EXPECT_EQ(state().options.FitType, 0);      // after it: not yet

  o.edtHwhmTheta->setText("0.25");
  o.pbtnApply->click();
  EXPECT_FALSE(o.visible());
  EXPECT_EQ(state().options.FitType, 1);
  EXPECT_EQ(state().options.DistanceSetting, 2);
  EXPECT_EQ(state().options.HwhmTheta, 0.25);
}

TEST_F(ToolWindowsTest, ColourSwatchesTakeTheDialogsColourAndApplyStoresThem) {
  click_menu("Tool", "Option(Color)");
  auto& c = form<app::TfrmOptionColor>();
  ASSERT_TRUE(c.visible());
  EXPECT_EQ(c.swatches[0]->color(), 0x008000);
  EXPECT_EQ(c.swatches[5]->color(), 0xC0DCC0);
  dialogs_.answerCancel();
  c.swatches[1]->click();
  EXPECT_EQ(c.swatches[1]->color(), 0x808000);  // a cancel leaves the swatch
  dialogs_.answerColor(0x0000FF);
  c.swatches[0]->click();
  EXPECT_EQ(c.swatches[0]->color(), 0x0000FF);
  EXPECT_EQ(state().colours.colour[0], 0x008000);  // not before Apply
  c.pbtnApply->click();
  EXPECT_FALSE(c.visible());
  EXPECT_EQ(state().colours.colour[0], 0x0000FF);
  const auto& q = dialogs_.questions();
  EXPECT_EQ(std::count_if(q.begin(), q.end(), [](const auto& x) { return x.kind == "color"; }), 2);
}

TEST_F(ToolWindowsTest, BatchWindowListsTheChosenFilesAndConvertsThem) {
  click_menu("Window", "BatchFile");
  auto& b = form<app::TfrmBatchFiles>();
  ASSERT_TRUE(b.visible());
  EXPECT_EQ(b.caption(), "frmBatchFiles");
  const std::string a = write_ring_image("a.img"), c = write_ring_image("c.img", 0.5);
  dialogs_.answerFiles({a, c});
  b.pbtnFileSelect->click();
  EXPECT_EQ(dialogs_.questions().back().text, kImageListFilter);
  EXPECT_EQ(file_list(frmBatchFiles::memFileName), (Lines{a, c}));
  EXPECT_EQ(b.memFileName->lines()->count(), 2);
  state().macro.MacroRecording = true;
  b.btnExecute->click();
  EXPECT_EQ(state().macro.MacroList, Lines(2, "Kestrin.FineAngleIntensity();"));
  EXPECT_EQ(current_image().ImageFilePath, c);
}

TEST_F(ToolWindowsTest, MergeWindowMakesSizesGaugesAndSavesThePicture) {
  click_menu("Window", "Merge Image");
  auto& m = form<app::TfrmMergeImage>();
  ASSERT_TRUE(m.visible());
  EXPECT_EQ(m.cmbRotation->text(), "0°");
  dialogs_.answerFiles({raxis("b.img", 40, 30), raxis("a.img", 40, 30)});
  m.pbtnFileSelect->click();
  m.btnSort->click();
  EXPECT_EQ(file_list(frmMergeImage::memFileName), (Lines{dir_.file("a.img"), dir_.file("b.img")}));
  for (auto [e, t] : {std::pair{m.edtX0, "0"}, {m.edtY0, "0"}, {m.edtX1, "19"}, {m.edtY1, "9"}}) e->setText(t);
  QTest::keyClick(m.edtY1->widget(), Qt::Key_Return);
  EXPECT_EQ(state().selected_area.AreaY1, 9);
  m.cmbRotation->setItemIndex(1);
  m.pbtnMergeImage->click();
  ASSERT_TRUE(merge_state().Merged);
  EXPECT_EQ(m.pbxMergeImage->width(), 10);
  EXPECT_EQ(m.pbxMergeImage->height(), 40);
  m.scrMagni->setPosition(50);
  EXPECT_EQ(m.Label1->caption(), "50%");
  EXPECT_EQ(m.pbxMergeImage->width(), 5);
  EXPECT_EQ(m.pbxMergeImage->height(), 20);

  // A drag on the gauge near its low end moves the low edge.
  QWidget* gauge = m.pbxMergeGradationGauge->widget();
  send_mouse(gauge, QEvent::MouseButtonPress, 30, 5, Qt::LeftButton, Qt::LeftButton);
  send_mouse(gauge, QEvent::MouseMove, 40, 5, Qt::NoButton, Qt::LeftButton);
  send_mouse(gauge, QEvent::MouseButtonRelease, 40, 5, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(merge_state().gauge.low, 100);
  EXPECT_EQ(m.lblLowIndex->caption(), "100");

  static_cast<QAbstractButton*>(m.rbtnLogScale->widget())->click();
  EXPECT_EQ(state().display_scale.DisplayMode, 0);
  EXPECT_EQ(m.edtHighEdge->text(), "10000");

  dialogs_.answerFile(dir_.file("m.bmp"), 1);
  m.pbtnSaveMergeImage->click();
  EXPECT_TRUE(file_exists(dir_.file("m.bmp")));
}

TEST_F(ToolWindowsTest, SpreadWindowMakesAReferenceThenSpreads) {
  click_menu("Window", "Spread Image");
  auto& s = form<app::TfrmImageSpread>();
  ASSERT_TRUE(s.visible());
  EXPECT_TRUE(s.rbtnSpreadNew->checked());
  const std::string a = raxis("a.img", 30, 20);
  dialogs_.answerFiles({a});
  s.pbtnFileSelect->click();
  EXPECT_EQ(dialogs_.questions().back().text, "Rigaku R-AXIS5 (*.img)|*.IMG");
  dialogs_.answerFile(dir_.file("a.csv"), 1);
  s.btnExecute->click();
  EXPECT_EQ(s.edtRefFileName->text(), dir_.file("a.csv"));
  static_cast<QAbstractButton*>(s.rbtnSpreadRef->widget())->click();
  s.btnExecute->click();
  EXPECT_TRUE(file_exists(dir_.file("a_spr.img")));
  dialogs_.answerFile(dir_.file("b.csv"), 1);
  s.btnRefFileSelect->click();
  EXPECT_EQ(s.edtRefFileName->text(), dir_.file("b.csv"));
  EXPECT_EQ(dialogs_.questions().back().text, "Ref. file (*.csv)|*.CSV");
}

// Every button of every tool window, clicked with nothing chosen: none says it is not
// available and none fails with an error box.
TEST_F(ToolWindowsTest, EveryButtonWorksOrDoesNothingQuietly) {
  const char* windows[] = {"frmOption", "frmOptionColor", "frmBatchFiles", "frmMergeImage", "frmImageSpread"};
  for (const char* name : windows) {
    TForm* f = app::find_form(name);
    ASSERT_NE(f, nullptr) << name;
    int buttons = 0;
    for (int i = 0; i < f->componentCount(); ++i) {
      auto* button = dynamic_cast<TControl*>(f->components(i));
      if (!button || !(dynamic_cast<TButton*>(button) || dynamic_cast<app::TPanelButton*>(button))) continue;
      SCOPED_TRACE(std::string(name) + "." + button->name());
      ++buttons;
      f->showForm();
      the_log().clear_history();
      button->click();
      for (const std::string& line : the_log().history()) EXPECT_EQ(line.find("not available"), std::string::npos) << line;
      EXPECT_EQ(error_boxes(), 0u);
    }
    EXPECT_GE(buttons, 2) << name;
  }
}

}  // namespace
}  // namespace kestrin::test
