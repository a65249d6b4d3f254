// The sectored pixel histograms: the reports, which sector a pixel joins, the rounded and
// the split distances, the per-sector store and the count of sectors its readers walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/histogram_frame.h"
#include "analysis/integration_area.h"
#include "analysis/peak_table.h"
#include "analysis/sector_accumulator.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "image/files/pattern_writer.h"
#include "commands/parameter_io.h"

namespace kestrin::test {
namespace {

class SectoredTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    set_detector(50, 0.1, 0.1, 0, 0);
    set_parameter(&P::division_angle, 22.5);
    load_flat_image(64, 48, 100);
    set_centre(30.5, 22.25);
  }
  static const SectorPattern& sector(int32_t k) { return state().sector_patterns.sectors[size_t(k)]; }
  // The sectors holding something, after a run.
  static std::vector<int32_t> filled_sectors() {
    std::vector<int32_t> out;
    for (int32_t k = 0; k < state().sector_patterns.walked(); ++k)
      if (sector(k).last_point > 1) out.push_back(k);
    return out;
  }
};

TEST_F(SectoredTest, SixteenSectorReport) {
  state().macro.MacroRecording = true;
  state().peak_table.count = 3;
  state().nax_pattern.values.assign(kPatternSize, 7);
  sectoring_command();
  EXPECT_EQ(std::count(state().nax_pattern.values.begin(), state().nax_pattern.values.end(), 7), kPatternSize);
  std::vector<std::string> expected = {"<<<<<< SECTORING >>>>>>>"};
  // Each sector's largest rounded distance plus 1: 24 straight up (22.25 rows to the top),
  // 42 towards the far corner (63, 47) at distance 40.85.
  const int32_t points[16] = {34, 40, 40, 28, 24, 28, 39, 38, 32, 37, 40, 31, 26, 31, 42, 40};
  for (int s = 0; s < 16; ++s) expected.push_back("Sector =" + std::to_string(s) + ", DataNumber =" + std::to_string(points[s]));
  for (const char* l : {"Area        x=    0 to   63 ", "Area        y=    0 to   47 ", "Max distance =  41",
                        "Max intensity =  1000", "Intensity was multiplied by =10"})
    expected.push_back(l);
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.Sectoring();"});
  const NaxPattern& nax = state().nax_pattern;
  EXPECT_TRUE(nax.has_kind(kSector16Pixel));
  EXPECT_EQ(nax.N, 42);
  EXPECT_EQ(nax.maximum, 1000);
  EXPECT_EQ(state().peak_table.count, 0);
  EXPECT_EQ(state().sector_patterns.count, 16);
  EXPECT_EQ(shown_text(&P::graph_x_begin), "100");
  EXPECT_EQ(shown_text(&P::graph_x_end), "41");
  EXPECT_EQ(shown_text(&P::graph_y_end), "5000");
}

TEST_F(SectoredTest, FreeSectorReport) {
  set_parameter(&P::division_angle, 45);
  set_parameter(&P::Phi, 1.5);
  set_parameter(&P::Beta, 20);
  state().macro.MacroRecording = true;
  shown(calc_free_angle_sectored_pixel_histogram);
  // Each sector's largest tilt-corrected distance plus 2 (the split reaches the next bin).
  const std::vector<std::string> expected = {
      "<<<<<< FREE ANGLE SECTORING >>>>>>>", "Sector Angle = 45.00", "Sector Number = 8",
      "Center position =  30.50000,   22.25000", " Tilt =  1.5000000 Azimuth = 20.0",
      "Sector =0, DataNumber =" + std::to_string(sector(0).last_point), "Sector =1, DataNumber =" + std::to_string(sector(1).last_point),
      "Sector =2, DataNumber =" + std::to_string(sector(2).last_point), "Sector =3, DataNumber =" + std::to_string(sector(3).last_point),
      "Sector =4, DataNumber =" + std::to_string(sector(4).last_point), "Sector =5, DataNumber =" + std::to_string(sector(5).last_point),
      "Sector =6, DataNumber =" + std::to_string(sector(6).last_point), "Sector =7, DataNumber =" + std::to_string(sector(7).last_point),
      "Area        x=    0 to   63 ", "Area        y=    0 to   47 ", "Max distance =" + Format("%4d", {state().nax_pattern.N - 1}),
      "Max intensity =  1000", "Intensity was multiplied by =10",
  };
  EXPECT_EQ(log(), expected);
  for (int32_t k = 0; k < 8; ++k) EXPECT_GT(sector(k).last_point, 20) << k;
  EXPECT_TRUE(state().macro.MacroList.empty());
  EXPECT_TRUE(state().nax_pattern.has_kind(kFreeSectorPixel));
  EXPECT_EQ(state().sector_patterns.count, 8);
  EXPECT_EQ(shown_text(&P::graph_x_begin), "   100");
  set_parameter(&P::division_angle, 22.5);
  shown(calc_free_angle_sectored_pixel_histogram);
  EXPECT_EQ(state().sector_patterns.count, 16);
}

