// The 2theta dispatchers: which routine runs for each region choice and image type (the
// routines not in this build yet name themselves in their "not available" line), the macro
// lines, the refusals and the fit count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis_fixture.h"
#include "model/headless_ports.h"
#include "model/parameters.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

// The routine the last "not available" line of the log names, or "".
std::string missing_routine() {
  const std::string tail = "() : not available in this version.";
  const auto& h = the_log().history();
  if (h.empty() || h.back().size() <= tail.size() + 1) return "";
  const std::string& l = h.back();
  if (l.compare(l.size() - tail.size(), tail.size(), tail) != 0) return "";
  return l.substr(1, l.size() - tail.size() - 1);
}

class DispatchTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    load_flat_image(30, 30, 10);
    set_centre(15, 15);
    state().macro.MacroRecording = true;
  }
  static void reset_state_keeping_image() {
    reset_shared_state();
    state().macro.MacroRecording = true;
  }
  // The dispatchers take the direction from the last read of the edits.
  static void read_direction() { read_parameters(current_image().ImageHeight); }
  // The routine a flat-detector run left behind, by its pattern kind and name tag.
  static std::string flat_routine() {
    const NaxPattern& nax = state().nax_pattern;
    if (nax.has_kind(kFreeSectorAngle)) return "free_sectors";
    if (!nax.has_kind(kAngleHistogram)) return "";
    const std::string& name = nax.PatternName;
    if (name.find("_sector") != std::string::npos) return "sector";
    if (name.find("_rect_angle") != std::string::npos || name == "ringru") return "band";
    return "box";
  }
};

TEST_F(DispatchTest, AngleIntensityChoosesByRegionAndImageType) {
  struct Case {
    ControlName radio;
    int direction;
    bool rect_angle;
    const char* flat;
    const char* curved;
  } cases[] = {
      {frmMain::rbtnRectangle, 0, false, "box", "calc_curved_angle_histogram"},
      {frmMain::rbtnRectangle, 6, false, "box", "calc_curved_angle_histogram"},
      {frmMain::rbtnRectangle, 7, false, "band", "calc_curved_angle_histogram_band"},
      {frmMain::rbtnRectangle, 10, false, "band", "calc_curved_angle_histogram_band"},
      {frmMain::rbtnRectangle, 3, true, "band", "calc_curved_angle_histogram_band"},
      {frmMain::rbtnSector, 0, false, "sector", "calc_curved_angle_histogram_sector"},
      {frmMain::rbtnSectoredDivision, 0, false, "free_sectors", ""},
  };
  for (bool curved : {false, true}) {
    current_image().image_type = curved ? 9 : kTypeTiff;
    for (const Case& c : cases) {
      reset_state_keeping_image();
      the_log().clear_history();
      check(c.radio);
      check(c.rect_angle ? frmMain::rbtnRect_Angle : frmMain::rbtnRect_Direction);
      controls().set_item_index(frmMain::cmbDirection, c.direction);
      read_direction();
      state().fit_tables.count = 5;
      calc_angle_histogram_selection();
      const std::string what = curved ? missing_routine() : flat_routine();
      EXPECT_EQ(what, curved ? c.curved : c.flat) << to_string(c.radio) << " " << c.direction << " type9=" << curved;
      EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});
      EXPECT_EQ(state().fit_tables.count, 0);
    }
  }
}

TEST_F(DispatchTest, AngleIntensityRefusals) {
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
    reset_state_keeping_image();
    the_log().clear_history();
    check(c.radio);
    edit(frmMain::edtSectorStartAngle, c.start);
    edit(frmMain::edtSectorEndAngle, c.end);
    edit(frmMain::edtSectoredAngle, c.division);
    state().fit_tables.count = 5;
    calc_angle_histogram_selection();
    EXPECT_EQ(log(), c.lines) << to_string(c.radio);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});  // recorded first
    EXPECT_EQ(state().fit_tables.count, 5);  // the early returns leave it
    EXPECT_TRUE(state().nax_pattern.empty());
  }
}

TEST_F(DispatchTest, SectoredDivisionOnCurvedPlateRunsNothing) {
  current_image().image_type = 9;
  check(frmMain::rbtnSectoredDivision);
  state().fit_tables.count = 3;
  calc_angle_histogram_selection();
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(state().fit_tables.count, 0);
}

TEST_F(DispatchTest, FineAngleIntensity) {
  struct Case {
    ControlName radio;
    int direction;
    bool rect_angle;
    const char *start, *end;
    const char* routine;
  } cases[] = {
      {frmMain::rbtnRectangle, 4, false, "0", "10", "calc_fine_angle_histogram"},
      {frmMain::rbtnRectangle, 8, false, "0", "10", "calc_fine_angle_histogram_band"},
      {frmMain::rbtnRectangle, 4, true, "0", "10", "calc_fine_angle_histogram_band"},
      {frmMain::rbtnSector, 4, false, "0", "10", "calc_fine_angle_histogram_sector"},
      {frmMain::rbtnSectoredDivision, 4, false, "0", "10", "calc_fine_angle_histogram_sector"},
      {frmMain::rbtnSector, 4, false, "10", "5", ""},
  };
  for (const Case& c : cases) {
    reset_state_keeping_image();
    the_log().clear_history();
    check(c.radio);
    check(c.rect_angle ? frmMain::rbtnRect_Angle : frmMain::rbtnRect_Direction);
    controls().set_item_index(frmMain::cmbDirection, c.direction);
    read_direction();
    edit(frmMain::edtSectorStartAngle, c.start);
    edit(frmMain::edtSectorEndAngle, c.end);
    calc_fine_angle_histogram_selection();
    EXPECT_EQ(missing_routine(), std::string(c.routine)) << to_string(c.radio);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});
    if (*c.routine == 0) {
      EXPECT_EQ(log(), std::vector<std::string>{"Input angle error!"});
    }
  }
  reset_state_keeping_image();
  the_log().clear_history();
  current_image().image_type = 9;
  calc_fine_angle_histogram_selection();
  EXPECT_EQ(log(), std::vector<std::string>{" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
}

TEST_F(DispatchTest, MissingRoutinesSaySoOnceAndChangeNothing) {
  current_image().image_type = 9;
  check(frmMain::rbtnRectangle);
  calc_angle_histogram_selection();
  current_image().image_type = kTypeTiff;
  calc_fine_angle_histogram_selection();
  EXPECT_EQ(log(), (std::vector<std::string>{" calc_curved_angle_histogram() : not available in this version.",
                                              " calc_fine_angle_histogram() : not available in this version."}));
  EXPECT_TRUE(state().nax_pattern.empty());
}

TEST_F(DispatchTest, StartUpStateRunsTheFreeSectorHistogram) {
  reset_headless_ports();
  set_centre(15, 15);
  calc_angle_histogram_selection();
  EXPECT_TRUE(state().nax_pattern.has_kind(kFreeSectorAngle));
  EXPECT_EQ(state().sector_patterns.count, 16);
}

}  // namespace
}  // namespace kestrin::test
