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
    two_rings_setting();
    state().macro.MacroRecording = true;
  }
  // Everything back at the start but the parameters.
  static void fresh_state() {
    const IntegrationParams kept = state().integration_params;
    reset_shared_state();
    state().integration_params = kept;
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
  // Chooses the region and runs a dispatcher.
  static Outcome dispatched(void (*dispatcher)(), int32_t region, int direction, bool rect_angle) {
    fresh_state();
    set_region(region, direction, rect_angle);
    state().fit_tables.count = 5;
    dispatcher();
    return outcome();
  }
  static void use_type(int32_t type) { current_image().image_type = type; }
};

constexpr int32_t kRect = kRegionRectangle, kSector = kRegionSector,
                  kSectored = kRegionSectoredDivision;

struct Choice {
  int32_t region;
  int direction;
  bool rect_angle;
};

TEST_F(DispatchTest, AngleIntensityChoosesByRegionAndImageType) {
  struct Case {
    Choice choice;
    HistogramRoutine flat;
    HistogramRoutine curved;
  } cases[] = {
      {{kRect, 0, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{kRect, 6, false}, calc_angle_histogram, calc_curved_angle_histogram},
      {{kRect, 7, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{kRect, 10, false}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{kRect, 3, true}, calc_angle_histogram_band, calc_curved_angle_histogram_band},
      {{kSector, 0, false}, calc_angle_histogram_sector, calc_curved_angle_histogram_sector},
      {{kSectored, 0, false}, calc_free_angle_sectored_angle_histogram, nullptr},
  };
  for (bool curved : {false, true}) {
    use_type(curved ? kTypeRaxisCS : kTypeTiff);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.choice.region << " " << c.choice.direction << " curved " << curved);
      const Outcome got = dispatched(angle_intensity_command, c.choice.region, c.choice.direction, c.choice.rect_angle);
      EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.AngleIntensity();"});
      EXPECT_EQ(state().fit_tables.count, 0);
      EXPECT_EQ(got, direct(curved ? c.curved : c.flat));
      if (curved && !c.curved) continue;
      EXPECT_GT(got.log.size(), 5u);  // a whole report, not a refusal
      EXPECT_FALSE(state().nax_pattern.empty());
    }
  }
}

// The curved-plate menu item gives a curved-plate image what "Angle Intensity" gives it for
// every region, the axis-aligned boxes included (never an empty pattern); any other image
// is refused with one line and keeps its pattern, the fit count and the macro list.
TEST_F(DispatchTest, CurvedMenuItemIntegratesCurvedPlatesAndRefusesOtherImages) {
  const Choice choices[] = {
      {kRect, 0, false}, {kRect, 1, false}, {kRect, 2, false},
      {kRect, 3, false}, {kRect, 4, false}, {kRect, 5, false},
      {kRect, 6, false}, {kRect, 8, false}, {kRect, 3, true},
      {kSector, 0, false},
  };
  for (const Choice& c : choices) {
    SCOPED_TRACE(testing::Message() << c.region << " " << c.direction << " " << c.rect_angle);
    use_type(kTypeRaxisCS);
    const Outcome got = dispatched(curved_angle_intensity_command, c.region, c.direction, c.rect_angle);
    EXPECT_GT(state().nax_pattern.N, 1);
    EXPECT_GT(state().nax_pattern.maximum, 0);
    EXPECT_EQ(got, dispatched(angle_intensity_command, c.region, c.direction, c.rect_angle));

    use_type(kTypeRaxis);
    fresh_state();
    set_region(c.region);
    set_direction(c.direction);
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
  set_region(kSectored);
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
      {{kRect, 4, false}, calc_fine_angle_histogram},
      {{kRect, 8, false}, calc_fine_angle_histogram_band},
      {{kRect, 4, true}, calc_fine_angle_histogram_band},
      {{kSector, 4, false}, calc_fine_angle_histogram_sector},
      // The sectored-division radio integrates the sector of the start and end edits.
      {{kSectored, 4, false}, calc_fine_angle_histogram_sector},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice.region);
    const Outcome got = dispatched(fine_angle_intensity_command, c.choice.region, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
  // The sampling tells the routines apart on this image.
  set_region(kRect);
  set_direction(8);
  EXPECT_NE(direct(calc_fine_angle_histogram_band).values, direct(calc_angle_histogram_band).values);
  set_sector(10, 5);
  dispatched(fine_angle_intensity_command, kSector, 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{"Input angle error!"});
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.FineAngleIntensity();"});

  use_type(kTypeRaxisCS);
  dispatched(fine_angle_intensity_command, kRect, 4, false);
  EXPECT_EQ(log(), std::vector<std::string>{" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)"});
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_EQ(state().fit_tables.count, 5);
}

TEST_F(DispatchTest, PixelIntensityChoosesByRegion) {
  struct Case {
    Choice choice;
    HistogramRoutine routine;
  } cases[] = {
      {{kRect, 4, false}, calc_pixel_histogram},
      {{kRect, 6, false}, calc_pixel_histogram},
      {{kRect, 8, false}, calc_slant_pixel_histogram},
      {{kRect, 2, true}, calc_slant_pixel_histogram},
      {{kSector, 2, false}, calc_slant_pixel_histogram_sector},
      {{kSectored, 2, false}, calc_free_angle_sectored_pixel_histogram},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.choice.region << " " << c.choice.direction);
    const Outcome got = dispatched(pixel_intensity_command, c.choice.region, c.choice.direction, c.choice.rect_angle);
    EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PixelIntensity();"});
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(got, direct(c.routine));
  }
}

TEST_F(DispatchTest, PixelIntensityRefusals) {
  const std::vector<std::string> bad_angle = {
      " calc_pixel_histogram_selection() bad angle. please check \"Direction\" and select from combobox."};
  struct Case {
    int32_t region;
    int direction;
    bool rect_angle;
    double angle, start, division;
    std::vector<std::string> lines;  // empty: the band histogram runs
  } cases[] = {
      {kRect, 3, true, 90, 10, 90, bad_angle},
      {kRect, 3, true, 90.5, 10, 90, {}},
      {kRect, 3, true, 360, 10, 90, bad_angle},
      {kRect, 3, true, -90, 10, 90, {}},
      {kRect, 7, false, 0, 10, 90, bad_angle},  // the main window's start value
      {kRect, 7, false, 270, 10, 90, bad_angle},
      {kRect, 7, false, 12, 10, 90, {}},
      {kSector, 3, false, 0, 100, 90, {"Input angle error!"}},
      {kSectored, 3, false, 0, 10, 0.001,
       {"Input division angle error!", "The division angle must be at least 0.1 degree (3600 sectors at most)."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.region << " " << c.angle << " " << c.division);
    set_parameter(&P::rect_angle, c.angle);
    set_parameter(&P::sector_start, c.start);
    set_parameter(&P::division_angle, c.division);
    fresh_state();
    set_region(c.region, c.direction, c.rect_angle);
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
  set_parameter(&P::division_angle, 90);
  set_parameter(&P::sector_start, 10);
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
  set_region(kSector);
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