TEST_F(SectoredTest, WhichSectorAPixelJoins) {
  // Centre (30, 24); the fixed sectors are centred on multiples of 22.5 degrees, the free
  // ones start there. Azimuths run counter-clockwise with y up.
  set_centre(30, 24);
  struct Case {
    int32_t x, y;
    int32_t fixed, free;
  } cases[] = {
      {55, 24, 0, 0},    // straight right
      {26, 2, 4, 4},     // azimuth 100.3
      {32, 4, 4, 3},     // azimuth 84.3: fixed sector 4 spans 78.75 to 101.25
      {55, 29, 15, 15},  // azimuth -11.3: fixed sector 15 ends at -11.25
      {55, 20, 0, 0},    // azimuth 9.1
      {5, 24, 8, 8},     // azimuth 180
  };
  for (const Case& c : cases) {
    only_pixel(c.x, c.y);
    sectoring_command();
    EXPECT_EQ(filled_sectors(), std::vector<int32_t>{c.fixed}) << c.x << "," << c.y;
    shown(calc_free_angle_sectored_pixel_histogram);
    EXPECT_EQ(filled_sectors(), std::vector<int32_t>{c.free}) << c.x << "," << c.y;
  }
}

TEST_F(SectoredTest, AzimuthOfExactlyMinusElevenAndAQuarterJoinsSectorZero) {
  // A centre row that puts pixel (55, 29) at the azimuth where the fixed index is 16.
  double Y0 = 29 - 25 * std::tan(11.25 * 3.14159265358979323846 / 180);
  for (int i = 0; i < 200 && sector16_index(25, Y0 - 29) != 16; ++i) Y0 = std::nextafter(Y0, 0.0);
  ASSERT_EQ(sector16_index(25, Y0 - 29), 16);
  EXPECT_EQ((SectorDivision{true, 22.5, 16}.sector_of(25, Y0 - 29)), 0);
  only_pixel(55, 29);
  set_centre(30, Y0);
  sectoring_command();
  EXPECT_EQ(filled_sectors(), std::vector<int32_t>{0});
  EXPECT_EQ(sector(0).value(25), 1000);
}

TEST(RowSectors, AgreeWithTheExactSectorOfEveryColumn) {
  // Rows through the centre, next to it, on diagonals (azimuths on sector edges), far off
  // and at random offsets; the row azimuth must give each column the sector of its own
  // arc tangent, the edge cases included.
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> offset(-3000.0, 3000.0);
  std::vector<double> dys = {0.0, -0.0, 1e-300, -1e-300, 0.5, -0.5, 1.0, -1.0, 1000.0, -2999.0, 5e6};
  for (int i = 0; i < 40; ++i) dys.push_back(offset(rng));
  struct Division {
    double angle;
    int32_t count;
  } divisions[] = {{0.1, 3600}, {0.2, 1800}, {0.07, 5143}, {1.0, 360}, {22.5, 16}, {7.0, 52}};
  constexpr int32_t kFirst = -2500, kColumns = 5001;
  std::vector<int32_t> out(kColumns);
  std::vector<double> scratch(kColumns);
  for (const Division& d : divisions) {
    const SectorDivision division{false, d.angle, d.count};
    for (double X0 : {0.0, 0.5, 17.25, -123.0}) {
      for (double dy : dys) {
        division.row_sectors(X0, dy, kFirst, kColumns, out.data(), scratch.data());
        int differing = 0;
        for (int32_t i = 0; i < kColumns; ++i) differing += out[size_t(i)] != division.sector_of(double(kFirst + i) - X0, dy);
        EXPECT_EQ(differing, 0) << "angle " << d.angle << " X0 " << X0 << " dy " << dy;
      }
    }
  }
}

TEST_F(SectoredTest, EmptySectorsReportOnePoint) {
  only_pixel(40, 22);
  sectoring_command();
  EXPECT_EQ(log()[1], "Sector =0, DataNumber =1");  // distance 9.5: bin 10, below 20, cleared
  EXPECT_EQ(state().nax_pattern.N, 1);
  only_pixel(60, 22);
  sectoring_command();
  EXPECT_EQ(log()[23], "Sector =0, DataNumber =31");  // distance 29.5: bin 30
  for (int s = 1; s < 16; ++s) EXPECT_EQ(log()[size_t(23 + s)], "Sector =" + std::to_string(s) + ", DataNumber =1");
  EXPECT_EQ(state().nax_pattern.N, 31);
}

