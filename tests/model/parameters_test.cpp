// Reading the parameter edits in the table's order with its rules, the sector and division
// angle checks, and the header locks of the table's rows.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "commands/parameter_io.h"
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

TEST_F(ParametersTest, EachHeaderLockKeepsItsOwnFieldOnly) {
  using P = IntegrationParams;
  const std::pair<ControlName, double P::*> locks[] = {
      {frmMain::chkwl, &P::wavelength}, {frmMain::chkLo, &P::Lo}, {frmMain::chkpsx, &P::pixel_x}, {frmMain::chkpsy, &P::pixel_y}};
  for (const auto& [lock, field] : locks) {
    for (const auto& entry : locks) controls().set_checked(entry.first, entry.first == lock);
    for (const auto& entry : locks) EXPECT_EQ(header_locked(entry.second), entry.second == field) << lock;
  }
  check(frmMain::chkLo);
  EXPECT_FALSE(header_locked(&P::Beta));  // a row without a lock
}

}  // namespace
}  // namespace kestrin::test
