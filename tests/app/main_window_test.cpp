// The main window offscreen: the forms at start, start texts, the handlers as a user
// reaches them, the settings file, the file commands through the dialogs and a screenshot
// after an integration. (Recorded actions replayed as scripts: tests/scripting.)
#include <QImage>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/log_window.h"
#include "app/placeholder_forms.h"
#include "app/startup_form.h"
#include "app/window_placement.h"
#include "app_fixture.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "commands/headless_ports.h"
#include "commands/parameter_controls.h"
#include "image/image_store.h"
#include "model/parameter_table.h"
#include "model/parameters.h"
#include "model/state.h"
#include "platform/gui/list_controls.h"
#include "ports/log.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using app::TfrmLog;
using app::TfrmMain;
using app::TfrmStartUp;
using Lines = std::vector<std::string>;

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, TwentyFormsInOrderOnlyTheMainWindowShows) {
  const char* names[] = {"frmMain",       "frmStartUp",     "frmLog",        "frmNaxGraph",   "frmPeak",
                         "frmImage",      "frmImageWhole",  "frmCake",       "frmOption",     "frmPeakFitting",
                         "frmScript",     "frmBG",          "frmSpot",       "frmOptionColor", "frmOscAna",
                         "frmSpotAnalyze", "frmMask",       "frmMergeImage", "frmBatchFiles", "frmImageSpread"};
  ASSERT_EQ(forms_.size(), 20u);
  for (size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(forms_[i]->name(), names[i]);
    EXPECT_FALSE(forms_[i]->visible()) << names[i];
  }
  EXPECT_NE(dynamic_cast<TfrmMain*>(forms_[0]), nullptr);
  EXPECT_NE(dynamic_cast<TfrmStartUp*>(forms_[1]), nullptr);
  EXPECT_NE(dynamic_cast<TfrmLog*>(forms_[2]), nullptr);
  // Without the script window's maker (it lives above this library) a stand-in takes its place.
  EXPECT_NE(dynamic_cast<app::TPlaceholderForm*>(forms_[10]), nullptr);
  EXPECT_EQ(test_app().mainForm(), forms_[0]);
  EXPECT_EQ(main().caption(), "KES for Windows (Main)");
}

// Where the screen has room right of the main window, no window opens over it.
TEST_F(MainWindowTest, SecondaryWindowsOpenBesideTheMainWindowNotOverIt) {
  const QRect m = app::bounds_of(*forms_[0]), screen = app::available_screen();
  for (size_t i = 1; i < forms_.size(); ++i) {
    const QRect r = app::bounds_of(*forms_[i]);
    if (m.right() + 8 + r.width() > screen.right()) continue;
    EXPECT_FALSE(r.intersects(m)) << forms_[i]->name();
  }
}

// The controls of built windows are the widgets; those of windows not built yet answer from
// their start values; a name a built window does not have fails loudly.
TEST_F(MainWindowTest, ControlsByNameReachTheWidgetsAndRefuseUnknownNames) {
  controls().set_text(frmMain::edtCameraLength, "321");
  EXPECT_EQ(main().edtCameraLength->text(), "321");
  EXPECT_EQ(controls().text(frmNaxGraph::edtYEnd), "10000");
  const ControlName missing{frmMain::form, frmNaxGraph::edtYBegin.control};
  EXPECT_THROW(controls().text(missing), std::logic_error);
  EXPECT_THROW(controls().set_checked(missing, true), std::logic_error);
}

