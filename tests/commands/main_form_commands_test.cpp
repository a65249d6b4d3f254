// The main window's commands without widgets: the edit-commit rule, the radio and combo
// lines, the loading guard, the straight-line guard and the centre search's start.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "commands/parameter_controls.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/parameter_table.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/pattern_fixture.h"
#include "support/recording_views.h"
#include "support/state_fixture.h"
#include "support/ring_image.h"

namespace kestrin::test {
namespace {

class MainCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.prompts = &prompts_;
    install_ports(views_.ports(p));
    state().macro.MacroRecording = true;
  }
  void TearDown() override { reset_headless_ports(); }
  Controls& c() { return controls(); }
  const std::vector<std::string>& macro() const { return state().macro.MacroList; }
  RecordingViews views_;
  ScriptedPrompts prompts_;
};

TEST_F(MainCommandsTest, EditCommitRule) {
  struct Case {
    bool image;
    int key;
    bool reads;  // read_parameters ran and the image was redrawn
    bool records;
  };
  const Case cases[] = {{false, kEnterKey, false, false}, {false, 'A', false, false},
                        {true, kEnterKey, true, true},    {true, 'A', false, false}};
  for (const Case& k : cases) {
    SetUp();
    views_.redraws = 0;
    current_image().NoImageFlag = k.image ? 0 : 1;
    c().set_text(frmMain::edtCameraLength, " 250 ");
    state().integration_params.Lo = 1;
    parameter_edit_key(frmMain::edtCameraLength, k.key);
    SCOPED_TRACE(testing::Message() << "image " << k.image << " key " << k.key);
    EXPECT_EQ(state().integration_params.Lo == 250, k.reads);
    EXPECT_EQ(views_.redraws, k.reads ? 1 : 0);
    EXPECT_EQ(macro(), k.records ? std::vector<std::string>{"Kestrin.SetLo( 250 );"} : std::vector<std::string>{});
  }
}

TEST_F(MainCommandsTest, EveryParameterEditRecordsItsMethod) {
  current_image().NoImageFlag = 0;
  for (const Parameter& p : parameter_table())
    if (control_of(p).control.form == frmMain::form && (p.kind == ParameterKind::kReal || p.kind == ParameterKind::kInteger))
      parameter_edit_key(control_of(p).control, kEnterKey);
  ASSERT_EQ(macro().size(), 15u);  // all but the division angle
  EXPECT_EQ(macro().front(), "Kestrin.Set2ThetaBegin(1.0);");
  EXPECT_EQ(macro()[9], "Kestrin.SetBand(100);");
  EXPECT_EQ(macro().back(), "Kestrin.SetCenterY(1989);");
  EXPECT_EQ(views_.redraws, 16);
}

TEST_F(MainCommandsTest, TextThatIsNoNumberStopsBeforeTheLine) {
  current_image().NoImageFlag = 0;
  c().set_text(frmMain::edtLambda, "1,5");
  EXPECT_THROW(parameter_edit_key(frmMain::edtLambda, kEnterKey), ConversionError);
  EXPECT_TRUE(macro().empty());
}

TEST_F(MainCommandsTest, RadioAndComboLinesNeedNoImageAndWaitForLoading) {
  c().set_checked(frmMain::rbtnRectangle, true);
  region_radio_clicked(0);
  c().set_checked(frmMain::rbtnSector, true);
  region_radio_clicked(1);
  c().set_checked(frmMain::rbtnSectoredDivision, true);
  region_radio_clicked(2);
  c().set_checked(frmMain::rbtnRect_Angle, true);
  rect_mode_radio_clicked(1);
  c().set_item_index(frmMain::cmbDirection, 6);
  direction_changed();
  EXPECT_EQ(macro(), (std::vector<std::string>{
                         "Kestrin.SetIntegrationMode(0);", "Kestrin.SetIntegrationMode(1);",
                         "Kestrin.SetIntegrationMode(2);", "Kestrin.SetRectAngleMode(1);",
                         "Kestrin.SetRectDirection(6);"}));
  EXPECT_EQ(state().integration_params.IntegrationMode, 2);
  EXPECT_EQ(state().integration_params.RectDirection, 6);
  EXPECT_EQ(views_.redraws, 5);

  state().LoadingFlag = true;
  c().set_item_index(frmMain::cmbDirection, 2);
  direction_changed();
  region_radio_clicked(0);
  rect_mode_radio_clicked(0);
  EXPECT_EQ(macro().size(), 5u);
  EXPECT_EQ(views_.redraws, 5);
  EXPECT_EQ(state().integration_params.RectDirection, 6);
}

