// The pattern graph on a recording canvas: segment clipping, margins and scales, axes and
// their numbers, the curves of each pattern kind, stacked sectors, fitted curves and peak
// marks, hostile values, and one golden call list per pattern kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "analysis/peak_fixture.h"
#include "base/convert.h"
#include "commands/graph_draw.h"
#include "commands/nax_graph_commands.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin::test {
namespace {

using Calls = std::vector<std::string>;

class GraphDrawTest : public PeakTest {
protected:
  // The ranges the draw reads from the graph window's edits.
  void ranges(const std::string& x0, const std::string& x1, const std::string& y0, const std::string& y1) {
    edit(frmNaxGraph::edtXBegin, x0);
    edit(frmNaxGraph::edtXEnd, x1);
    edit(frmNaxGraph::edtYBegin, y0);
    edit(frmNaxGraph::edtYEnd, y1);
  }
  void angle_ranges(const std::string& t0, const std::string& t1) {
    edit(frmNaxGraph::edt2ThetaBegin, t0);
    edit(frmNaxGraph::edt2ThetaEnd, t1);
  }
  // The 2theta axis of the pattern itself (the main window's begin and step).
  void angle_axis(const std::string& begin, const std::string& step) {
    edit(frmMain::edt2ThetaBegin, begin);
    edit(frmMain::edt2ThetaStep, step);
  }
  Calls draw() {
    canvas.clearCalls();
    EXPECT_EQ(draw_graph_on_canvas(canvas, GraphStyle{}, [this] { ++sectors_drawn; }), 0);
    return canvas.calls();
  }
  // The calls that contain every one of the parts.
  static Calls having(const Calls& calls, std::initializer_list<std::string> parts) {
    Calls out;
    for (const std::string& c : calls)
      if (std::all_of(parts.begin(), parts.end(), [&](const std::string& p) { return c.find(p) != std::string::npos; }))
        out.push_back(c);
    return out;
  }
  static std::string line(int x1, int y1, int x2, int y2, const std::string& pen) {
    return "LineTo " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + "," +
           std::to_string(y2) + " pen=" + pen + "/1";
  }
  // n sectors of the given patterns; the current pattern becomes the sectored kind.
  static void set_sectors(PatternKind kind, const std::vector<std::vector<int32_t>>& patterns) {
    state().sector_patterns.allocate(int32_t(patterns.size()));
    int32_t max = 0;
    for (size_t s = 0; s < patterns.size(); ++s) {
      SectorPattern& sec = state().sector_patterns.sectors[s];
      std::copy(patterns[s].begin(), patterns[s].end(), sec.pattern.begin());
      sec.last_point = int32_t(patterns[s].size());
      for (int32_t v : patterns[s]) max = std::max(max, v);
    }
    state().nax_pattern.set_kind(kind);
    state().nax_pattern.N = patterns.empty() ? 0 : int32_t(patterns[0].size());
    state().nax_pattern.maximum = max;
  }
  static void add_peak(PeakList& list, double x, double two_theta, double intensity) {
    const auto n = size_t(list.count++);
    list.x[n] = x, list.two_theta[n] = two_theta, list.intensity[n] = intensity, list.d[n] = 1.0;
  }
  static void fit(int32_t i, bool fitted, int32_t model, double start, double end, double position) {
    FitRecord& r = state().fit_tables.fitted[size_t(i)];
    r = FitRecord{uint8_t(fitted), 1000.0, position, 0.5, 100.0, 0.0, start, end, model};
    if (fitted) ++state().fit_tables.count;
  }

