// The integration dispatchers: which routine runs for each region choice and image type
// (its outcome equals the routine's when called directly), the macro lines, the refusals
// and the fit count.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/dispatch.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"
#include "commands/headless_ports.h"
#include "histogram_runs.h"
#include "commands/parameter_io.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

// Everything a run leaves behind that tells the routines apart.
struct Outcome {
  std::vector<std::string> log;
  std::vector<int32_t> values;
  std::string name;
  std::array<int32_t, 5> kind{};
  std::vector<std::vector<int32_t>> sectors;
  bool operator==(const Outcome&) const = default;
};

class DispatchTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    // Rings, so that sub-pixel, curved and flat sampling give different patterns.
    RingImageSpec spec;
    spec.geometry = {60, 50, 31.3, 24.6, 20, 0.1, 0.1, 0, 0};
    spec.rings = {{8, 0.5, 3000}, {12, 0.4, 2000}};
    load_into_current_image(make_ring_image(spec), 60, 50);
    set_centre(31.3, 24.6);
    edit(frmMain::edtCameraLength, "20");
    edit(frmMain::edt2ThetaBegin, "1");
    edit(frmMain::edt2ThetaStep, "0.1");
    edit(frmMain::edtRectAngle, "33");
    edit(frmMain::edtSectorStartAngle, "10");
    edit(frmMain::edtSectorEndAngle, "100");
    edit(frmMain::edtSectoredAngle, "90");
    state().macro.MacroRecording = true;
  }
  static void fresh_state() {
    reset_shared_state();
    state().macro.MacroRecording = true;
    the_log().clear_history();
  }
  static Outcome outcome() {
    Outcome o{log(), state().nax_pattern.values, state().nax_pattern.PatternName, state().nax_pattern.kind, {}};
    for (int32_t k = 0; k < state().sector_patterns.walked(); ++k)
      o.sectors.push_back(state().sector_patterns.sectors[size_t(k)].pattern);
    return o;
  }
  // What the routine does when called directly (nothing for null).
  static Outcome direct(HistogramRoutine routine) {
    fresh_state();
    if (routine) shown(routine);
    return outcome();
  }
  // Chooses the region and runs a dispatcher, the direction read as the last read did.
  static Outcome dispatched(void (*dispatcher)(), ControlName radio, int direction, bool rect_angle) {
    fresh_state();
    check(radio);
    check(rect_angle ? frmMain::rbtnRect_Angle : frmMain::rbtnRect_Direction);
    controls().set_item_index(frmMain::cmbDirection, direction);
    read_parameters(current_image().ImageHeight);
    state().fit_tables.count = 5;
    dispatcher();
    return outcome();
  }
  static void use_type(int32_t type) { current_image().image_type = type; }
};

struct Choice {
  ControlName radio;
  int direction;
  bool rect_angle;
};

