// Moving the parameters between the controls and the model: reading the edits in the
// table's order with its rules, the sector and division angle checks, the start values,
// the script setters, and the lock boxes that set the model's header locks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "commands/settings_commands.h"
#include "image/program_state.h"
#include "image/image_store.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

using ParametersTest = StateTest;

TEST_F(ParametersTest, ReadsEveryFieldFromItsEdit) {
  edit(frmMain::edtBandWidth, "11");
  edit(frmMain::edtCenterX0, " 512.5");
  edit(frmMain::edtCenterY0, "400.25 ");
  edit(frmMain::edtPixelX, "0.1");
  edit(frmMain::edtPixelY, "0.12");
  edit(frmMain::edtCameraLength, "250");
  edit(frmMain::edtBeta, "30");
  edit(frmMain::edtPhi, "2.5");
  edit(frmNaxGraph::edtXBegin, "3");
  edit(frmNaxGraph::edtYEnd, "900");
  edit(frmNaxGraph::edt2ThetaEnd, "40.5");
  edit(frmMain::edt2ThetaBegin, "5");
  edit(frmMain::edt2ThetaEnd, "60");
  edit(frmMain::edt2ThetaStep, "0.02");
  edit(frmMain::edtLambda, "1.5418");
  controls().set_item_index(frmMain::cmbDirection, 7);
  edit(frmMain::edtSectorStartAngle, "10");
  edit(frmMain::edtSectorEndAngle, "400");
  check(frmMain::rbtnSector);
  edit(frmMain::edtRectAngle, "45.7");
  check(frmMain::rbtnRect_Angle);
  edit(frmMain::edtSectoredAngle, "25");
  EXPECT_EQ(read_parameters(current_image().ImageHeight), 0);
  const IntegrationParams& p = state().integration_params;
  EXPECT_EQ(p.band_width, 11);
  EXPECT_EQ(p.X0, 512.5);
  EXPECT_EQ(p.Y0, 400.25);
  EXPECT_DOUBLE_EQ(p.pixel_ratio(), 1.2);
  EXPECT_EQ(p.Lo, 250);
  EXPECT_EQ(p.Beta, 30);
  EXPECT_EQ(p.Phi, 2.5);
  EXPECT_EQ(p.graph_x_begin, 3);
  EXPECT_EQ(p.graph_y_end, 900);
  EXPECT_EQ(p.graph_2theta_end, 40.5);
  EXPECT_EQ(p.two_theta_begin, 5);
  EXPECT_EQ(p.two_theta_end, 60);
  EXPECT_EQ(p.two_theta_step, 0.02);
  EXPECT_EQ(controls().text(frmMain::edt2ThetaStep), "0.020000");
  EXPECT_EQ(p.wavelength, 1.5418);
  EXPECT_EQ(p.RectDirection, 7);
  EXPECT_EQ(p.sector_start, 10);  // not shifted: start is not negative
  EXPECT_EQ(p.sector_end, 400);
  EXPECT_EQ(p.IntegrationMode, 1);
  EXPECT_EQ(p.rect_angle, 45.7);
  EXPECT_EQ(p.RectAngleMode, 1);
  EXPECT_EQ(p.division_angle, 25);
  EXPECT_EQ(p.sector_count, 15);
}

TEST_F(ParametersTest, DerivedFields) {
  struct Case {
    const char *px, *py, *start, *end, *division;
    double ratio, s, e;
    int32_t count;
  } cases[] = {
      {"0", "0.3", "-30", "30", "22.5", 1.0, 330, 390, 16},
      {"0.1", "0.1", "10", "400", "25", 1.0, 10, 400, 15},
      {"0.2", "0.1", "-360", "0", "360", 0.5, 0, 360, 1},
      {"0.1", "0.1", "0", "10", "0.001", 1.0, 0, 10, 360000},
  };
  for (const Case& c : cases) {
    edit(frmMain::edtPixelX, c.px);
    edit(frmMain::edtPixelY, c.py);
    edit(frmMain::edtSectorStartAngle, c.start);
    edit(frmMain::edtSectorEndAngle, c.end);
    edit(frmMain::edtSectoredAngle, c.division);
    read_parameters(current_image().ImageHeight);
    const IntegrationParams& p = state().integration_params;
    EXPECT_EQ(p.pixel_ratio(), c.ratio) << c.px;
    EXPECT_EQ(p.sector_start, c.s) << c.start;
    EXPECT_EQ(p.sector_end, c.e) << c.end;
    EXPECT_EQ(p.sector_count, c.count) << c.division;
  }
}

