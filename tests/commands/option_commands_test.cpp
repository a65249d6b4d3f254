// The options and colour windows' commands without widgets: what the options window shows,
// the order in which Apply stores (and where a bad half width stops it), the palette
// rebuild between the mask colour and the other colours, the redraw after them, and the
// settings file keeping it all.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "commands/option_commands.h"
#include "commands/settings_commands.h"
#include "model/state.h"
#include "ports/names/option_form_names.h"
#include "ports/ports.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

// An image window that notes each palette rebuild with the colours as they stand then.
struct PaletteWindow : ImageWindowPort {
  struct Rebuild {
    bool reverse;
    std::array<TColor, 6> colours;
  };
  std::vector<Rebuild> rebuilds;
  std::vector<std::array<TColor, 6>> redraws;  // the colours at each redraw
  void set_image_palette(bool reverse) override { rebuilds.push_back({reverse, state().colours.colour}); }
  void redraw_image() override { redraws.push_back(state().colours.colour); }
};

class OptionCommandsTest : public StateTest {
protected:
  // Every control changed from the start values, Gaussian among them.
  static void change_every_control() {
    show_options();
    Controls& c = controls();
    c.set_checked(frmOption::chkVerticalReverse, true);
    c.set_item_index(frmOption::rdgCenterMarker, 1);
    c.set_text(frmOption::edtHwhmPixel, " 4.25 ");
    c.set_text(frmOption::edtHwhmTheta, "0.0625");
    c.set_item_index(frmOption::rdgDistanceSetting, 2);
    c.set_checked(frmOption::chkGradationReverse, true);
    c.set_checked(frmOption::chkClearMask, true);
    c.set_checked(frmOption::rbtnFitType2, true);
  }
  void SetUp() override {
    StateTest::SetUp();
    Ports p;
    p.image_window = &window_;
    install_ports(p);
  }
  void TearDown() override { reset_headless_ports(); }
  PaletteWindow window_;
};

TEST_F(OptionCommandsTest, TheWindowShowsTheOptionsWithHalfWidthsInEightColumns) {
  show_options();
  EXPECT_EQ(controls().text(frmOption::edtHwhmPixel), "  3.0000");
  EXPECT_EQ(controls().text(frmOption::edtHwhmTheta), "  0.1000");
  EXPECT_TRUE(controls().checked(frmOption::rbtnFitType1));
  EXPECT_FALSE(controls().checked(frmOption::rbtnFitType2));
  EXPECT_EQ(controls().item_index(frmOption::rdgCenterMarker), 0);

  Options& o = state().options;
  o = Options{1, 1, 2.5, 0.05, 2, 1, 1, 7};
  show_options();
  EXPECT_TRUE(controls().checked(frmOption::chkVerticalReverse));
  EXPECT_EQ(controls().item_index(frmOption::rdgCenterMarker), 1);
  EXPECT_EQ(controls().text(frmOption::edtHwhmPixel), "  2.5000");
  EXPECT_EQ(controls().text(frmOption::edtHwhmTheta), "  0.0500");
  EXPECT_EQ(controls().item_index(frmOption::rdgDistanceSetting), 2);
  EXPECT_TRUE(controls().checked(frmOption::chkGradationReverse));
  EXPECT_TRUE(controls().checked(frmOption::chkClearMask));
  EXPECT_TRUE(controls().checked(frmOption::rbtnFitType2));  // any fit type but 0 shows Gaussian
}