TEST_F(MainCommandsTest, StraightLineIntegrationOnlyForTheRectangleByDirection) {
  const std::pair<ControlName, ControlName> choices[] = {{frmMain::rbtnSector, frmMain::rbtnRect_Direction},
                                                         {frmMain::rbtnRectangle, frmMain::rbtnRect_Angle},
                                                         {frmMain::rbtnRectangle, frmMain::rbtnRect_Direction}};
  for (auto [region, mode] : choices) {
    c().set_checked(region, true);
    c().set_checked(mode, true);
    straight_line_integration();
  }
  // The last choice only; without an image the routine stops after its no-image line.
  EXPECT_EQ(the_log().history(), (std::vector<std::string>{"<<<<<   Straight Line Integration   >>>>>",
                                                           " calc_line_integration() : Image data does not exist."}));
}

// An integration command reads the edits before its routine runs; a routine that says a
// banner first used to read after it, so with a text that does not convert the log still
// shows the banner (and only it) before the error leaves the command.
TEST_F(MainCommandsTest, TextThatIsNoNumberFollowsTheRoutinesBanner) {
  const std::pair<void (*)(), std::vector<std::string>> cases[] = {
      {angle_intensity_command, {}},
      {fine_angle_intensity_command, {"<<<<<   Fine Angle Histogram   >>>>>"}},
      {pixel_intensity_command, {"<<<<<   Pixel Histogram   >>>>>"}},
      {sectoring_command, {"<<<<<< SECTORING >>>>>>>"}},
      {straight_line_integration, {"<<<<<   Straight Line Integration   >>>>>"}},
  };
  load_into_current_image(std::vector<uint16_t>(40 * 30, 100), 40, 30);
  c().set_checked(frmMain::rbtnRectangle, true);
  c().set_checked(frmMain::rbtnRect_Direction, true);
  for (const auto& [command, logged] : cases) {
    the_log().clear_history();
    c().set_text(frmMain::edtLambda, "1,5");
    EXPECT_THROW(command(), ConversionError);
    EXPECT_EQ(the_log().history(), logged);
  }
}

void half_step(double& x, double& y) {
  x += 0.5;
  y -= 0.5;
}

TEST_F(MainCommandsTest, CentreSearchWithoutDirectBeamStartsInTheMiddleWhenAskedNot) {
  current_image().ImageWidth = current_image().ImageHeight = 2000;
  current_image().NoImageFlag = 0;
  prompts_.answers = {false};
  find_center_without_direct(+[](double&, double&) {});
  EXPECT_EQ(prompts_.questions, std::vector<std::string>{"Use current CenterX,Y for Initial?"});
  EXPECT_EQ(c().text(frmMain::edtCenterX0), "1000");
  EXPECT_EQ(c().text(frmMain::edtCenterY0), "1000");
  EXPECT_EQ(state().integration_params.X0, 1000);
}

TEST_F(MainCommandsTest, CentreSearchWithoutDirectBeamRunsTenRoundsFromTheEdits) {
  current_image().NoImageFlag = 0;
  c().set_text(frmMain::edtCenterX0, "10");
  c().set_text(frmMain::edtCenterY0, "20");
  find_center_without_direct(&half_step);  // answered yes: starts from the edits
  EXPECT_EQ(c().text(frmMain::edtCenterX0), "15");
  EXPECT_EQ(c().text(frmMain::edtCenterY0), "15");
  EXPECT_EQ(views_.redraws, 10);
}

// The pump of a running centre search hands the user's second click to the command: the
// second run is refused, the first goes on to its end.
TEST_F(MainCommandsTest, CentreSearchStartedInsideItsOwnPumpIsRefused) {
  struct SecondClick : EventPump {
    int clicks = 0;
    void process_messages() override {
      if (clicks++ == 0) find_center_without_direct(&half_step);
    }
  } pump;
  Ports p;
  p.events = &pump;
  p.prompts = &prompts_;
  install_ports(views_.ports(p));
  current_image().NoImageFlag = 0;
  c().set_text(frmMain::edtCenterX0, "10");
  c().set_text(frmMain::edtCenterY0, "20");
  find_center_without_direct(&half_step);
  EXPECT_EQ(c().text(frmMain::edtCenterX0), "15");
  EXPECT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(the_log().history().back(), " FindCenterNoDirect() : another run is in progress.");
}