  kgui::RecordingCanvas canvas;
  int sectors_drawn = 0;
};

// ---- Clipping ----

struct ClipCase {
  const char* what;
  int x1, y1, x2, y2;
  int ex1, ey1, ex2, ey2;
};

TEST(ClipGraphSegment, TheNineCasesWithExactProductsBeforeTheDivision) {
  // ymax 100. The crossings are formed as (dx dy) / dy' in exact integers; dividing first
  // would move several of the ends below by one pixel.
  const ClipCase cases[] = {
      {"inside", 10, 20, 30, 40, 10, 20, 30, 40},
      {"inside to below", 0, 49, 2, -49, 0, 49, 1, 0},
      {"inside to above", 0, 2, 2, 198, 0, 2, 1, 100},
      {"both below: along the baseline", 5, -3, 9, -7, 5, 0, 9, 0},
      {"below to inside", 0, -49, 2, 49, 1, 0, 2, 49},
      {"below to above, the second end from the moved first", 0, -60, 3, 151, 0, 0, 1, 100},
      {"both above: along the top edge", 3, 150, 8, 200, 3, 100, 8, 100},
      {"above to inside", 0, 198, 2, 2, 1, 100, 2, 2},
      {"above to below, the second end from the moved first", 0, 102, 3, -51, 0, 100, 1, 0},
      {"saturated ends cross without overflow", 0, INT_MAX, 10, INT_MIN, 4, 100, 4, 0},
  };
  for (const ClipCase& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    clip_graph_segment(x1, y1, x2, y2, 100);
    EXPECT_EQ((std::array<int32_t, 4>{x1, y1, x2, y2}), (std::array<int32_t, 4>{c.ex1, c.ey1, c.ex2, c.ey2}));
  }
}

// ---- Layout ----

TEST_F(GraphDrawTest, MarginsAndScalesFollowTheNominalSize) {
  set_pattern(std::vector<int32_t>(50, 10), kPixelHistogram);
  ranges("0", "100", "0", "10000");
  struct Case {
    int32_t W, H, left, plot_width, bottom, plot_height;
  };
  for (const Case c : {Case{500, 400, 50, 500, 400, 360}, Case{495, 396, 49, 495, 396, 356}}) {
    state().graph.GraphWidth = c.W, state().graph.GraphHeight = c.H;
    draw();
    const GraphLayout& g = state().graph;
    EXPECT_EQ(g.left, c.left);
    EXPECT_EQ(g.plot_width, c.plot_width);
    EXPECT_EQ(g.bottom, c.bottom);
    EXPECT_EQ(g.plot_height, c.plot_height);
    EXPECT_DOUBLE_EQ(g.GraphXScale, c.W / 100.0);
    EXPECT_DOUBLE_EQ(g.GraphYScale, 0.9 * c.H / 10000.0);
    // The plot area: light yellow, its outline the frame, one pixel past the plot width.
    EXPECT_EQ(canvas.calls()[0], "Rectangle " + std::to_string(c.left) + "," + std::to_string(c.bottom - c.plot_height) +
                                     " " + std::to_string(c.left + c.plot_width + 1) + "," +
                                     std::to_string(c.bottom + 1) + " pen=$000000/1 brush=$DCFFFF");
  }
}

TEST_F(GraphDrawTest, EmptyRangesFallBackInTheRangesButNotInTheEdits) {
  set_pattern(std::vector<int32_t>(50, 10), kPixelHistogram);
  ranges("200", "100", "7", "7");
  angle_ranges("5", "5");
  draw();
  const IntegrationParams& p = state().integration_params;
  EXPECT_EQ((std::array<int32_t, 4>{p.graph_x_begin, p.graph_x_end, p.graph_y_begin, p.graph_y_end}),
            (std::array<int32_t, 4>{100, 1200, 0, 10000}));
  EXPECT_EQ(p.graph_2theta_begin, 1.0);
  EXPECT_EQ(p.graph_2theta_end, 40.0);
  EXPECT_EQ(state().graph.xmin, 100.0);
  EXPECT_EQ(controls().text(frmNaxGraph::edtXBegin), "200");
  EXPECT_EQ(controls().text(frmNaxGraph::edt2ThetaEnd), "5");
}

// ---- Axes ----

TEST_F(GraphDrawTest, A2ThetaAxisFrom1To40HasTicksEveryDegreeFrom1AndLabelsEveryTen) {
  set_pattern(std::vector<int32_t>(50, 10), kAngleHistogram);
  angle_ranges("1.0", "40.0");
  const Calls calls = draw();
  // Ticks rise from the baseline (400) by 1 % of H and by 2 % every ten degrees.
  const Calls small = having(calls, {",400 ", ",396 "}), large = having(calls, {",400 ", ",392 "});
  ASSERT_EQ(small.size(), 40u);
  EXPECT_EQ(small.front(), line(50, 400, 50, 396, "$000000"));  // 1 degree at the left margin
  EXPECT_EQ(large.size(), 4u);
  const Calls labels = having(calls, {"TextOut", ",420 "});
  ASSERT_EQ(labels.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_NE(labels[i].find("'" + std::to_string(10 * (i + 1)) + "'"), std::string::npos);
  // 10 degrees: Trunc((10 - 1) 500 / 39 + 0.094 500) = 162.
  EXPECT_EQ(labels[0].rfind("TextOut 162,420 '10'", 0), 0u);
  EXPECT_EQ(having(calls, {"'2theta (degrees)'"}).size(), 1u);
}

TEST_F(GraphDrawTest, PixelLabelsAlternateBetweenTwoRows) {
  set_pattern(std::vector<int32_t>(50, 10), kPixelHistogram);
  ranges("0", "1000", "0", "10000");
  const Calls calls = draw();
  const Calls upper = having(calls, {"TextOut", ",420 '"}), lower = having(calls, {"TextOut", ",432 '"});
  ASSERT_EQ(upper.size(), 6u);  // 0, 200, ... 1000
  ASSERT_EQ(lower.size(), 5u);  // 100, 300, ... 900
  EXPECT_EQ(upper[0].rfind("TextOut 44,420 '0'", 0), 0u);
  EXPECT_EQ(lower[0].rfind("TextOut 94,432 '100'", 0), 0u);
  EXPECT_EQ(having(calls, {"TextOut 190,448 'Distance from center (pixels)'"}).size(), 1u);
}

TEST_F(GraphDrawTest, YNumbersAre5Point0fAndYTicksOnlyForPlainPatterns) {
  set_pattern(std::vector<int32_t>(50, 10), kPixelHistogram);
  ranges("0", "100", "-25", "12345");
  Calls calls = draw();
  EXPECT_EQ(having(calls, {"TextOut 20,404 '  -25'"}).size(), 1u);
  EXPECT_EQ(having(calls, {"TextOut 20,28 '12345'"}).size(), 1u);
  for (int y : {364, 328, 292, 256, 220, 184, 148, 112, 76}) {
    EXPECT_EQ(having(calls, {line(50, y, 55, y, "$000000")}).size(), 1u) << y;    // pointing right
    EXPECT_EQ(having(calls, {line(550, y, 545, y, "$000000")}).size(), 1u) << y;  // pointing left
  }
  set_sectors(kFreeSectorPixel, {std::vector<int32_t>(50, 10)});
  calls = draw();
  EXPECT_TRUE(having(calls, {line(50, 364, 55, 364, "$000000")}).empty());  // none on stacked curves
  EXPECT_EQ(having(calls, {"TextOut 20,28 '12345'"}).size(), 1u);
}

// ---- Curves ----

TEST_F(GraphDrawTest, BinsBeyondTheYRangeRunAlongTheFrame) {
  std::vector<int32_t> y(30, 0);
  y[10] = y[11] = 20000;  // above Y end
  set_pattern(y, kPixelHistogram);
  ranges("0", "100", "5000", "10000");  // every other bin lies below Y begin
  const Calls calls = draw();
  // 5 picture pixels per bin; Y0 400, PH 360.
  EXPECT_EQ(having(calls, {line(100, 40, 105, 40, "$000000")}).size(), 1u);  // along the top edge
  EXPECT_EQ(having(calls, {line(75, 400, 80, 400, "$000000")}).size(), 1u);  // along the baseline
  // The rising flank from 0 to 20000 leaves the baseline where it crosses Y begin.
  EXPECT_EQ(having(calls, {"LineTo 96,400 97,40 "}).size(), 1u);
}

TEST_F(GraphDrawTest, The2ThetaCurvePlacesBinsByTheIntegrationBeginAndStep) {
  set_pattern({100, 200, 300}, kAngleHistogram);
  angle_axis("10.0", "0.5");
  angle_ranges("10.0", "20.0");
  ranges("0", "100", "0", "1000");
  const Calls calls = draw();
  // 50 picture pixels per degree: bins at 10.0, 10.5, 11.0; 0.36 picture pixels per unit.
  EXPECT_EQ(having(calls, {"pen=$000000"}).back(), line(75, 328, 100, 292, "$000000"));
  EXPECT_EQ(having(calls, {line(50, 364, 75, 328, "$000000")}).size(), 1u);
}

TEST_F(GraphDrawTest, SixteenSectorsStackByTruncOfKTimesYmaxOverTwenty) {
  std::vector<std::vector<int32_t>> sectors(16, std::vector<int32_t>(30, 0));
  set_sectors(kSector16Pixel, sectors);
  ranges("0", "100", "0", "10000");
  const Calls calls = draw();
  EXPECT_EQ(sectors_drawn, 16);
  // Offsets 500 k at 0.036 picture pixels per unit.
  const int lift[16] = {0, 18, 36, 53, 72, 90, 107, 125, 144, 162, 180, 197, 215, 233, 251, 270};
  for (int k = 0; k < 16; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(having(calls, {line(50, 400 - lift[k], 55, 400 - lift[k], "$000000")}).size(), 1u);
  }
}

// The division angle may change after a sectored run: the graph stacks the sectors the run
// made, never more (reading sectors that do not exist) or fewer.
TEST_F(GraphDrawTest, AChangedDivisionAngleDrawsTheSectorsOfTheRun) {
  std::vector<std::vector<int32_t>> sectors(16, std::vector<int32_t>(30, 0));
  set_sectors(kSector16Pixel, sectors);
  state().sector_patterns.sectors.resize(16);  // the store holds exactly the run's sectors
  ranges("0", "100", "0", "10000");
  edit(frmMain::edtSectoredAngle, "10");  // 36 sectors by the edit
  const Calls calls = draw();
  EXPECT_EQ(state().integration_params.sector_count, 36);
  EXPECT_EQ(sectors_drawn, 16);
  EXPECT_EQ(having(calls, {line(50, 400 - 270, 55, 400 - 270, "$000000")}).size(), 1u);
  EXPECT_EQ(sector_graph_offset(15), 7500);
}

// ---- Fitted curves and marks ----

TEST_F(GraphDrawTest, FittedCurvesAreDrawnOnlyForFittedRecordsInTheirSampleSteps) {
  set_peaked_pixel_pattern({40.0, 70.0});
  ranges("0", "100", "0", "20000");
  add_peak(state().peak_table, 40.0, 1.0, 10000);
  add_peak(state().peak_table, 70.0, 2.0, 10000);
  fit(0, true, 0, 39.0, 41.0, 40.0);   // 2 pixels in 0.02-pixel segments
  fit(1, false, 1, 69.0, 71.0, 70.0);  // not converged: no curve
  Calls calls = draw();
  EXPECT_EQ(having(calls, {"pen=$0000FF"}).size(), 100u);
  set_pattern(std::vector<int32_t>(30, 0), kAngleHistogram);
  angle_axis("1.0", "0.5");
  angle_ranges("1.0", "20.0");
  state().fit_tables.fitted[0].window_start = 5.0, state().fit_tables.fitted[0].window_end = 5.5;
  calls = draw();
  EXPECT_EQ(having(calls, {"pen=$0000FF"}).size(), 50u);  // step / 50 = 0.01 degree
  state().fit_tables.count = 0;
  EXPECT_TRUE(having(draw(), {"pen=$0000FF"}).empty());
}

TEST_F(GraphDrawTest, PeaksAtTheOriginGetNoMark) {
  set_pattern(std::vector<int32_t>(100, 1000), kAngleHistogram);
  angle_axis("0.0", "0.1");
  angle_ranges("0.0", "10.0");
  ranges("0", "100", "0", "10000");
  PeakTable& t = state().peak_table;
  add_peak(t, 0, 0.0, 1000);
  add_peak(t, 0, 0.01, 1000);
  add_peak(t, 0, 5.0, 1000);
  Calls marks = having(draw(), {"pen=$FF0000"});
  // Trunc(1000 0.036) = 36 above the baseline, the mark from 2 to 12 pixels above it.
  EXPECT_EQ(marks, (Calls{line(300, 362, 300, 352, "$FF0000")}));
  set_pattern(std::vector<int32_t>(100, 1000), kPixelHistogram);
  t.count = 0;
  add_peak(t, 1.0, 0.1, 1000);
  add_peak(t, 50.0, 0.2, 1000);
  marks = having(draw(), {"pen=$FF0000"});
  EXPECT_EQ(marks, (Calls{line(300, 362, 300, 352, "$FF0000")}));
}

TEST_F(GraphDrawTest, SectorPeaksAreMarkedAtTheirSectorsOffset) {
  set_sectors(kFreeSectorAngle, {std::vector<int32_t>(30, 0), std::vector<int32_t>(30, 0)});
  angle_axis("1.0", "0.5");
  angle_ranges("1.0", "11.0");
  ranges("0", "100", "0", "10000");
  add_peak(state().sector_patterns.sectors[1].peaks, 0, 6.0, 0);
  add_peak(state().sector_patterns.sectors[1].peaks, 0, 0.0, 0);  // at the origin: no mark
  // Offset of sector 1: Trunc(10000 / 6) = 1666, 59 picture pixels up.
  EXPECT_EQ(having(draw(), {"pen=$FF0000"}), (Calls{line(300, 339, 300, 329, "$FF0000")}));
}

// ---- Hostile values ----

TEST_F(GraphDrawTest, HugeIntensitiesNaNAndTinyRangesNeverLeaveThePlot) {
  std::vector<int32_t> y(40, INT32_MAX);
  y[5] = INT32_MIN;
  set_pattern(y, kAngleHistogram);
  angle_axis("1e300", "1e300");  // every bin far beyond the range
  angle_ranges("1.0", "1.0000000000001");
  ranges("-2147483648", "2147483647", "0", "1");
  add_peak(state().peak_table, 0, std::nan(""), std::nan(""));
  Calls calls = draw();
  EXPECT_TRUE(having(calls, {"pen=$FF0000"}).empty());
  angle_axis("1.0", "0.00000000000001");
  calls = draw();
  for (const std::string& c : having(calls, {"LineTo", "pen=$000000"})) {
    int x1, y1, x2, y2;
    ASSERT_EQ(std::sscanf(c.c_str(), "LineTo %d,%d %d,%d", &x1, &y1, &x2, &y2), 4) << c;
    EXPECT_TRUE(y1 >= 0 && y1 <= 430 && y2 >= 0 && y2 <= 430) << c;
  }
  // An axis of two billion pixels draws one tick per picture column, not one per step.
  set_pattern(std::vector<int32_t>(40, 1), kPixelHistogram);
  calls = draw();
  EXPECT_LT(calls.size(), 5000u);
}

// ---- Whole draws ----

// The draw of a tiny pattern of each kind, as recorded: regenerate the files with
// KESTRIN_UPDATE_GOLDEN=1 after a deliberate change and review the difference.
void expect_golden(const std::string& name, const Calls& calls) {
  const std::string path = std::string(KESTRIN_SOURCE_DIR) + "/tests/commands/golden/" + name;
  if (std::getenv("KESTRIN_UPDATE_GOLDEN")) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& c : calls) out << c << '\n';
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path;
  Calls expected;
  for (std::string l; std::getline(in, l);) expected.push_back(l);
  EXPECT_EQ(calls, expected) << name;
}

TEST_F(GraphDrawTest, WholeDrawsOfEachKindMatchTheirGoldenCallLists) {
  state().graph.GraphWidth = 200, state().graph.GraphHeight = 160;
  ranges("0", "20", "0", "1000");
  angle_ranges("2.0", "4.0");
  angle_axis("2.0", "0.2");
  const std::vector<int32_t> bump = {0, 100, 400, 900, 400, 100, 0, 50, 1200, 50};
  auto whole = [&](int32_t w, int32_t h) {
    canvas.clearCalls();
    draw_nax_graph(canvas, w, h);
    return canvas.calls();
  };

  set_pattern(bump, kPixelHistogram);
  add_peak(state().peak_table, 3.0, 0.5, 900);
  fit(0, true, 1, 2.0, 2.1, 3.0);
  expect_golden("graph_pixel.txt", whole(260, 230));

  set_pattern(bump, kAngleHistogram);
  state().peak_table.count = 0;
  add_peak(state().peak_table, 0, 2.6, 900);
  fit(0, true, 0, 2.5, 2.504, 2.6);
  expect_golden("graph_2theta.txt", whole(260, 230));

  state().fit_tables = FitTables();
  std::vector<std::vector<int32_t>> sixteen(16, std::vector<int32_t>{0, 10, 30, 10, 0});
  set_sectors(kSector16Pixel, sixteen);
  expect_golden("graph_16sector.txt", whole(260, 230));

  set_sectors(kFreeSectorPixel, {bump, bump});
  add_peak(state().sector_patterns.sectors[0].peaks, 3.0, 0.5, 900);
  expect_golden("graph_sector_pixel.txt", whole(260, 230));

  set_sectors(kFreeSectorAngle, {bump, bump, bump});
  add_peak(state().sector_patterns.sectors[2].peaks, 0, 2.6, 900);
  expect_golden("graph_sector_2theta.txt", whole(260, 230));
}

TEST_F(GraphDrawTest, WithoutAPatternTheWindowShowsAndThePictureStays) {
  EXPECT_EQ(draw_nax_graph(canvas, 100, 100), 1);
  EXPECT_TRUE(canvas.calls().empty());
  EXPECT_EQ(views.forms, (std::vector<std::string>{"frmNaxGraph"}));
  state().WindowShow = 0;
  set_pattern({1, 2, 3}, kPixelHistogram);
  EXPECT_EQ(draw_nax_graph(canvas, 100, 100), 0);
  EXPECT_EQ(canvas.calls().front(), "FillRect 0,0 100,100 brush=$FFFFFF");
  EXPECT_EQ(views.forms.size(), 1u);
}

TEST_F(GraphDrawTest, ABadEditStopsTheDrawWithTheConversionError) {
  set_pattern({1, 2, 3}, kPixelHistogram);
  edit(frmNaxGraph::edtYEnd, "12x");
  EXPECT_THROW(draw_graph_on_canvas(canvas, GraphStyle{}), ConversionError);
}

TEST_F(GraphDrawTest, AScaledDrawRestoresTheScreenLayoutAndFont) {
  set_pattern({1, 2, 3}, kPixelHistogram);
  draw();
  const GraphLayout before = state().graph;
  const int font = canvas.font().height();
  GraphStyle printed;
  printed.scale = 4, printed.plot_fill = kgui::clWhite, printed.fitted_curves = false;
  printed.y_numbers_left = 0.02, printed.ymax_top = 0.11;
  ASSERT_EQ(draw_graph_on_canvas(canvas, printed), 0);
  const Calls calls = canvas.calls();
  EXPECT_EQ(having(calls, {"Rectangle 200,160 2201,1601 pen=$000000/1 brush=$FFFFFF"}).size(), 1u);
  EXPECT_EQ(having(calls, {"TextOut 40,176 '10000'"}).size(), 1u);
  EXPECT_EQ(state().graph.GraphWidth, before.GraphWidth);
  EXPECT_EQ(state().graph.GraphXScale, before.GraphXScale);
  EXPECT_EQ(canvas.font().height(), font);
}

}  // namespace
}  // namespace kestrin::test
