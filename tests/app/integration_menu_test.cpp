// The main window's integration menu items and the "Pixel Intensity" button run their
// routines: each leaves its report in the log.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <algorithm>
#include <string>

#include "app_fixture.h"
#include "image/image_store.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using app::TfrmMain;
using IntegrationMenuTest = AppTest;

bool logged(const std::string& line) {
  const auto& h = the_log().history();
  return std::find(h.begin(), h.end(), line) != h.end();
}

TEST_F(IntegrationMenuTest, MenuItemsRunTheirRoutines) {
  TfrmMain& m = main();
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  m.pbtnLoadImage->click();
  enter(m.edtCenterX0, "100");
  enter(m.edtCenterY0, "100");
  static_cast<QRadioButton*>(m.rbtnRectangle->widget())->click();
  struct Case {
    const char *menu, *item;
    const char* line;  // a line the routine logs
  } cases[] = {
      {"IPmain", "Pixel - Intensity", "<<<<<   Pixel Histogram   >>>>>"},
      {"IPmain", "Sectoring", "<<<<<< SECTORING >>>>>>>"},
      {"IPmain", "Angle - Intensity(fine)", "<<<<<   Fine Angle Histogram   >>>>>"},
      {"Curved IP", "Angle - Intensity", "cos3 correction was made"},  // the band's report, without the cos3 line
      {"Tool", "Straight line integration", "<<<<<   Straight Line Integration   >>>>>"},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    click_menu(c.menu, c.item);
    const bool curved = std::string(c.menu) == "Curved IP";
    EXPECT_EQ(logged(c.line), !curved) << c.item;
    if (curved) {
      EXPECT_TRUE(logged("Use normal lorentz factor 1/sin(2th)sin(th).")) << c.item;
    }
    for (const std::string& l : the_log().history()) EXPECT_EQ(l.find("not available"), std::string::npos) << l;
  }
  the_log().clear_history();
  m.pbtnPixelIntensity->click();
  EXPECT_TRUE(logged("<<<<<   Pixel Histogram   >>>>>"));
  EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
}

}  // namespace
}  // namespace kestrin::test