// The menu's ten rounds on rings without a direct beam, from a centre 7 pixels right of and
// 5 above the true one: the edits end on the true centre, in rows as the window shows them
// (flipped when the images were loaded with VerticalReverse); the window is left in
// rectangle mode by direction RIGHT with a band of 20.
TEST_F(MainCommandsTest, CentreSearchWithoutDirectBeamFindsTheRingsCentre) {
  RingImageSpec spec;
  RingGeometry& g = spec.geometry;
  g.width = 600, g.height = 560, g.X0 = 296.4, g.Y0 = 283.7, g.Lo = 100, g.pixel_x = g.pixel_y = 0.1;
  for (double t : {5.0, 8.2, 11.0, 14.1}) spec.rings.push_back({t, 0.06, 4000.0});
  spec.background = 20;
  const std::vector<uint16_t> codes = make_ring_image(spec);
  for (const bool reverse : {false, true}) {
    SCOPED_TRACE(reverse ? "rows flipped" : "rows as loaded");
    SetUp();
    prompts_.questions.clear();
    views_.redraws = 0;
    load_into_current_image(codes, g.width, g.height);
    state().options.VerticalReverse = reverse ? 1 : 0;
    const auto shown = [&](double y) { return reverse ? g.height - 1 - y : y; };
    c().set_text(frmMain::edtCenterX0, FloatToStr(g.X0 + 7));
    c().set_text(frmMain::edtCenterY0, FloatToStr(shown(g.Y0 - 5)));
    c().set_text(frmMain::edtCameraLength, "100");
    c().set_text(frmMain::edtPixelX, "0.1");
    c().set_text(frmMain::edtPixelY, "0.1");
    c().set_text(frmMain::edtPhi, "0");
    c().set_text(frmMain::edtBandWidth, "100");
    c().set_checked(frmMain::rbtnSector, true);
    c().set_item_index(frmMain::cmbDirection, 6);
    prompts_.answers = {true};
    find_center_without_direct_command();
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{"Use current CenterX,Y for Initial?"});
    EXPECT_NEAR(StrToFloat(c().text(frmMain::edtCenterX0)), g.X0, 0.5);
    EXPECT_NEAR(StrToFloat(c().text(frmMain::edtCenterY0)), shown(g.Y0), 0.5);
    EXPECT_NEAR(state().integration_params.Y0, g.Y0, 0.5);
    EXPECT_TRUE(c().checked(frmMain::rbtnRectangle));
    EXPECT_TRUE(c().checked(frmMain::rbtnRect_Direction));
    EXPECT_EQ(c().text(frmMain::edtBandWidth), "20");
    EXPECT_EQ(c().item_index(frmMain::cmbDirection), 4);
    // The first round's switch to rectangle mode runs the region radio's command once.
    EXPECT_EQ(views_.redraws, 11);
  }
}

TEST_F(MainCommandsTest, FindCenterNeedsAnImageAndOnlyTheMenuRedraws) {
  find_center_command(true);
  EXPECT_EQ(views_.redraws, 0);
  RingImageSpec spec;
  spec.rings = {{5, 0.2, 500}};
  load_into_current_image(make_ring_image(spec), 200, 200);
  find_center_command(false);
  const int by_button = views_.redraws;  // whatever the centre search redraws itself
  EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.FindCenter();"});
  find_center_command(true);
  EXPECT_EQ(views_.redraws - by_button, by_button + 1);
}

