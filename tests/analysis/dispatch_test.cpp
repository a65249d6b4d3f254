// The integration dispatchers: which routine runs for each region choice and image type
// (its outcome equals the routine's when called directly), the macro lines, the refusals
// and the fit count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/dispatch.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/parameters.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"

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
    edit("edtCameraLength", "20");
    edit("edt2ThetaBegin", "1");
    edit("edt2ThetaStep", "0.1");
    edit("edtRectAngle", "33");
    edit("edtSectorStartAngle", "10");
    edit("edtSectorEndAngle", "100");
    edit("edtSectoredAngle", "90");
    state().macro.MacroRecording = true;
  }
  static void fresh_state() {
    state() = SharedState();
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
  static Outcome direct(void (*routine)()) {
    fresh_state();
    if (routine) routine();
    return outcome();
  }
  // Chooses the region and runs a dispatcher, the direction read as the last read did.
  static Outcome dispatched(void (*dispatcher)(), const char* radio, int direction, bool rect_angle) {
    fresh_state();
    check(radio);
    check(rect_angle ? "rbtnRect_Angle" : "rbtnRect_Direction");
    controls().set_item_index("cmbDirection", direction);
    read_parameters();
    state().fit_tables.count = 5;
    dispatcher();
    return outcome();
  }
  static void use_type(int32_t type) { current_image().image_type = type; }
};

struct Choice {
  const char* radio;
  int direction;
  bool rect_angle;
};

TEST_F(DispatchTest, AngleIntensityChoosesByRegionAndImageType) {
  struct Case {
    Choice choice;
    void (*flat)();
    void (*curved)();
  } cases[] = {
      {{"rbtnRectangle", 0, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{"rbtnRectangle", 6, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{"rbtnRectangle", 7, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{"rbtnRectangle", 10, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{"rbtnRectangle", 3, true}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{"rbtnSector", 0, false}, calc_angle_histogram_sector, calc_curved_angle_histogram_sector},
      {{"rbtnSectoredDivision", 0, false}, calc_free_angle_sectored_angle_histogram, nullptr},
  };
  for (bool curved : {false, true}) {
    use_type(curved ? kTypeRaxisCS : kTypeTiff);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.choice.radio << " " << c.choice.direction << " curved " << curved);
      const Outcome got = dispatched(calc_angle_histogram_selection, c.choice.radio, c.choice.direction, c.choice.rect_angle);
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
    const char* radio;
    const char *start, *end, *division;
    const char* message;
  } cases[] = {
      {"rbtnSector", "10", "10", "22.5", "Input angle error!"},
      {"rbtnSector", "abc", "10", "22.5", "Input angle error!"},
      {"rbtnSectoredDivision", "0", "10", "0", "Input division angle error!"},
      {"rbtnSectoredDivision", "0", "10", "0.001", "Input division angle error!"},
      {"rbtnSectoredDivision", "0", "10", "-5", "Input division angle error!"},
  };
  for (const Case& c : cases) {
    fresh_state();
    check(c.radio);
    edit("edtSectorStartAngle", c.start);
    edit("edtSectorEndAngle", c.end);
    edit("edtSectoredAngle", c.division);
    state().fit_tables.count = 5;
    calc_angle_histogram_selection();
    EXPECT_EQ(log(), std::vector<std::string>{c.message}) << c.radio;
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});  // recorded first
    EXPECT_EQ(state().fit_tables.count, 5);  // the early returns leave it
    EXPECT_TRUE(state().nax_pattern.empty());
  }
}

TEST_F(DispatchTest, SectoredDivisionOnCurvedPlateRunsNothing) {
  use_type(kTypeRaxisCS);
  check("rbtnSectoredDivision");
  state().fit_tables.count = 3;
  calc_angle_histogram_selection();
  EXPECT_TRUE(log().empty());
  EXPECT_TRUE(state().nax_pattern.empty());
  EXPECT_EQ(state().fit_tables.count, 0);
}

TEST_F(DispatchTest, FineAngleIntensity) {
  struct Case {
    Choice choice;
    void (*routine)();
  } cases[] = {
      {{"rbtnRectangle", 4, false}, calc_fine_angle_histogram},
      {{"rbtnRectangle", 8, false}, calc_fine_angle_histogram_band},
      {{"rbtnRectangle", 4, true}, calc_fine_angle_histogram_band},
      {{"rbtnSector", 4, false}, calc_fine_angle_histogram_sector},
      // The sectored-division radio integrates the sector of the start and end edits.
      {{"rbtnSectoredDivision", 4, false}, calc_fine_angle_histogram_sector},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice.radio);
    const Outcome got = dispatched(calc_fine_angle_histogram_selection, c.choice.radio, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
  // The sampling tells the routines apart on this image.
  check("rbtnRectangle");
  controls().set_item_index("cmbDirection", 8);
  EXPECT_NE(direct(calc_fine_angle_histogram_band).values, direct(calc_angle_histogram_band).values);
  edit("edtSectorStartAngle", "10");
  edit("edtSectorEndAngle", "5");
  dispatched(calc_fine_angle_histogram_selection, "rbtnSector", 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{"Input angle error!"});
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});

  use_type(kTypeRaxisCS);
  dispatched(calc_fine_angle_histogram_selection, "rbtnRectangle", 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().fit_tables.count, 5);
}