TEST_F(SectoredTest, RoundedAgainstSplitDistances) {
  // A pixel at distance 20.6: wholly into bin 21 of its fixed sector, 0.4 and 0.6 into bins
  // 20 and 21 of its free sector.
  set_centre(30 - 20.6, 15);
  only_pixel(30, 15);
  for (bool fixed : {true, false}) {
    const AngleScan scan = make_scan(0, 63, 0, 47, fixed ? Sampling::RoundedDistance : Sampling::Distance);
    std::vector<double> w20(16), w21(16);
    accumulate_sectors(scan, SectorDivision{fixed, 22.5, 16}, 30, [&](int32_t k, const double* ws) {
      w20[size_t(k)] = ws[2 * 20];
      w21[size_t(k)] = ws[2 * 21];
    });
    EXPECT_NEAR(w20[0], fixed ? 0.0 : 0.4, 1e-12);
    EXPECT_NEAR(w21[0], fixed ? 1.0 : 0.6, 1e-12);
  }
  sectoring_command();
  EXPECT_EQ(sector(0).value(20), 0);
  EXPECT_EQ(sector(0).value(21), 1000);
  shown(calc_free_angle_sectored_pixel_histogram);
  EXPECT_EQ(sector(0).value(20), 1000);
  EXPECT_EQ(sector(0).value(21), 1000);
}

TEST_F(SectoredTest, StoreKeepsOnlyPointsAndResizingKeepsContents) {
  SectorPatterns& store = state().sector_patterns;
  store.allocate(4);
  EXPECT_EQ(store.sectors.size(), 16u);  // never fewer than sixteen
  store.sectors[2].pattern = {5, 6, 7};
  store.sectors[2].last_point = 3;
  store.sectors[2].peaks().count = 2;
  store.allocate(20);
  EXPECT_EQ(store.count, 20);
  EXPECT_EQ(store.sectors[2].pattern, (std::vector<int32_t>{5, 6, 7}));
  EXPECT_EQ(store.sectors[2].peak_count(), 2);
  EXPECT_TRUE(store.sectors[19].pattern.empty());
  EXPECT_FALSE(store.sectors[19].peak_list.has_value());  // made only when filled
  EXPECT_EQ(store.sectors[2].value(2), 7);
  EXPECT_EQ(store.sectors[2].value(3), 0);
  EXPECT_EQ(store.sectors[2].value(-1), 0);
  EXPECT_EQ(sector_pattern_slope(2, 2), (0.0 - 6.0) / 2);  // past the stored points: 0
  store.allocate(2);
  EXPECT_EQ(store.walked(), 2);
  EXPECT_EQ(store.sectors[2].pattern.size(), 3u);
}

TEST_F(SectoredTest, ReadersWalkTheSectorsTheResultMade) {
  // 32 free sectors first, then the sixteen fixed ones with the division angle still giving
  // 32: the store records 16 and the writer, the peak code and the graph walk 16.
  set_parameter(&P::division_angle, 11.25);
  shown(calc_free_angle_sectored_pixel_histogram);
  ASSERT_EQ(state().sector_patterns.count, 32);
  sectoring_command();
  EXPECT_EQ(state().integration_params.sector_count, 32);
  EXPECT_EQ(state().sector_patterns.count, 16);
  EXPECT_EQ(usable_sector_count(), 16);
  const SharedState& st = state();
  const std::string text =
      pattern_file_text(PatternForm::kSector, {st.nax_pattern, st.sector_patterns, st.peak_table, st.integration_params, ""});
  const std::string first_row = text.substr(0, text.find("\r\n"));
  EXPECT_EQ(std::count(first_row.begin(), first_row.end(), ','), 16);
}

TEST_F(SectoredTest, RefusalsAndNoImage) {
  set_parameter(&P::division_angle, 0.001);
  shown(calc_free_angle_sectored_pixel_histogram);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<< FREE ANGLE SECTORING >>>>>>>", "Input division angle error!",
                                              "The division angle must be at least 0.1 degree (3600 sectors at most)."}));
  EXPECT_TRUE(state().nax_pattern.empty());
  the_log().clear_history();
  set_parameter(&P::division_angle, 22.5);
  set_parameter(&P::Phi, 5);
  set_parameter(&P::Lo, 0);
  shown(calc_free_angle_sectored_pixel_histogram);
  sectoring_command();  // no tilt in the fixed sectors: runs
  EXPECT_EQ(log()[1], " calc_free_angle_sectored_pixel_histogram():Camera length must be greater than 0 for a tilted detector");
  EXPECT_EQ(log()[2], "<<<<<< SECTORING >>>>>>>");
  EXPECT_TRUE(state().nax_pattern.has_kind(kSector16Pixel));
  current_image().NoImageFlag = 1;
  state().macro.MacroRecording = true;
  the_log().clear_history();
  sectoring_command();
  shown(calc_free_angle_sectored_pixel_histogram);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<< SECTORING >>>>>>>", "calc_sectored_histogram() : Image data does not exist.",
                                             "<<<<<< FREE ANGLE SECTORING >>>>>>>",
                                             "calc_free_angle_sectored_pixel_histogram() : Image data does not exist."}));
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.Sectoring();"});
}

}  // namespace
}  // namespace kestrin::test
