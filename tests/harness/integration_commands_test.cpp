// The integration commands of the harness: setters, getters and an integration run.
#include <gtest/gtest.h>

#include <sstream>

#include "commands/headless_ports.h"
#include "harness/harness_fixture.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/ring_image.h"

namespace kestrin::harness {
namespace {

// Every line of these tests runs without an error.
class IntegrationCommandsTest : public HarnessTest {
protected:
  void TearDown() override { EXPECT_EQ(err, ""); }
};

TEST_F(IntegrationCommandsTest, SettersStoreAndShowTheirValue) {
  EXPECT_EQ(run("Kestrin.SetBand(2.6);\nKestrin.GetBand();\n"), "= 3\n");
  EXPECT_EQ(controls().text(frmMain::edtBandWidth), "3");
  run("Kestrin.SetRectAngle(45);\nKestrin.SetSectorAngleStart(-30);\nKestrin.SetSectorAngleEnd(30.5);\n");
  EXPECT_EQ(controls().text(frmMain::edtRectAngle), " 45.0000");
  EXPECT_EQ(controls().text(frmMain::edtSectorStartAngle), "-30.0000");
  EXPECT_EQ(run("GetSectorAngleEnd\n"), "= 30.5\n");
  run("SetRectDirection 8\n");
  EXPECT_EQ(controls().item_index(frmMain::cmbDirection), 8);
  run("SetIntegrationMode 1\nSetRectAngleMode 1\n");
  EXPECT_TRUE(controls().checked(frmMain::rbtnSector));
  EXPECT_TRUE(controls().checked(frmMain::rbtnRect_Angle));
  run("SetIntegrationMode 2\n");  // the sectored division, as the main window records it
  EXPECT_EQ(state().integration_params.IntegrationMode, 2);
  EXPECT_TRUE(controls().checked(frmMain::rbtnSectoredDivision));
  EXPECT_FALSE(controls().checked(frmMain::rbtnSector));
  run("SetIntegrationMode 3\n");  // stored only: the radios stay
  EXPECT_TRUE(controls().checked(frmMain::rbtnSectoredDivision));
  EXPECT_EQ(run("SetBand\nGetBand\n"), "= 3\n");  // no argument: nothing happens
}

TEST_F(IntegrationCommandsTest, AngleIntensityAndPatternPoints) {
  test::RingImageSpec spec;
  spec.geometry = {120, 100, 60.5, 50.5, 100, 0.1, 0.1, 0, 0};
  spec.rings = {{2, 0.05, 1000}};
  spec.background = 0;
  test::load_into_current_image(test::make_ring_image(spec), 120, 100);
  controls().set_text(frmMain::edtCenterX0, "60.5");
  controls().set_text(frmMain::edtCenterY0, "50.5");
  controls().set_text(frmMain::edtCameraLength, "100");
  controls().set_text(frmMain::edtBeta, "0");
  controls().set_text(frmMain::edt2ThetaBegin, "1");
  controls().set_text(frmMain::edt2ThetaStep, "0.01");
  const std::string out = run(
      "Kestrin = new Kestrin;\nKestrin.SetIntegrationMode(0);\nKestrin.SetRectDirection(6);\n"
      "Kestrin.AngleIntensity();\nKestrin.GetNaxIntensity(100);\nGetNaxIntensity 36001\nGetNaxIntensity 99999999999\n");
  EXPECT_NE(out.find("0,119,0,99\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Max intensity   ="), std::string::npos);
  const auto& v = state().nax_pattern.values;
  EXPECT_GT(v[100], 9000);  // the ring's top, at bin 100 (2 degrees)
  EXPECT_EQ(out.substr(out.rfind("= ")), "= " + std::to_string(v[100]) + "\n");
}

}  // namespace
}  // namespace kestrin::harness