TEST_F(ParametersTest, VerticalReverseFlipsTheCentreRow) {
  load_into_current_image(std::vector<uint16_t>(10 * 1000, 1), 10, 1000);
  state().options.VerticalReverse = 1;
  edit(frmMain::edtCenterY0, "300");
  read_parameters(current_image().ImageHeight);
  EXPECT_EQ(state().integration_params.Y0, 699);
}

TEST_F(ParametersTest, BadFieldStopsTheReadAndKeepsLaterFields) {
  // Fields before the bad one are stored, the bad one and the later ones keep old values.
  edit(frmMain::edtBandWidth, "7");
  edit(frmMain::edtCenterX0, "12");
  edit(frmMain::edtPixelX, "abc");
  edit(frmMain::edtCameraLength, "321");
  IntegrationParams& p = state().integration_params;
  const double old_pixel = p.pixel_x, old_lo = p.Lo;
  EXPECT_THROW(read_parameters(current_image().ImageHeight), ConversionError);
  EXPECT_EQ(p.band_width, 7);
  EXPECT_EQ(p.X0, 12);
  EXPECT_EQ(p.pixel_x, old_pixel);
  EXPECT_EQ(p.Lo, old_lo);

  // A graph range that is not a number is left to the draw that uses it: the read goes on
  // and the range keeps its value.
  edit(frmMain::edtPixelX, "0.1");
  edit(frmNaxGraph::edtYBegin, "1.5");  // graph edits take integers
  edit(frmNaxGraph::edtYEnd, "900");
  const int32_t old_y = p.graph_y_begin;
  EXPECT_NO_THROW(read_parameters(current_image().ImageHeight));
  EXPECT_EQ(p.Lo, 321);
  EXPECT_EQ(p.graph_y_begin, old_y);
  EXPECT_EQ(p.graph_y_end, 900);
}

TEST_F(ParametersTest, ZeroDivisionAngleFailsAfterEveryOtherField) {
  edit(frmMain::edtSectoredAngle, "0");
  edit(frmMain::edtRectAngle, "12");
  const int32_t old_count = state().integration_params.sector_count;
  EXPECT_THROW(read_parameters(current_image().ImageHeight), ConversionError);
  EXPECT_EQ(state().integration_params.rect_angle, 12);
  EXPECT_EQ(state().integration_params.division_angle, 0);
  EXPECT_EQ(state().integration_params.sector_count, old_count);
}

TEST_F(ParametersTest, SectorAngleChecks) {
  struct Case {
    const char *s, *e;
    int32_t result;
  } cases[] = {
      {"10", "10", 1}, {"-360", "0", 0}, {"0", "360", 0},  {"0", "360.5", 1}, {"400", "720", 0},
      {"-361", "-300", 1}, {"700", "721", 1}, {"abc", "10", 1}, {"20", "10", 1}, {" -30", "30 ", 0},
  };
  for (const Case& c : cases) {
    edit(frmMain::edtSectorStartAngle, c.s);
    edit(frmMain::edtSectorEndAngle, c.e);
    EXPECT_EQ(check_sector_angles(), c.result) << c.s << " " << c.e;
  }
}

TEST_F(ParametersTest, DivisionAngleChecks) {
  struct Case {
    const char* angle;
    int32_t result;
  } cases[] = {
      {"360", 0}, {"0", 1}, {"-5", 1}, {"abc", 1}, {"361", 1}, {"22.5", 0},
      {"0.1", 0},    // 3600 sectors: the most accepted
      {"0.09", 1},   // 4000 sectors
      {"0.001", 1},  // 360000 sectors
  };
  for (const Case& c : cases) {
    edit(frmMain::edtSectoredAngle, c.angle);
    EXPECT_EQ(check_division_angle(), c.result) << c.angle;
  }
}

using StartValues = StateTest;

TEST_F(StartValues, HeadlessControlsHoldThemAndGroupTheRadios) {
  Controls& c = controls();
  EXPECT_EQ(c.text(frmMain::edtCameraLength), "500");
  EXPECT_TRUE(c.checked(frmMain::rbtnSectoredDivision));
  EXPECT_TRUE(c.checked(frmMain::chkpsy));
  EXPECT_EQ(c.item_index(frmMain::cmbDirection), 4);
  c.set_checked(frmMain::rbtnSector, true);
  EXPECT_FALSE(c.checked(frmMain::rbtnSectoredDivision));
  EXPECT_TRUE(c.checked(frmMain::rbtnRect_Direction));  // other group unchanged
  c.set_checked(frmMain::rbtnSector, false);            // none checked is allowed
  EXPECT_FALSE(c.checked(frmMain::rbtnRectangle) || c.checked(frmMain::rbtnSector) || c.checked(frmMain::rbtnSectoredDivision));
}