TEST_F(DispatchTest, AngleIntensityChoosesByRegionAndImageType) {
  struct Case {
    Choice choice;
    HistogramRoutine flat;
    HistogramRoutine curved;
  } cases[] = {
      {{frmMain::rbtnRectangle, 0, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{frmMain::rbtnRectangle, 6, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{frmMain::rbtnRectangle, 7, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{frmMain::rbtnRectangle, 10, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{frmMain::rbtnRectangle, 3, true}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{frmMain::rbtnSector, 0, false}, calc_angle_histogram_sector, calc_curved_angle_histogram_sector},
      {{frmMain::rbtnSectoredDivision, 0, false}, calc_free_angle_sectored_angle_histogram, nullptr},
  };
  for (bool curved : {false, true}) {
    use_type(curved ? kTypeRaxisCS : kTypeTiff);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.choice.radio << " " << c.choice.direction << " curved " << curved);
      const Outcome got = dispatched(angle_intensity_command, c.choice.radio, c.choice.direction, c.choice.rect_angle);
      EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});
      EXPECT_EQ(state().fit_tables.count, 0);
      EXPECT_EQ(got, direct(curved ? c.curved : c.flat));
      if (curved && !c.curved) continue;
      EXPECT_GT(got.log.size(), 5u);  // a whole report, not a refusal
      EXPECT_FALSE(state().nax_pattern.empty());
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
    fresh_state();
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

// The curved-plate menu item gives a curved-plate image what "Angle Intensity" gives it for
// every region, the axis-aligned boxes included (never an empty pattern); any other image
// is refused with one line and keeps its pattern, the fit count and the macro list.
TEST_F(DispatchTest, CurvedMenuItemIntegratesCurvedPlatesAndRefusesOtherImages) {
  const Choice choices[] = {
      {frmMain::rbtnRectangle, 0, false}, {frmMain::rbtnRectangle, 1, false}, {frmMain::rbtnRectangle, 2, false},
      {frmMain::rbtnRectangle, 3, false}, {frmMain::rbtnRectangle, 4, false}, {frmMain::rbtnRectangle, 5, false},
      {frmMain::rbtnRectangle, 6, false}, {frmMain::rbtnRectangle, 8, false}, {frmMain::rbtnRectangle, 3, true},
      {frmMain::rbtnSector, 0, false},
  };
  for (const Choice& c : choices) {
    SCOPED_TRACE(testing::Message() << c.radio << " " << c.direction << " " << c.rect_angle);
    use_type(kTypeRaxisCS);
    const Outcome got = dispatched(curved_angle_intensity_command, c.radio, c.direction, c.rect_angle);
    EXPECT_GT(state().nax_pattern.N, 1);
    EXPECT_GT(state().nax_pattern.maximum, 0);
    EXPECT_EQ(got, dispatched(angle_intensity_command, c.radio, c.direction, c.rect_angle));

    use_type(kTypeRaxis);
    fresh_state();
    check(c.radio);
    controls().set_item_index(frmMain::cmbDirection, c.direction);
    read_parameters(current_image().ImageHeight);
    state().nax_pattern.values.assign(kPatternSize, 7);
    state().nax_pattern.N = 20;
    state().nax_pattern.set_kind(kPixelHistogram);
    state().fit_tables.count = 5;
    curved_angle_intensity_command();
    EXPECT_EQ(log(), std::vector<std::string>{
                         " calc_curved_angle_histogram_selection() : bad file type (not CurvedIP); the pattern is kept."});
    EXPECT_EQ(state().nax_pattern.values, std::vector<int32_t>(kPatternSize, 7));
    EXPECT_EQ(state().nax_pattern.N, 20);
    EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
    EXPECT_EQ(state().fit_tables.count, 5);
    EXPECT_TRUE(state().macro.MacroList.empty());
  }
}

TEST_F(DispatchTest, SectoredDivisionOnCurvedPlateRunsNothing) {
  use_type(kTypeRaxisCS);
  check(frmMain::rbtnSectoredDivision);
  state().fit_tables.count = 3;
  angle_intensity_command();
  EXPECT_TRUE(log().empty());
  EXPECT_TRUE(state().nax_pattern.empty());
  EXPECT_EQ(state().fit_tables.count, 0);
}

TEST_F(DispatchTest, FineAngleIntensity) {
  struct Case {
    Choice choice;
    HistogramRoutine routine;
  } cases[] = {
      {{frmMain::rbtnRectangle, 4, false}, calc_fine_angle_histogram},
      {{frmMain::rbtnRectangle, 8, false}, calc_fine_angle_histogram_band},
      {{frmMain::rbtnRectangle, 4, true}, calc_fine_angle_histogram_band},
      {{frmMain::rbtnSector, 4, false}, calc_fine_angle_histogram_sector},
      // The sectored-division radio integrates the sector of the start and end edits.
      {{frmMain::rbtnSectoredDivision, 4, false}, calc_fine_angle_histogram_sector},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice.radio);
    const Outcome got = dispatched(fine_angle_intensity_command, c.choice.radio, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
  // The sampling tells the routines apart on this image.
  check(frmMain::rbtnRectangle);
  controls().set_item_index(frmMain::cmbDirection, 8);
  EXPECT_NE(direct(calc_fine_angle_histogram_band).values, direct(calc_angle_histogram_band).values);
  edit(frmMain::edtSectorStartAngle, "10");
  edit(frmMain::edtSectorEndAngle, "5");
  dispatched(fine_angle_intensity_command, frmMain::rbtnSector, 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{"Input angle error!"});
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});

  use_type(kTypeRaxisCS);
  dispatched(fine_angle_intensity_command, frmMain::rbtnRectangle, 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().fit_tables.count, 5);
}

TEST_F(DispatchTest, PixelIntensityChoosesByRegion) {
  struct Case {
    Choice choice;
    HistogramRoutine routine;
  } cases[] = {
      {{frmMain::rbtnRectangle, 4, false}, calc_pixel_histogram},
      {{frmMain::rbtnRectangle, 6, false}, calc_pixel_histogram},
      {{frmMain::rbtnRectangle, 8, false}, calc_slant_pixel_histogram},
      {{frmMain::rbtnRectangle, 2, true}, calc_slant_pixel_histogram},
      {{frmMain::rbtnSector, 2, false}, calc_slant_pixel_histogram_sector},
      {{frmMain::rbtnSectoredDivision, 2, false}, calc_free_angle_sectored_pixel_histogram},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.choice.radio << " " << c.choice.direction);
    const Outcome got = dispatched(pixel_intensity_command, c.choice.radio, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PixelIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
}

TEST_F(DispatchTest, PixelIntensityRefusals) {
  const std::vector<std::string> bad_angle = {
      " calc_pixel_histogram_selection() bad angle. please check \"Direction\" and select from combobox."};
  struct Case {
    ControlName radio;
    int direction;
    bool rect_angle;
    const char *angle, *start, *division;
    std::vector<std::string> lines;  // empty: the band histogram runs
  } cases[] = {
      {frmMain::rbtnRectangle, 3, true, "90", "10", "90", bad_angle},
      {frmMain::rbtnRectangle, 3, true, "90.5", "10", "90", {}},
      {frmMain::rbtnRectangle, 3, true, "360", "10", "90", bad_angle},
      {frmMain::rbtnRectangle, 3, true, "-90", "10", "90", {}},
      {frmMain::rbtnRectangle, 7, false, "0.000000", "10", "90", bad_angle},  // the main window's start text
      {frmMain::rbtnRectangle, 7, false, "270", "10", "90", bad_angle},
      {frmMain::rbtnRectangle, 7, false, "12", "10", "90", {}},
      {frmMain::rbtnSector, 3, false, "0", "100", "90", {"Input angle error!"}},
      {frmMain::rbtnSectoredDivision, 3, false, "0", "10", "0.001",
       {"Input division angle error!", "The division angle must be at least 0.1 degree (3600 sectors at most)."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.radio << " " << c.angle << " " << c.division);
    edit(frmMain::edtRectAngle, c.angle);
    edit(frmMain::edtSectorStartAngle, c.start);
    edit(frmMain::edtSectoredAngle, c.division);
    fresh_state();
    check(c.radio);
    check(c.rect_angle ? frmMain::rbtnRect_Angle : frmMain::rbtnRect_Direction);
    controls().set_item_index(frmMain::cmbDirection, c.direction);
    read_parameters(current_image().ImageHeight);
    state().fit_tables.count = 5;
    pixel_intensity_command();
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PixelIntensity();"});
    if (c.lines.empty()) {
      EXPECT_EQ(log().front(), "<<<<<   Slant Pixel Histogram   >>>>>");
      EXPECT_EQ(state().fit_tables.count, 0);
    } else {
      EXPECT_EQ(log(), c.lines);
      EXPECT_EQ(state().fit_tables.count, 5);
      EXPECT_TRUE(state().nax_pattern.empty());
    }
  }
  edit(frmMain::edtSectoredAngle, "90");
  edit(frmMain::edtSectorStartAngle, "10");
}

TEST_F(DispatchTest, PixelIntensityTakesDirectionAndAngleFromTheLastRead) {
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

TEST_F(DispatchTest, PixelIntensityRefusesTheCurvedPlateBeforeRecording) {
  use_type(kTypeRaxisCS);
  state().fit_tables.count = 5;
  pixel_intensity_command();
  EXPECT_EQ(log(), std::vector<std::string>{" calc_pixel_histogram_selection() bad file type.(curvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().fit_tables.count, 5);
}

TEST_F(DispatchTest, SectorVariantsLeaveTheFitCountUnlessDispatched) {
  check(frmMain::rbtnSector);
  for (HistogramRoutine routine : {calc_angle_histogram_sector, calc_curved_angle_histogram_sector,
                                   calc_fine_angle_histogram_sector, calc_slant_pixel_histogram_sector}) {
    state().fit_tables.count = 4;
    shown(routine);
    EXPECT_EQ(state().fit_tables.count, 4);
  }
  pixel_intensity_command();
  EXPECT_EQ(state().fit_tables.count, 0);
}

TEST_F(DispatchTest, StartUpStateRunsTheFreeSectorHistogram) {
  reset_headless_ports();
  set_centre(15, 15);
  angle_intensity_command();
  EXPECT_TRUE(state().nax_pattern.has_kind(kFreeSectorAngle));
  EXPECT_EQ(state().sector_patterns.count, 16);
}

}  // namespace
}  // namespace kestrin::test
