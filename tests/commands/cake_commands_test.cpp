// The cake window's commands without widgets: what the buttons and the brightness scroll
// bar do, with and without slices to compute, and the guard against a second long run.
#include <gtest/gtest.h>

#include "commands/cake_commands.h"
#include "commands/wiring.h"
#include "image/cake_picture.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "support/recording_views.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

class CakeCommandsTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    install_ports(views_.ports());
  }
  void TearDown() override { reset_headless_ports(); }
  RecordingViews views_;
};

TEST_F(CakeCommandsTest, BrightnessBeforeAnyCakeDoesNothing) {
  cake_brightness_changed(200);
  EXPECT_FALSE(cake_state().made);
  EXPECT_EQ(views_.cake_draws, 0);
  EXPECT_TRUE(log().empty());
}

TEST_F(CakeCommandsTest, BrightnessRedrawsTheKeptPicture) {
  cake_state().CakeDIB = cake_picture(std::vector<CakeSlice>(32, CakeSlice{}), kCake);
  cake_state().made = true;
  cake_brightness_changed(255);
  EXPECT_EQ(cake_state().CakeDIB.Color(0), TColor(0xFFFFFF));
  EXPECT_EQ(views_.cake_draws, 1);
}

TEST_F(CakeCommandsTest, CakeChecksTheSectorRadioAsAClickWouldAndDrawsThePicture) {
  // The radios wired as in the program: checking the sector radio runs its click command,
  // which records one line; the slices after it find the radio checked already.
  wire_program(views_.ports());
  RingImageSpec spec;
  spec.geometry = {120, 100, 60.3, 49.6, 80, 0.1, 0.1, 0, 0};
  spec.rings = {{2.5, 0.1, 3000}};
  load_into_current_image(make_ring_image(spec), 120, 100);
  const std::pair<ControlName, const char*> edits[] = {{frmMain::edtCenterX0, "60.3"}, {frmMain::edtCenterY0, "49.6"},
                                                       {frmMain::edtCameraLength, "80"}, {frmMain::edtPhi, "0"}};
  for (const auto& [name, text] : edits) controls().set_text(name, text);
  controls().set_checked(frmMain::rbtnRectangle, true);
  state().macro.MacroRecording = true;
  const int redraws = views_.redraws;
  state().WindowShow = 0;
  ASSERT_TRUE(sector_cake_clicked());
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.SetIntegrationMode(1);"});
  EXPECT_EQ(state().integration_params.IntegrationMode, 1);
  EXPECT_EQ(views_.redraws, redraws + 1);
  EXPECT_EQ(views_.cake_draws, 1);
  EXPECT_EQ(views_.graph_draws, 0);
  EXPECT_TRUE(views_.forms.empty());
  EXPECT_EQ(cake_state().CakeDIB.Height(), 400);
  state().WindowShow = 1;
  ASSERT_TRUE(cake_clicked());
  EXPECT_EQ(state().macro.MacroList.size(), 1u);
  EXPECT_EQ(views_.cake_draws, 2);
  EXPECT_EQ(views_.forms, std::vector<std::string>{std::string(frmCake::form)});
  EXPECT_EQ(cake_state().CakeDIB.Height(), 320);
}

TEST_F(CakeCommandsTest, ASecondLongRunIsRefusedAndKeepsThePicture) {
  run_long("other_run", [] {
    EXPECT_FALSE(cake_clicked());
    EXPECT_FALSE(sector_cake_clicked());
  });
  EXPECT_EQ(log(), (std::vector<std::string>{" make_cake() : another run is in progress.",
                                             " make_cake() : another run is in progress."}));
  EXPECT_FALSE(cake_state().made);
  EXPECT_EQ(views_.cake_draws, 0);
  EXPECT_TRUE(views_.forms.empty());
}

}  // namespace
}  // namespace kestrin::test
