// The pattern graph window offscreen on the pattern of a synthetic ring image: its start, the
// mouse (zoom drag with its rubber band, adding and deleting a peak with its mark), the edits'
// Enter keys and the debounced layout on resize.
#include <QTest>

#include "app/form_lookup.h"
#include "app/nax_graph_form.h"
#include "app/peak_form.h"
#include "app/window_ports.h"
#include "app_fixture.h"
#include "base/convert.h"
#include "model/state.h"
#include "offscreen_app.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin::test {
namespace {

using app::TfrmNaxGraph;

// The program's graph port, counting the draws asked of it.
class CountingGraph : public GraphWindowPort {
public:
  explicit CountingGraph(GraphWindowPort& real) : real_(real) {}
  void show() override { real_.show(); }
  void draw_nax_graph() override {
    ++draws;
    real_.draw_nax_graph();
  }
  void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) override {
    real_.draw_graph_line(x1, y1, x2, y2, colour);
  }
  int draws = 0;

private:
  GraphWindowPort& real_;
};

class GraphWindowTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    graph = app::form_of<TfrmNaxGraph>();
    ASSERT_NE(graph, nullptr);
    // The 2theta pattern of a ring image, shown from 1 to 9 degrees and 0 to the maximum.
    integrate_ring_image(4);  // RIGHT
    ASSERT_TRUE(state().nax_pattern.has_kind(kAngleHistogram));
    graph->edt2ThetaBegin->setText("1");
    graph->edt2ThetaEnd->setText("9");
    graph->edtYEnd->setText(std::to_string(state().nax_pattern.maximum + 100));
    Ports p = app::window_ports();
    p.graph_window = &counting;
    install_ports(p);
    graph->pbtnReDraw->click();
    counting.draws = 0;
  }
  QWidget* picture() { return graph->imgNaxGraph->widget(); }
  void press(int x, int y, Qt::MouseButton b) { send_mouse(picture(), QEvent::MouseButtonPress, x, y, b, b); }
  void move(int x, int y, Qt::MouseButtons held) { send_mouse(picture(), QEvent::MouseMove, x, y, Qt::NoButton, held); }
  void release(int x, int y, Qt::MouseButton b) { send_mouse(picture(), QEvent::MouseButtonRelease, x, y, b, Qt::NoButton); }
  // The picture column of a 2theta and the row of an intensity (plot rules of the graph).
  static int column(double two_theta) {
    const GraphLayout& g = state().graph;
    return g.left + Trunc((two_theta - g.xmin) * g.GraphXScale);
  }
  static int mark_row(double intensity) {
    const GraphLayout& g = state().graph;
    return g.bottom - Trunc(std::trunc(intensity - g.ymin) * g.GraphYScale) - 5;
  }
  QColor at(int x, int y) { return graph->imgNaxGraph->image().pixelColor(x, y); }

  TfrmNaxGraph* graph = nullptr;
  CountingGraph counting{app::nax_graph_port()};
};

TEST_F(GraphWindowTest, TheWindowStartsWithItsCaptionTextsAndTheStartGraphSize) {
  AppTest::start();  // a fresh window
  TfrmNaxGraph* g = app::form_of<TfrmNaxGraph>();
  EXPECT_EQ(g->caption(), "KES for Windows (Intensity Graph)");
  EXPECT_EQ(g->color(), TColor(0xFFE4CE));
  EXPECT_EQ(g->pnlNaxBase->color(), TColor(0xFFF2E8));
  const std::vector<std::string> texts = {g->edtXBegin->text(), g->edtXEnd->text(), g->edtYBegin->text(),
                                          g->edtYEnd->text(), g->edt2ThetaBegin->text(), g->edt2ThetaEnd->text(),
                                          g->Edit1->text()};
  EXPECT_EQ(texts, (std::vector<std::string>{"0", "100", "0", "10000", "0.000000", "0.000000", "0.005"}));
  EXPECT_EQ(g->imgNaxGraph->cursor(), kgui::crCross);
  EXPECT_EQ(state().graph.GraphWidth, 500);
  EXPECT_EQ(state().graph.GraphHeight, 400);
  EXPECT_EQ(g->imgNaxGraph->width(), 606);
  EXPECT_FALSE(g->visible());
}

TEST_F(GraphWindowTest, AMiddleDragZoomsOnReleaseAndOnlyTheRubberBandMovesBefore) {
  graph->showForm();
  const QImage before = graph->imgNaxGraph->image().copy();
  const GraphLayout g = state().graph;  // the scales the zoom reads
  press(200, 100, Qt::MiddleButton);
  move(300, 250, Qt::MiddleButton);
  move(320, 260, Qt::MiddleButton);
  EXPECT_EQ(counting.draws, 0);
  EXPECT_EQ(graph->imgNaxGraph->image(), before);  // the band is never drawn into the picture
  const QImage shown = picture()->grab().toImage();
  const QColor under = before.pixelColor(260, 100);
  const QColor band = shown.pixelColor(260, 100);
  EXPECT_EQ(band.rgb() & 0xFFFFFF, (under.rgb() ^ 0x408040u) & 0xFFFFFF);  // exclusive or with RGB(64, 128, 64)
  release(320, 260, Qt::MiddleButton);
  EXPECT_EQ(counting.draws, 1);
  EXPECT_EQ(graph->edt2ThetaBegin->text(), Format("%8.5f", {(200 - 0.1 * g.GraphWidth) / g.GraphXScale + 1.0}));
  EXPECT_EQ(graph->edtYBegin->text(), Format("%6d", {Trunc((g.GraphHeight - 260) / g.GraphYScale + 0)}));
  EXPECT_NE(graph->imgNaxGraph->image(), before);
  EXPECT_EQ(picture()->grab().toImage().pixelColor(260, 100), graph->imgNaxGraph->image().pixelColor(260, 100));
}

