// The integration commands' reading of the main window: the region checks take the sector
// and division edits' text as the command starts (a text that is not a number is refused),
// the pixel dispatcher takes the direction of the last read, not the combo's, and an edit
// that is not a number stops the command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_fixture.h"
#include "base/convert.h"
#include "commands/histogram_commands.h"
#include "model/parameters.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

class HistogramCommandsTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    two_rings_setting();
    state().macro.MacroRecording = true;
  }
};

TEST_F(HistogramCommandsTest, AngleIntensityRefusesTheEditsItChecks) {
  struct Case {
    ControlName radio;
    const char *start, *end, *division;
    std::vector<std::string> lines;
  } cases[] = {
      {frmMain::rbtnSector, "10", "10", "22.5", {"Input angle error!"}},
      {frmMain::rbtnSector, "abc", "10", "22.5", {"Input angle error!"}},
      {frmMain::rbtnSectoredDivision, "0", "10", "0", {"Input division angle error!"}},
      {frmMain::rbtnSectoredDivision, "0", "10", "0.001",
       {"Input division angle error!", "The division angle must be at least 0.1 degree (3600 sectors at most)."}},
      {frmMain::rbtnSectoredDivision, "0", "10", "-5", {"Input division angle error!"}},
  };
  for (const Case& c : cases) {
    reset_shared_state();
    state().macro.MacroRecording = true;
    the_log().clear_history();
    check(c.radio);
    edit(frmMain::edtSectorStartAngle, c.start);
    edit(frmMain::edtSectorEndAngle, c.end);
    edit(frmMain::edtSectoredAngle, c.division);
    state().fit_tables.count = 5;
    angle_intensity_command();
    EXPECT_EQ(log(), c.lines) << to_string(c.radio);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});  // recorded first
    EXPECT_EQ(state().fit_tables.count, 5);  // the early returns leave it
    EXPECT_TRUE(state().nax_pattern.empty());
  }
}

TEST_F(HistogramCommandsTest, PixelIntensityTakesDirectionAndAngleFromTheLastRead) {
  // The combo says RU but the globals still hold RIGHT from the last read: the box runs.
  check(frmMain::rbtnRectangle);
  check(frmMain::rbtnRect_Direction);
  controls().set_item_index(frmMain::cmbDirection, 4);
  read_parameters(current_image().ImageHeight);
  controls().set_item_index(frmMain::cmbDirection, 7);
  edit(frmMain::edtRectAngle, "0");
  pixel_intensity_command();
  EXPECT_EQ(log().front(), "<<<<<   Pixel Histogram   >>>>>");
  EXPECT_EQ(state().nax_pattern.PatternName, "ringru");  // the routine itself re-read the combo
}

TEST_F(HistogramCommandsTest, AngleIntensityRaisesForACameraLengthThatIsNotANumber) {
  load_flat_image(50, 40, 100);
  check(frmMain::rbtnRectangle);
  edit(frmMain::edtCameraLength, "nan");
  EXPECT_THROW(angle_intensity_command(), ConversionError);
}

}  // namespace
}  // namespace kestrin::test
