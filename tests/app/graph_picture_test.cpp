// The graph drawn through the batching canvas gives the picture of drawing it call by call:
// a dense 2theta pattern with fitted peaks and marks, and sixteen stacked sectors.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "commands/graph_draw.h"
#include "commands/nax_graph_commands.h"
#include "model/state.h"
#include "offscreen_app.h"
#include "platform/gui/qt_canvas.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "support/state_fixture.h"

namespace kestrin::test {
namespace {

// A canvas that draws every call at once: batches are ignored.
class CallByCallCanvas : public kgui::QtCanvas {
public:
  using QtCanvas::QtCanvas;
  void beginBatch() override {}
  void endBatch() override {}
  void flushBatch() override {}
};

class GraphPictureTest : public StateTest {
protected:
  void SetUp() override {
    offscreen_app();
    StateTest::SetUp();
    state().WindowShow = 0;
    set_graph_size_for_picture(640, 480);
  }
  // The same draw on both canvases; the pictures must agree pixel for pixel.
  static void expect_same_pictures() {
    QImage batched(640, 480, QImage::Format_ARGB32_Premultiplied), direct = batched;
    kgui::QtCanvas a(&batched);
    CallByCallCanvas b(&direct);
    ASSERT_EQ(draw_nax_graph(a, 640, 480), 0);
    ASSERT_EQ(draw_nax_graph(b, 640, 480), 0);
    int differing = 0, curve = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        differing += batched.pixel(x, y) != direct.pixel(x, y);
        curve += direct.pixel(x, y) == 0xFF000000u;
      }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(curve, 2000);  // the pictures hold the curves
  }
  static std::vector<int32_t> rings(int n) {
    std::vector<int32_t> y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const double u = std::fmod(i, 700.0) - 350.0;
      y[size_t(i)] = int32_t(200 + 9000 * std::exp(-u * u / 800.0) + 37 * (i % 13));
    }
    return y;
  }
};

TEST_F(GraphPictureTest, ADense2ThetaPatternWithFitsAndMarks) {
  const std::vector<int32_t> y = rings(20000);
  NaxPattern& p = state().nax_pattern;
  std::copy(y.begin(), y.end(), p.values.begin());
  p.N = int32_t(y.size());
  p.set_kind(kAngleHistogram);
  edit(frmMain::edt2ThetaBegin, "1.0");
  edit(frmMain::edt2ThetaStep, "0.001");
  edit(frmNaxGraph::edt2ThetaBegin, "1.0");
  edit(frmNaxGraph::edt2ThetaEnd, "21.0");
  edit(frmNaxGraph::edtYEnd, "8000");  // the tops run along the frame
  PeakTable& t = state().peak_table;
  FitTables& f = state().fit_tables;
  for (int k = 0; k < 28; ++k) {
    t.two_theta[size_t(k)] = 1.0 + (350 + 700 * k) * 0.001;
    t.intensity[size_t(k)] = 9200;
    f.fitted[size_t(k)] = FitRecord{1, 9000, t.two_theta[size_t(k)], 0.02, 200, 0.0, t.two_theta[size_t(k)] - 0.1,
                                    t.two_theta[size_t(k)] + 0.1, k % 2};
  }
  t.count = 28;
  f.count = 28;
  expect_same_pictures();
}

TEST_F(GraphPictureTest, SixteenStackedSectors) {
  const std::vector<int32_t> y = rings(3000);
  state().sector_patterns.allocate(16);
  for (SectorPattern& s : state().sector_patterns.sectors) {
    std::copy(y.begin(), y.end(), s.pattern.begin());
    s.last_point = int32_t(y.size());
  }
  state().nax_pattern.N = int32_t(y.size());
  state().nax_pattern.set_kind(kSector16Pixel);
  edit(frmNaxGraph::edtXEnd, "3000");
  edit(frmNaxGraph::edtYEnd, "40000");
  expect_same_pictures();
}

}  // namespace
}  // namespace kestrin::test