TEST_F(GraphWindowTest, ALeftReleaseMarksTheAddedPeakAndARightReleaseErasesIt) {
  const NaxPattern& p = state().nax_pattern;
  const auto top = std::max_element(p.values.begin(), p.values.begin() + p.N) - p.values.begin();
  const IntegrationParams& ip = state().integration_params;
  const int x = column(top * ip.two_theta_step + ip.two_theta_begin);
  press(x, 100, Qt::LeftButton);
  release(x, 100, Qt::LeftButton);
  ASSERT_EQ(state().peak_table.count, 1);
  const PeakTable& t = state().peak_table;
  const int mx = column(t.two_theta[0]), my = mark_row(t.intensity[0]);
  EXPECT_EQ(at(mx, my), QColor(0, 0, 255));
  EXPECT_EQ(at(mx, my - 6), QColor(0, 0, 255));
  EXPECT_EQ(counting.draws, 0);  // marked, not redrawn
  press(mx, 100, Qt::RightButton);
  release(mx, 100, Qt::RightButton);
  EXPECT_EQ(t.count, 0);
  EXPECT_EQ(at(mx, my), QColor(255, 255, 220));
}

TEST_F(GraphWindowTest, MovesUpdateTheReadoutAndEnterInARangeEditDraws) {
  move(300, 200, Qt::NoButton);
  EXPECT_EQ(graph->lblCurValue->caption().rfind("  2theta(degrees)=", 0), 0u);
  EXPECT_EQ(counting.draws, 0);
  graph->edtYEnd->setText("5000");
  QTest::keyClick(graph->edtYEnd->widget(), Qt::Key_Left);
  EXPECT_EQ(counting.draws, 0);
  QTest::keyClick(graph->edtYEnd->widget(), Qt::Key_Return);
  EXPECT_EQ(counting.draws, 1);
  EXPECT_EQ(state().integration_params.graph_y_end, 5000);
  graph->Edit1->setText("0.01");
  EXPECT_EQ(state().SamePeakTolerance, 0.005);
  QTest::keyClick(graph->Edit1->widget(), Qt::Key_Return);
  EXPECT_EQ(state().SamePeakTolerance, 0.01);
}

TEST_F(GraphWindowTest, ResizesLayOutOnceTheyPauseAndNeverBelow301By338) {
  // The layout timer stops itself when it fires: wait for that, however loaded the machine.
  const auto layout_done = [&] {
    test_app().processMessages();
    return QTest::qWaitFor([&] { return !graph->tmrLayout->enabled(); }, 30000);
  };
  graph->showForm();
  graph->setBounds(graph->left(), graph->top(), 700, 600);
  graph->setBounds(graph->left(), graph->top(), 800, 650);
  EXPECT_EQ(counting.draws, 0);
  ASSERT_TRUE(layout_done());
  test_app().processMessages();
  EXPECT_EQ(counting.draws, 1);
  EXPECT_EQ(graph->imgNaxGraph->width(), 800 - 30);
  EXPECT_EQ(graph->imgNaxGraph->height(), 650 - 72 - 40 - 98);
  EXPECT_EQ(state().graph.GraphWidth, Trunc((770 - 50) * 0.9));
  graph->setBounds(graph->left(), graph->top(), 300, 700);
  ASSERT_TRUE(layout_done());
  test_app().processMessages();
  EXPECT_EQ(counting.draws, 1);
  EXPECT_EQ(graph->imgNaxGraph->width(), 770);
  graph->hide();
}

// The windows' actions whose routines record macro lines record each once.
TEST_F(GraphWindowTest, RecordingButtonsAppendTheirLinesOnce) {
  const std::string file = dir_.file("pattern.rie");
  state().macro.MacroRecording = true;
  state().macro.MacroList.clear();
  dialogs_.answerFile(file, 3);
  graph->pbtnSaveIntensity->click();
  dialogs_.answerFile(file, 3);
  graph->pbtnLoadIntensity->click();
  graph->pbtnPeakSearch->click();
  app::form_of<app::TfrmPeak>()->pbtnPeakFitting->click();
  EXPECT_EQ(state().macro.MacroList, (std::vector<std::string>{"Kestrin.SaveNaxFile('" + file + "');",
                                                                "Kestrin.LoadNaxFile('" + file + "');",
                                                                "Kestrin.PeakSearch();", "Kestrin.PeakFitting();"}));
}

}  // namespace
}  // namespace kestrin::test