// The script's FindCenter: the macro line, the banner, the edits read first and the centre
// written back as "%10.5f" in rows as the window shows them, then one redraw; a centre that
// stays leaves the edits and the image alone.
TEST_F(MainCommandsTest, FindCenterReadsTheEditsAndWritesTheCentreBack) {
  EXPECT_EQ(find_center_and_show(), 1);
  EXPECT_EQ(the_log().history(),
            (std::vector<std::string>{"<<<<<<<<<< FIND CENTER >>>>>>>>>>", "find_center() : Image data does not exist."}));
  EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.FindCenter();"});
  std::vector<uint16_t> codes(80 * 70);
  for (int32_t y = 0; y < 70; ++y)
    for (int32_t x = 0; x < 80; ++x) {
      const double r2 = (x - 40.3) * (x - 40.3) + (y - 20.6) * (y - 20.6);
      codes[size_t(x + 80 * y)] = uint16_t(std::lround(5 + 20000 * std::exp(-r2 / (2 * 1.8 * 1.8))));
    }
  struct Case { uint8_t reverse; const char *start_x, *start_y; int32_t status; };
  const Case cases[] = {{0, "38", "21", 0}, {1, "40", "49", 0}, {0, "-3", "30", 2}};  // 49: row 69 - 49 = 20
  for (const Case& k : cases) {
    SCOPED_TRACE(k.start_y);
    SetUp();
    views_.redraws = 0;
    load_into_current_image(codes, 80, 70);
    state().options.VerticalReverse = k.reverse;
    c().set_text(frmMain::edtCenterX0, k.start_x);
    c().set_text(frmMain::edtCenterY0, k.start_y);
    EXPECT_EQ(find_center_and_show(), k.status);
    const IntegrationParams& p = state().integration_params;
    if (k.status != 0) {
      EXPECT_EQ(c().text(frmMain::edtCenterX0), k.start_x);
      EXPECT_EQ(c().text(frmMain::edtCenterY0), k.start_y);
      EXPECT_EQ(views_.redraws, 0);
      continue;
    }
    EXPECT_NEAR(p.X0, 40.3, 0.05);
    EXPECT_NEAR(p.Y0, 20.6, 0.05);
    EXPECT_EQ(c().text(frmMain::edtCenterX0), Format("%10.5f", {p.X0}));
    EXPECT_EQ(c().text(frmMain::edtCenterY0), Format("%10.5f", {k.reverse ? 70 - p.Y0 - 1.0 : p.Y0}));
    EXPECT_EQ(views_.redraws, 1);
    const double found = p.Y0;
    read_parameters(current_image().ImageHeight);  // the edit read back gives the same row
    EXPECT_NEAR(p.Y0, found, 1e-5);
    EXPECT_EQ(the_log().history().back(),
              " Fitted " + Format("%10.5f", {p.X0}) + "," + c().text(frmMain::edtCenterY0));
  }
}

// The script's CalcTilt: the macro line, and a tilt determined written into edtBeta "%8.3f"
// and edtPhi "%10.6f"; a tilt not determined leaves the edits as typed.
TEST_F(MainCommandsTest, CalcTiltWritesADeterminedTiltIntoTheEdits) {
  EXPECT_EQ(calc_tilt_command(), 1);  // no 16-sector pattern: silent
  EXPECT_TRUE(the_log().history().empty());
  EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.CalcTilt();"});
  struct Case { double tilt; bool cosine; const char *beta, *phi; };
  const Case cases[] = {
      {1.0, true, "  90.000", "  1.000000"}, {0.0, true, "   0.000", "  0.000000"}, {5.0, false, "12", "0.5"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.tilt);
    SetUp();
    state().sector_patterns.allocate(16);
    state().nax_pattern.set_kind(kSector16Pixel);
    IntegrationParams& p = state().integration_params;
    p.Lo = 100, p.pixel_x = 0.1;
    c().set_text(frmMain::edtBeta, "12");
    c().set_text(frmMain::edtPhi, "0.5");
    // One ring of radius 100 pixels whose opposite radii show k.tilt cos(22.5 k - 90), or
    // k.tilt in every sector; 5 degrees everywhere puts every pair beyond the tolerance.
    for (int32_t s = 0; s < 8; ++s) {
      const double t = k.tilt * (k.cosine ? std::cos((22.5 * s - 90) * std::numbers::pi / 180) : 1.0);
      const double D = t * std::numbers::pi / 180 * 100 * 100 / 1000;
      for (const auto& [sector, x] : {std::pair{s, 100 + D}, std::pair{s + 8, 100 - D}}) {
        PeakList& l = state().sector_patterns.sectors[size_t(sector)].peaks();
        l.count = 1, l.x[0] = x, l.intensity[0] = 100;
      }
    }
    EXPECT_EQ(calc_tilt_command(), 0);
    EXPECT_EQ(c().text(frmMain::edtBeta), k.beta);
    EXPECT_EQ(c().text(frmMain::edtPhi), k.phi);
    EXPECT_EQ(macro(), std::vector<std::string>{"Kestrin.CalcTilt();"});
  }
}

TEST_F(MainCommandsTest, StartStateZeroesTheGeometryAndEmptiesTheMacroList) {
  state().macro.MacroList = {"x"};
  current_image().NoImageFlag = 0;
  init_program_state();
  const IntegrationParams& p = state().integration_params;
  EXPECT_EQ(p.Lo, 0);
  EXPECT_EQ(p.X0, 0);
  EXPECT_EQ(p.band_width, 0);
  EXPECT_EQ(p.RectDirection, 0);
  EXPECT_EQ(current_image().NoImageFlag, 1);
  EXPECT_TRUE(state().nax_pattern.empty());
  EXPECT_TRUE(macro().empty());
  EXPECT_FALSE(state().macro.MacroRecording);
  EXPECT_EQ(state().graph.GraphWidth, 500);
}

}  // namespace
}  // namespace kestrin::test
