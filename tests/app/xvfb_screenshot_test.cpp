// Screenshots of the graph, peak list and peak fitting windows from a real X server (Xvfb),
// after loading a synthetic ring image, integrating it and searching its peaks. The test runs
// this program again under xvfb-run with the xcb platform; the child takes the pictures from
// the screen, saves them under the build folder and checks what they show.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/form_lookup.h"
#include "app/nax_graph_form.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app_fixture.h"
#include "model/state.h"
#include "ports/ports.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

constexpr const char* kChildFlag = "KESTRIN_XVFB_CHILD";

TEST(XvfbScreenshots, EachWindowShowsItsContentOnARealXServer) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "xvfb-run missing";
    GTEST_SKIP() << "xvfb-run not installed";
  }
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string out;
  // The X client libraries keep a few allocations of their own to the end: no leak report.
  const int status = run_command("xvfb-run -a -s '-screen 0 1600x1200x24' env QT_QPA_PLATFORM=xcb "
                                 "ASAN_OPTIONS=detect_leaks=0 " +
                                     std::string(kChildFlag) + "=1 '" + self +
                                     "' --gtest_filter='XvfbScreenshotChild.*' 2>&1",
                                 &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

class XvfbScreenshotChild : public AppTest {
protected:
  void SetUp() override {
    if (!std::getenv(kChildFlag)) GTEST_SKIP() << "runs under xvfb-run only";
    AppTest::SetUp();
  }
  // The window as the X server shows it, saved as xvfb_<name>.png.
  QImage shoot(kgui::TForm* form, const std::string& name) {
    form->showForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form->widget()));
    QTest::qWait(300);
    const QImage shot =
        form->widget()->screen()->grabWindow(form->widget()->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const std::string dir = std::string(KESTRIN_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(shot.save(QString::fromStdString(dir + "/xvfb_" + name + ".png")));
    form->hide();
    return shot;
  }
  // Pixels of the picture inside the control's rectangle that pass the test.
  static int count(const QImage& shot, kgui::TForm* form, kgui::TControl* c, const std::function<bool(QColor)>& test) {
    const QRect r(c->widget()->mapTo(form->widget(), QPoint(0, 0)), c->widget()->size());
    int n = 0;
    for (int y = r.top(); y <= r.bottom() && y < shot.height(); ++y)
      for (int x = r.left(); x <= r.right() && x < shot.width(); ++x) n += test(shot.pixelColor(x, y));
    return n;
  }
  static bool dark(QColor c) { return c.lightness() < 100; }
};

TEST_F(XvfbScreenshotChild, GraphPeakListAndFitGrid) {
  integrate_ring_image(6);  // FULL: both rings
  auto* graph = app::form_of<app::TfrmNaxGraph>();
  graph->edt2ThetaBegin->setText("1");
  graph->edt2ThetaEnd->setText("10");
  graph->pbtnPeakSearch->click();
  ASSERT_GE(state().peak_table.count, 2);
  fit_window().show_fit_results();
  for (kgui::TForm* f : forms_) f->hide();

  const QImage g = shoot(graph, "graph");
  EXPECT_GT(count(g, graph, graph->imgNaxGraph, [](QColor c) { return c == QColor(255, 255, 220); }), 100000);
  EXPECT_GT(count(g, graph, graph->imgNaxGraph, [](QColor c) { return c == QColor(0, 0, 0); }), 500);
  EXPECT_GE(count(g, graph, graph->imgNaxGraph, [](QColor c) { return c == QColor(0, 0, 255); }), 18);

  auto* peaks = app::form_of<app::TfrmPeak>();
  const QImage p = shoot(peaks, "peak_list");
  EXPECT_GT(count(p, peaks, peaks->lstPeak, dark), 200);
  EXPECT_GT(count(p, peaks, peaks->Label1, dark), 100);

  auto* fits = app::form_of<app::TfrmPeakFitting>();
  const QImage f = shoot(fits, "peak_fitting");
  EXPECT_GT(count(f, fits, fits->sgridPeakParameter, dark), 300);
}

}  // namespace
}  // namespace kestrin::test