// A fresh state holds what reading the start values gives, so the two cannot drift apart.
TEST_F(StartValues, AFreshStateHoldsWhatTheStartValuesRead) {
  const IntegrationParams fresh;
  read_parameters(0);
  const IntegrationParams& read = state().integration_params;
  for (const Parameter& p : parameter_table()) {
    if (p.real) {
      EXPECT_EQ(read.*p.real, fresh.*p.real) << control_of(p).control;
    }
    if (p.integer) {
      EXPECT_EQ(read.*p.integer, fresh.*p.integer) << p.script << " " << control_of(p).control;
    }
  }
  EXPECT_EQ(read.pixel_ratio(), fresh.pixel_ratio());
  EXPECT_EQ(read.sector_count, fresh.sector_count);
}

TEST(ParameterEditText, FixedFormWhenItKeepsTheValueElseTheShortestThatDoes) {
  const std::pair<double, const char*> cases[] = {
      {5.0, "  5.0000"},        {-12.25, "-12.2500"},   {1234.5678, "1234.5678"},
      {0.71073, "0.71073"},     {250.00001, "250.00001"}, {1e-7, "1E-7"},
      {0.1 + 0.2, "0.30000000000000004"},
  };
  for (auto [value, text] : cases) {
    EXPECT_EQ(parameter_edit_text(value), text) << value;
    EXPECT_EQ(StrToFloat(parameter_edit_text(value)), value) << value;
  }
}

using ScriptSetters = StateTest;

TEST_F(ScriptSetters, EverySetterStoresItsFieldAndShowsItInItsControl) {
  double value = 1.5;
  int reals = 0;
  for (const Parameter& p : parameter_table()) {
    if (p.kind != ParameterKind::kReal || p.script.empty()) continue;
    set_real_parameter(p, value);
    EXPECT_EQ(state().integration_params.*p.real, value) << p.script;
    EXPECT_EQ(StrToFloat(controls().text(control_of(p).control)), value) << p.script;
    value += 1.0;
    ++reals;
  }
  EXPECT_EQ(reals, 14);
  set_integer_parameter(*parameter_named("Band"), -3);
  EXPECT_EQ(state().integration_params.band_width, -3);
  EXPECT_EQ(controls().text(frmMain::edtBandWidth), "-3");
  set_integer_parameter(*parameter_named("LoCheck"), 0);
  EXPECT_FALSE(controls().checked(frmMain::chkLo));
  set_integer_parameter(*parameter_named("LoCheck"), 2);  // neither 0 nor 1: left as it is
  EXPECT_FALSE(controls().checked(frmMain::chkLo));
}

using HeaderLockBoxes = StateTest;

// However a lock box changes, the model's lock follows it: the box changed by code or by
// the user (the controls tell), the script setter, the settings file.
TEST_F(HeaderLockBoxes, EveryWayOfChangingABoxSetsTheModelsLock) {
  struct Case {
    const char* what;
    std::function<void()> uncheck;
  };
  const Case cases[] = {
      {"the box", [] { controls().set_checked(frmMain::chkLo, false); }},
      {"the script setter", [] { set_integer_parameter(*parameter_named("LoCheck"), 0); }},
      {"the settings file", [] {
         std::vector<std::string> lines = settings_file_lines();
         lines[20] = "0";  // line 21: the camera length's lock
         read_settings_lines(lines);
       }},
  };
  for (const Case& c : cases) {
    reset_state();
    reset_headless_ports();
    ASSERT_TRUE(header_locked(&IntegrationParams::Lo));
    c.uncheck();
    EXPECT_FALSE(header_locked(&IntegrationParams::Lo)) << c.what;
    EXPECT_FALSE(controls().checked(frmMain::chkLo)) << c.what;
    EXPECT_TRUE(header_locked(&IntegrationParams::wavelength)) << c.what;
  }
  set_integer_parameter(*parameter_named("LoCheck"), 2);  // neither 0 nor 1: both left alone
  EXPECT_FALSE(header_locked(&IntegrationParams::Lo));
  EXPECT_FALSE(controls().checked(frmMain::chkLo));
}

// A box that changed without the controls telling (a window built before the wiring) is
// taken at the program's start; asking whether a field is locked reads no box.
TEST_F(HeaderLockBoxes, TheStartTakesTheBoxesAndTheLocksAreReadFromTheModel) {
  headless_controls().set_change_listener(nullptr);
  controls().set_checked(frmMain::chkwl, false);
  EXPECT_TRUE(header_locked(&IntegrationParams::wavelength));
  take_header_locks();
  headless_controls().reset_traffic();
  EXPECT_FALSE(header_locked(&IntegrationParams::wavelength));
  EXPECT_TRUE(header_locked(&IntegrationParams::Lo));
  EXPECT_EQ(headless_controls().traffic().total(), 0);
}

}  // namespace
}  // namespace kestrin::test