TEST_F(OptionCommandsTest, ApplyStoresEveryControlAndGaussianShowsAgain) {
  change_every_control();
  apply_options();
  const Options& o = state().options;
  EXPECT_EQ(o.VerticalReverse, 1);
  EXPECT_EQ(o.CenterMarker, 1);
  EXPECT_EQ(o.HwhmPixel, 4.25);
  EXPECT_EQ(o.HwhmTheta, 0.0625);
  EXPECT_EQ(o.DistanceSetting, 2);
  EXPECT_EQ(o.GradationReverse, 1);
  EXPECT_EQ(o.ClearMask, 1);
  EXPECT_EQ(o.FitType, 1);

  controls().set_checked(frmOption::rbtnFitType1, true);
  show_options();
  EXPECT_TRUE(controls().checked(frmOption::rbtnFitType2));
  EXPECT_FALSE(controls().checked(frmOption::rbtnFitType1));
  EXPECT_TRUE(window_.rebuilds.empty());  // Apply of the options rebuilds no palette
}

TEST_F(OptionCommandsTest, TheFitTypeStaysWhenNeitherRadioIsChecked) {
  state().options.FitType = 1;
  show_options();
  controls().set_checked(frmOption::rbtnFitType2, false);
  apply_options();
  EXPECT_EQ(state().options.FitType, 1);
}

TEST_F(OptionCommandsTest, ABadHalfWidthStopsApplyWithTheFieldsBeforeItStored) {
  show_options();
  Controls& c = controls();
  c.set_item_index(frmOption::rdgCenterMarker, 1);
  c.set_text(frmOption::edtHwhmPixel, "5");
  c.set_text(frmOption::edtHwhmTheta, "0.1x");
  c.set_item_index(frmOption::rdgDistanceSetting, 2);
  c.set_checked(frmOption::chkClearMask, true);
  try {
    apply_options();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'0.1x' is not a valid floating point value");
  }
  const Options& o = state().options;
  EXPECT_EQ(o.CenterMarker, 1);
  EXPECT_EQ(o.HwhmPixel, 5.0);
  EXPECT_EQ(o.HwhmTheta, 0.1);  // as before
  EXPECT_EQ(o.DistanceSetting, 0);
  EXPECT_EQ(o.ClearMask, 0);
}

TEST_F(OptionCommandsTest, ColoursApplyRebuildsThePaletteOnceBetweenTheMaskColourAndTheOthers) {
  state().options.GradationReverse = 1;
  const std::array<TColor, 6> before = state().colours.colour;
  const std::array<TColor, 6> chosen = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321, 0xABCDEF};
  apply_display_colours(chosen);
  ASSERT_EQ(window_.rebuilds.size(), 1u);
  EXPECT_TRUE(window_.rebuilds[0].reverse);
  std::array<TColor, 6> at_rebuild = before;
  at_rebuild[0] = chosen[0];
  EXPECT_EQ(window_.rebuilds[0].colours, at_rebuild);
  EXPECT_EQ(state().colours.colour, chosen);
  // One redraw, with all six new colours, so the image shows them without waiting.
  EXPECT_EQ(window_.redraws, (std::vector<std::array<TColor, 6>>{chosen}));
}

TEST_F(OptionCommandsTest, TheSettingsFileKeepsWhatApplyChanged) {
  change_every_control();
  apply_options();
  const std::array<TColor, 6> chosen = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321, 0xABCDEF};
  apply_display_colours(chosen);
  const Options applied = state().options;

  const std::vector<std::string> lines = settings_file_lines();
  reset_shared_state();
  read_settings_lines(lines);
  const Options& o = state().options;
  EXPECT_EQ(o.VerticalReverse, 0);  // never restored
  EXPECT_EQ(o.CenterMarker, applied.CenterMarker);
  EXPECT_EQ(o.HwhmPixel, applied.HwhmPixel);
  EXPECT_EQ(o.HwhmTheta, applied.HwhmTheta);
  EXPECT_EQ(o.DistanceSetting, applied.DistanceSetting);
  EXPECT_EQ(o.GradationReverse, applied.GradationReverse);
  EXPECT_EQ(o.ClearMask, applied.ClearMask);
  EXPECT_EQ(o.FitType, 1);
  EXPECT_EQ(state().colours.colour, chosen);
}

}  // namespace
}  // namespace kestrin::test