// The real window and the headless controls take their start values from the one table:
// every row of the main window shows the same in both.
TEST_F(MainWindowTest, TheWindowStartsWithTheHeadlessStartValues) {
  HeadlessControls headless;
  prepare_headless_controls(headless);
  int compared = 0;
  for (const Parameter& p : parameter_table()) {
    for (ControlName radio : control_of(p).radios) {
      EXPECT_EQ(controls().checked(radio), headless.checked(radio)) << radio;
      ++compared;
    }
    const ControlName c = control_of(p).control;
    if (p.kind == ParameterKind::kChoice || c.form != frmMain::form) continue;
    ++compared;
    switch (p.kind) {
      case ParameterKind::kReal:
      case ParameterKind::kInteger: EXPECT_EQ(controls().text(c), headless.text(c)) << c; break;
      case ParameterKind::kIndex: EXPECT_EQ(controls().item_index(c), headless.item_index(c)); break;
      case ParameterKind::kCheckBox: EXPECT_EQ(controls().checked(c), headless.checked(c)) << c; break;
      case ParameterKind::kChoice: break;
    }
  }
  EXPECT_EQ(compared, 16 + 1 + 4 + 5);  // edits, combo box, check boxes, radio buttons
}

TEST_F(MainWindowTest, StartTextsAndValues) {
  TfrmMain& m = main();
  const std::pair<kgui::TEdit*, const char*> texts[] = {
      {m.edt2ThetaBegin, "1.0"},       {m.edt2ThetaEnd, "32.00"},        {m.edt2ThetaStep, "0.020000"},
      {m.edtCameraLength, "500"},      {m.edtLambda, "1.0"},             {m.edtPixelX, "0.1"},
      {m.edtPixelY, "0.1"},            {m.edtBeta, "324.000"},           {m.edtPhi, "0.00000"},
      {m.edtBandWidth, "100"},         {m.edtRectAngle, "0.000000"},     {m.edtSectorStartAngle, "0.00000"},
      {m.edtSectorEndAngle, "10.00000"}, {m.edtSectoredAngle, "22.5"},   {m.edtCenterX0, "906"},
      {m.edtCenterY0, "1989"}};
  for (auto [edit, text] : texts) EXPECT_EQ(edit->text(), text) << edit->name();
  for (auto* c : {m.chkLo, m.chkwl, m.chkpsx, m.chkpsy}) EXPECT_TRUE(c->checked()) << c->name();
  EXPECT_FALSE(m.rbtnRectangle->checked());
  EXPECT_FALSE(m.rbtnSector->checked());
  EXPECT_TRUE(m.rbtnSectoredDivision->checked());
  EXPECT_TRUE(m.rbtnRect_Direction->checked());
  EXPECT_FALSE(m.rbtnRect_Angle->checked());
  EXPECT_EQ(m.cmbDirection->items()->count(), 11);
  EXPECT_EQ(m.cmbDirection->itemIndex(), 4);
  EXPECT_EQ(m.cmbDirection->text(), "RIGHT");
  EXPECT_EQ(m.pbtnAngleIntensity->caption(), "Angle Intensity");
  // The geometry is read from the edits once the window is built.
  EXPECT_EQ(state().integration_params.RectDirection, 4);
  EXPECT_EQ(state().integration_params.Lo, 500);
  EXPECT_EQ(state().integration_params.two_theta_step, 0.02);
  EXPECT_EQ(current_image().NoImageFlag, 1);
  EXPECT_NE(m.menuItem("IPmain", "Find Center(without direct)"), nullptr);
  EXPECT_FALSE(m.menuItem("Window", "Mask")->enabled());
}

TEST_F(MainWindowTest, ReturnInCameraLengthRecordsItsLineOnceAnImageIsLoaded) {
  TfrmMain& m = main();
  state().macro.MacroRecording = true;
  enter(m.edtCameraLength, " 250 ");
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().integration_params.Lo, 500);
  current_image().NoImageFlag = 0;
  QTest::keyClick(m.edtCameraLength->widget(), Qt::Key_Return);
  EXPECT_EQ(state().macro.MacroList, Lines{"Kestrin.SetLo( 250 );"});
  EXPECT_EQ(state().integration_params.Lo, 250);
}