TEST_F(DispatchTest, PixelIntensityChoosesByRegion) {
  struct Case {
    Choice choice;
    void (*routine)();
  } cases[] = {
      {{"rbtnRectangle", 4, false}, calc_pixel_histogram},
      {{"rbtnRectangle", 6, false}, calc_pixel_histogram},
      {{"rbtnRectangle", 8, false}, calc_slant_pixel_histogram},
      {{"rbtnRectangle", 2, true}, calc_slant_pixel_histogram},
      {{"rbtnSector", 2, false}, calc_slant_pixel_histogram_sector},
      {{"rbtnSectoredDivision", 2, false}, calc_free_angle_sectored_pixel_histogram},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.choice.radio << " " << c.choice.direction);
    const Outcome got = dispatched(calc_pixel_histogram_selection, c.choice.radio, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PixelIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
}

TEST_F(DispatchTest, PixelIntensityRefusals) {
  const std::string bad_angle =
      " calc_pixel_histogram_selection() bad angle. please check \"Direction\" and select from combobox.";
  struct Case {
    const char* radio;
    int direction;
    bool rect_angle;
    const char *angle, *start, *division;
    std::string message;  // empty: the band histogram runs
  } cases[] = {
      {"rbtnRectangle", 3, true, "90", "10", "90", bad_angle},
      {"rbtnRectangle", 3, true, "90.5", "10", "90", ""},
      {"rbtnRectangle", 3, true, "360", "10", "90", bad_angle},
      {"rbtnRectangle", 3, true, "-90", "10", "90", ""},
      {"rbtnRectangle", 7, false, "0.000000", "10", "90", bad_angle},  // the main window's start text
      {"rbtnRectangle", 7, false, "270", "10", "90", bad_angle},
      {"rbtnRectangle", 7, false, "12", "10", "90", ""},
      {"rbtnSector", 3, false, "0", "100", "90", "Input angle error!"},
      {"rbtnSectoredDivision", 3, false, "0", "10", "0.001", "Input division angle error!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.radio << " " << c.angle << " " << c.division);
    edit("edtRectAngle", c.angle);
    edit("edtSectorStartAngle", c.start);
    edit("edtSectoredAngle", c.division);
    fresh_state();
    check(c.radio);
    check(c.rect_angle ? "rbtnRect_Angle" : "rbtnRect_Direction");
    controls().set_item_index("cmbDirection", c.direction);
    read_parameters();
    state().fit_tables.count = 5;
    calc_pixel_histogram_selection();
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PixelIntensity();"});
    if (c.message.empty()) {
      EXPECT_EQ(log().front(), "<<<<<   Slant Pixel Histogram   >>>>>");
      EXPECT_EQ(state().fit_tables.count, 0);
    } else {
      EXPECT_EQ(log(), std::vector<std::string>{c.message});
      EXPECT_EQ(state().fit_tables.count, 5);
      EXPECT_TRUE(state().nax_pattern.empty());
    }
  }
  edit("edtSectoredAngle", "90");
  edit("edtSectorStartAngle", "10");
}

TEST_F(DispatchTest, PixelIntensityTakesDirectionAndAngleFromTheLastRead) {
  // The combo says RU but the globals still hold RIGHT from the last read: the box runs.
  check("rbtnRectangle");
  check("rbtnRect_Direction");
  controls().set_item_index("cmbDirection", 4);
  read_parameters();
  controls().set_item_index("cmbDirection", 7);
  edit("edtRectAngle", "0");
  calc_pixel_histogram_selection();
  EXPECT_EQ(log().front(), "<<<<<   Pixel Histogram   >>>>>");
  EXPECT_EQ(state().nax_pattern.PatternName, "ringru");  // the routine itself re-read the combo
}

TEST_F(DispatchTest, PixelIntensityRefusesTheCurvedPlateBeforeRecording) {
  use_type(kTypeRaxisCS);
  state().fit_tables.count = 5;
  calc_pixel_histogram_selection();
  EXPECT_EQ(log(), std::vector<std::string>{" calc_pixel_histogram_selection() bad file type.(curvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().fit_tables.count, 5);
}

TEST_F(DispatchTest, SectorVariantsLeaveTheFitCountUnlessDispatched) {
  check("rbtnSector");
  for (void (*routine)() : {calc_angle_histogram_sector, calc_curved_angle_histogram_sector,
                            calc_fine_angle_histogram_sector, calc_slant_pixel_histogram_sector}) {
    state().fit_tables.count = 4;
    routine();
    EXPECT_EQ(state().fit_tables.count, 4);
  }
  calc_pixel_histogram_selection();
  EXPECT_EQ(state().fit_tables.count, 0);
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
