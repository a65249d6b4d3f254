// The main window's integration and refinement menu items and the "Pixel Intensity" button
// run their routines: each leaves its report in the log.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <algorithm>
#include <string>

#include "app_fixture.h"
#include "image/image_store.h"
#include "model/state.h"
#include "base/convert.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using app::TfrmMain;
class IntegrationMenuTest : public AppTest {
protected:
  // The two-ring image loaded, its centre typed in, rectangle mode.
  void load_rings() {
    TfrmMain& m = main();
    dialogs_.answerFile(write_ring_image("ring.img"), 1);
    m.pbtnLoadImage->click();
    enter(m.edtCenterX0, "100");
    enter(m.edtCenterY0, "100");
    static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
  }
};

bool logged(const std::string& line) {
  const auto& h = the_log().history();
  return std::find(h.begin(), h.end(), line) != h.end();
}

bool logged_start(const std::string& start) {
  const auto& h = the_log().history();
  return std::any_of(h.begin(), h.end(), [&start](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST_F(IntegrationMenuTest, MenuItemsRunTheirRoutines) {
  TfrmMain& m = main();
  load_rings();
  struct Case {
    const char *menu, *item;
    const char* line;  // a line the routine logs
  } cases[] = {
      {"IPmain", "Pixel - Intensity", "<<<<<   Pixel Histogram   >>>>>"},
      {"IPmain", "Sectoring", "<<<<<< SECTORING >>>>>>>"},
      {"IPmain", "Angle - Intensity(fine)", "<<<<<   Fine Angle Histogram   >>>>>"},
      {"Curved IP", "Angle - Intensity",  // refused: the ring image is a flat plate
       " calc_curved_angle_histogram_selection() : bad file type (not CurvedIP); the pattern is kept."},
      {"Tool", "Straight line integration", "<<<<<   Straight Line Integration   >>>>>"},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    click_menu(c.menu, c.item);
    EXPECT_TRUE(logged(c.line)) << c.item;
    for (const std::string& l : the_log().history()) EXPECT_EQ(l.find("not available"), std::string::npos) << l;
  }
  the_log().clear_history();
  m.pbtnPixelIntensity->click();
  EXPECT_TRUE(logged("<<<<<   Pixel Histogram   >>>>>"));
  EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));

  // On a curved plate the item gives what "Angle - Intensity" gives, here the full box.
  current_image().image_type = kTypeRaxisCS;
  m.cmbDirection->setItemIndex(6);  // FULL
  click_menu("IPmain", "Angle - Intensity");
  const std::vector<int32_t> dispatched = state().nax_pattern.values;
  state().nax_pattern.values.assign(kPatternSize, 0);
  the_log().clear_history();
  click_menu("Curved IP", "Angle - Intensity");
  EXPECT_TRUE(logged("<<<<<   Fine Angle Histogram   >>>>>"));
  EXPECT_GT(state().nax_pattern.maximum, 0);
  EXPECT_EQ(state().nax_pattern.values, dispatched);
}

// The refinements on the two rings around (100, 100): the automatic analysis, the tilt after
// the sectoring, the wavelength, and the centre search without direct beam answered Yes from
// a centre 3 pixels off, which leaves the window in rectangle mode by direction RIGHT.
TEST_F(IntegrationMenuTest, RefinementMenuItemsRunTheirRoutines) {
  TfrmMain& m = main();
  load_rings();
  m.cmbDirection->setItemIndex(6);  // FULL
  struct Case {
    const char* item;
    std::vector<std::string> starts;  // lines the routine logs begin so
  } cases[] = {
      {"Automatic analysis",
       {"<<<<<<<<<< FIND CENTER >>>>>>>>>>", "<<<<<< SECTORING >>>>>>>", " Initial tilt  azimuth =",
        "<<<<<   Pixel Histogram   >>>>>"}},
      {"Sectoring", {"<<<<<< SECTORING >>>>>>>"}},
      {"Calc Tilt", {" Initial tilt  azimuth =", "  Azimuth = "}},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    click_menu("IPmain", c.item);
    for (const std::string& start : c.starts) EXPECT_TRUE(logged_start(start)) << c.item << ": " << start;
    for (const std::string& l : the_log().history()) EXPECT_EQ(l.find("not available"), std::string::npos) << l;
  }
  the_log().clear_history();
  click_menu("Tool", "Calculate wave length");
  EXPECT_TRUE(logged("calc_wave_length"));

  the_log().clear_history();
  enter(m.edtCenterX0, "103");
  enter(m.edtCenterY0, "98");
  const size_t asked = dialogs_.questions().size();
  dialogs_.answerModal(kgui::mrYes);
  click_menu("IPmain", "Find Center(without direct)");
  ASSERT_EQ(dialogs_.questions().size(), asked + 1);
  EXPECT_EQ(dialogs_.questions().back().text, "Use current CenterX,Y for Initial?");
  EXPECT_NEAR(StrToFloat(m.edtCenterX0->text()), 100, 0.5);
  EXPECT_NEAR(StrToFloat(m.edtCenterY0->text()), 100, 0.5);
  EXPECT_TRUE(m.rbtnRectangle->checked());
  EXPECT_EQ(m.cmbDirection->itemIndex(), 4);
  EXPECT_EQ(m.edtBandWidth->text(), "20");
}

}  // namespace
}  // namespace kestrin::test