TEST_F(MainWindowTest, UserChoicesOfRegionAndDirectionRecordTheirLines) {
  TfrmMain& m = main();
  m.showForm();
  state().macro.MacroRecording = true;
  static_cast<QRadioButton*>(m.rbtnSector->widget())->click();  // as the user's click
  QTest::keyClick(m.cmbDirection->widget(), Qt::Key_Down);  // RIGHT -> HORIZONTAL
  m.cmbDirection->setItemIndex(6);  // code: no handler
  EXPECT_EQ(state().macro.MacroList, (Lines{"Kestrin.SetIntegrationMode(1);", "Kestrin.SetRectDirection(5);"}));
  EXPECT_EQ(state().integration_params.IntegrationMode, 1);
  EXPECT_TRUE(m.rbtnRect_Direction->checked());  // a group of its own
  state().LoadingFlag = true;  // while the settings are read, checks run no handler
  m.rbtnRectangle->setChecked(true);
  EXPECT_EQ(state().macro.MacroList.size(), 2u);
  m.hide();
}

TEST_F(MainWindowTest, SettingsFileFillsTheWindowWithoutRunningItsHandlers) {
  Lines lines(54, "0");
  for (int i = 0; i < 15; ++i) lines[size_t(i)] = main().edtCenterX0->text();
  lines[3] = "250";
  lines[15] = "99";   // beyond the combo's items
  lines[17] = "1";    // rbtnSector
  lines[20] = "0";    // chkLo unchecked
  for (int i = 24; i < 32; ++i) lines[size_t(i)] = "";
  std::filesystem::create_directories(config_.path() + "kestrin");
  ASSERT_TRUE(write_text_file(settings_path(), lines));
  start();
  TfrmMain& m = main();
  EXPECT_EQ(m.edtCameraLength->text(), "250");
  EXPECT_EQ(m.cmbDirection->itemIndex(), -1);
  EXPECT_EQ(state().integration_params.RectDirection, -1);
  EXPECT_TRUE(m.rbtnSector->checked());
  EXPECT_FALSE(m.rbtnSectoredDivision->checked());
  EXPECT_FALSE(m.chkLo->checked());
  EXPECT_FALSE(header_locked(&IntegrationParams::Lo));  // the model follows the box
  EXPECT_FALSE(state().LoadingFlag);
}

TEST_F(MainWindowTest, LoadImageThroughTheDialogFillsTheEditsAndShowsTheLog) {
  const std::string image = write_ring_image("ring.img");
  TfrmMain& m = main();
  m.chkLo->setChecked(false);
  m.chkwl->setChecked(false);
  state().macro.MacroRecording = true;
  dialogs_.answerFile(image, 1);
  click_menu("File", "Load Image");
  ASSERT_EQ(dialogs_.questions().size(), 1u);
  EXPECT_EQ(dialogs_.questions()[0].kind, "open");
  EXPECT_EQ(current_image().NoImageFlag, 0);
  EXPECT_EQ(current_image().ImageWidth, 200);
  EXPECT_EQ(state().integration_params.Lo, 100);
  EXPECT_NE(m.edtCameraLength->text(), "500");
  EXPECT_EQ(StrToFloat(m.edtCameraLength->text()), 100);
  EXPECT_FALSE(the_log().history().empty());
  EXPECT_TRUE(forms_[2]->visible());  // frmLog, which shows what the load logged
  EXPECT_GT(static_cast<TfrmLog*>(forms_[2])->memLog->lines()->count(), 5);
  EXPECT_EQ(state().dialog_slots.folder[kSlotImageOpen], dir_.path());
  EXPECT_EQ(state().macro.MacroList, Lines{"Kestrin.LoadImageFile('" + image + "');"});
}

