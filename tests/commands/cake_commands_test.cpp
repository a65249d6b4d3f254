// The cake window's commands without widgets: what the buttons and the brightness scroll
// bar do when no slice can be computed, and the guard against a second long run.
#include <gtest/gtest.h>

#include "commands/cake_commands.h"
#include "image/cake_picture.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "support/recording_views.h"
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