TEST_F(MainWindowTest, MenuMessagesAndACancelledLoadThatStillShowsTheLog) {
  dialogs_.answerCancel();
  click_menu("File", "Load Image");
  EXPECT_TRUE(forms_[2]->visible());
  forms_[2]->hide();
  click_menu("File", "Import Mask File(BMP)");
  click_menu("Help", "Version Information(&A)");
  click_menu("Tool", "Script");
  ASSERT_EQ(dialogs_.questions().size(), 4u);  // the import's message and then its file dialog
  EXPECT_EQ(dialogs_.questions()[1].text, "24bit BMP. True red pixel is considered to be a mask.");
  EXPECT_EQ(dialogs_.questions()[1].caption, "Import Mask File");
  EXPECT_EQ(the_log().history().back(), " load_mask_proc() : cancel ");
  EXPECT_EQ(dialogs_.questions()[3].text, "KES for Windows. Version 2014.11.20");
  EXPECT_TRUE(forms_[10]->visible());  // frmScript
  forms_[10]->hide();
}

TEST_F(MainWindowTest, ScreenshotAfterAngleIntensity) {
  TfrmMain& m = main();
  for (auto* c : {m.chkLo, m.chkwl, m.chkpsx, m.chkpsy}) c->setChecked(false);
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  m.pbtnLoadImage->click();
  enter(m.edtCenterX0, "100");
  enter(m.edtCenterY0, "100");
  static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
  m.pbtnAngleIntensity->click();
  EXPECT_TRUE(state().nax_pattern.has_kind(kAngleHistogram));
  EXPECT_GT(state().nax_pattern.maximum, 0);
  m.showForm();
  test_app().processMessages();
  const QImage shot = m.widget()->grab().toImage();
  const std::string dir = std::string(KESTRIN_BINARY_DIR) + "/screenshots";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(shot.save(QString::fromStdString(dir + "/main_window.png")));
  // The picture shows the window: not blank, the parameter panel and the edits in their
  // colours where the controls stand, and the centre edits holding what was typed.
  std::set<QRgb> colours;
  for (int y = 0; y < shot.height(); y += 3)
    for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 8u);
  auto colour_at = [&](kgui::TControl* c, int dx, int dy) {
    const QPoint p = c->widget()->mapTo(m.widget(), QPoint(dx, dy));
    return QColor(shot.pixel(p));
  };
  const int edit_right = m.edtCameraLength->width() - 6;
  EXPECT_EQ(colour_at(m.edtCameraLength, edit_right, m.edtCameraLength->height() / 2), QColor(0xFE, 0xFF, 0xEC));
  EXPECT_EQ(colour_at(m.Panel1, m.Panel1->width() - 6, m.Panel1->height() - 6), QColor(0xE8, 0xF2, 0xFF));
  EXPECT_EQ(m.edtCenterX0->text(), "100");
  EXPECT_TRUE(m.edtCenterX0->widget()->isVisible());
  m.hide();
}

// Last: closing the main window ends the application object of this test process.
TEST_F(MainWindowTest, ExitWritesTheSettingsOnce) {
  main().edtCameraLength->setText("321");
  click_menu("File", "Exit(&X)");
  std::string bytes;
  ASSERT_TRUE(read_file_bytes(settings_path(), bytes));
  EXPECT_EQ(split_lines(bytes).at(3), "321");
  start();  // the next start shows the value again
  EXPECT_EQ(main().edtCameraLength->text(), "321");
  EXPECT_EQ(state().integration_params.Lo, 321);
  std::filesystem::remove(settings_path());
  stop();  // the window's destruction does not write again
  EXPECT_FALSE(std::filesystem::exists(settings_path()));
}

TEST_F(MainWindowTest, UnwritableSettingsFolderIsLoggedAndToldOnStandardErrorAtExit) {
  ASSERT_TRUE(write_text_file(dir_.file("plain"), {"x"}));
  ::setenv("XDG_CONFIG_HOME", dir_.file("plain").c_str(), 1);  // a file, not a folder
  testing::internal::CaptureStderr();
  click_menu("File", "Exit(&X)");
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_FALSE(the_log().history().empty());
  EXPECT_NE(the_log().history().back().find("The settings could not be saved"), std::string::npos);
  EXPECT_NE(err.find(the_log().history().back()), std::string::npos) << err;
}

}  // namespace
}  // namespace kestrin::test
