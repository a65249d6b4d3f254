// Where the windows are and what they keep in view, offscreen: the first placement clear of
// the main and image windows, the image window's panel at any view size and its smallest
// size, the Window menu bringing back a minimised window, a Spot Analyze step's results
// beside its window, and a bad graph range that stops only the draws that use it.
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <set>

#include "analysis/spot_list.h"
#include "app/image_form.h"
#include "app/nax_graph_form.h"
#include "app/peak_fitting_form.h"
#include "app/peak_form.h"
#include "app/spot_analyze_form.h"
#include "app/window_placement.h"
#include "app_fixture.h"
#include "commands/image_view_commands.h"
#include "commands/spot_analysis_commands.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::test {
namespace {

using WindowArrangement = AppTest;
using app::clear_spot;

// Spots for windows of several sizes around a main and an image window, on screens of
// several sizes: on the screen, clear of both, and a cascade step apart where there is room.
TEST(WindowPlacement, ClearSpotsLieOnTheScreenBesideTheWindowsToKeepClear) {
  struct Case {
    QRect screen;
    QSize size;
    bool room;  // a clear spot exists
  };
  const QRect main(0, 0, 400, 700), image(408, 0, 1024, 664);
  const Case cases[] = {
      {{0, 0, 1920, 1080}, {480, 400}, true},  // right of the image
      {{0, 0, 1440, 1000}, {800, 300}, true},  // below the image
      {{0, 0, 1440, 1000}, {900, 400}, false},
      {{0, 0, 1280, 1024}, {300, 200}, true},
      {{0, 0, 800, 600}, {300, 200}, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.screen.width() << "x" << k.screen.height() << " " << k.size.width());
    for (int cascade : {0, 1, 5}) {
      const QRect at(clear_spot(k.size, {main, image}, k.screen, cascade), k.size);
      EXPECT_TRUE(k.screen.contains(at) || k.size.width() > k.screen.width()) << at.x() << "," << at.y();
      EXPECT_EQ(!at.intersects(main) && !at.intersects(image), k.room) << at.x() << "," << at.y();
    }
  }
  const QRect screen(0, 0, 2560, 1440);
  EXPECT_NE(clear_spot({480, 400}, {main, image}, screen, 0), clear_spot({480, 400}, {main, image}, screen, 1));
}

// At start every window lies on the screen and they are not all in one place.
TEST_F(WindowArrangement, WindowsFirstOpenOnTheScreenInACascade) {
  const QRect screen = app::available_screen();
  std::set<std::pair<int, int>> corners;
  for (size_t i = 1; i < forms_.size(); ++i) {
    const QRect r = app::bounds_of(*forms_[i]);
    if (r.width() <= screen.width() && r.height() <= screen.height()) {
      EXPECT_TRUE(screen.contains(r)) << forms_[i]->name();
    }
    corners.insert({r.left(), r.top()});
  }
  EXPECT_GT(corners.size(), 3u);
  // On a desktop's screen the log, graph and peak list open clear of the main window and
  // cover little of the image window, if any.
  if (screen.width() < 1900 || screen.height() < 1000) return;
  const QRect main_rect = app::bounds_of(main()), image = app::bounds_of(form<app::TfrmImage>());
  EXPECT_FALSE(main_rect.intersects(image));
  for (kgui::TForm* f : {forms_[2], forms_[3], forms_[4]}) {
    const QRect r = app::bounds_of(*f), covered = r.intersected(image);
    EXPECT_FALSE(r.intersects(main_rect)) << f->name();
    EXPECT_LE(covered.width() * covered.height() * 5, image.width() * image.height()) << f->name();
  }
}

// A short view keeps the whole button panel; the window has a smallest size that shows it;
// refused sizes are logged.
TEST_F(WindowArrangement, ImageWindowKeepsEveryControlInViewAndLogsRefusedSizes) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  auto& image = form<app::TfrmImage>();
  image.showForm();
  const auto all_in_view = [&] {
    for (int i = 0; i < image.componentCount(); ++i) {
      auto* c = dynamic_cast<kgui::TControl*>(image.components(i));
      if (!c || c->parent() != image.pnlButtons) continue;
      EXPECT_LE(c->top() + c->height(), image.pnlButtons->height()) << c->name();
      EXPECT_LE(c->left() + c->width(), image.pnlButtons->width()) << c->name();
    }
    EXPECT_LE(image.pnlButtons->top() + image.pnlButtons->height(), image.clientHeight());
    EXPECT_LE(image.pnlButtons->left() + image.pnlButtons->width(), image.clientWidth());
  };
  for (const auto& [w, h] : {std::pair{700, 400}, {1, 1}, {300, 900}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    image.edtImageWindowWidth->setText(std::to_string(w));
    enter(image.edtImageWindowHeight, std::to_string(h));
    EXPECT_EQ(state().image_view.ViewWidth, w);
    EXPECT_EQ(state().image_view.ViewHeight, h);
    test_app().processMessages();
    all_in_view();
  }
  image.setBounds(image.left(), image.top(), 200, 150);
  EXPECT_GE(image.width(), kImageFormMinWidth);
  EXPECT_GE(image.height(), kImageFormMinHeight);
  // The layout follows once the resizes pause; a loaded machine may take a while to get there.
  EXPECT_TRUE(QTest::qWaitFor(
      [] { return state().image_view.ViewWidth == 200 && !state().image_view.LayoutPending; }, 20000));
  test_app().processMessages();
  all_in_view();
  image.edtImageWindowHeight->setText("400");
  the_log().clear_history();
  for (const char* w : {"5000", "-5"}) {
    enter(image.edtImageWindowWidth, w);
    EXPECT_EQ(the_log().history().back(), " ImageWindowSetting : The view size " + std::string(w) +
                                              " x 400 is refused: width and height must be 1 to 4096.");
  }
  EXPECT_EQ(the_log().history().size(), 2u);
  image.hide();
}

// The Window menu restores a minimised window and raises it.
TEST_F(WindowArrangement, WindowMenuBringsBackAMinimisedWindow) {
  const std::pair<const char*, kgui::TForm*> items[] = {{"Intensity", &form<app::TfrmNaxGraph>()},
                                                        {"Peaks", &form<app::TfrmPeak>()},
                                                        {"Log", forms_[2]}};
  for (const auto& [item, f] : items) {
    SCOPED_TRACE(item);
    f->showForm();
    f->widget()->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(f->widget()->isMinimized());
    click_menu("Window", item);
    EXPECT_TRUE(f->visible());
    EXPECT_FALSE(f->widget()->isMinimized());
    f->hide();
  }
}

// Each step shows its results where they leave the Spot Analyze window uncovered.
TEST_F(WindowArrangement, SpotAnalyzeStepResultsDoNotCoverItsWindow) {
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  click_menu("File", "Load Image");
  set_spot_count(state().spot_list, 2);
  auto& analysis = form<app::TfrmSpotAnalyze>();
  kgui::TForm* results[] = {&form<app::TfrmNaxGraph>(), &form<app::TfrmPeak>(), &form<app::TfrmPeakFitting>()};
  const QRect screen = app::available_screen();
  int widest = 0;
  for (kgui::TForm* f : results) widest = std::max(widest, f->width());
  if (screen.width() < analysis.width() + widest + 16 && screen.height() < analysis.height() + 600)
    GTEST_SKIP() << "the screen has no room beside the window (" << screen.width() << " x " << screen.height()
                 << "); the X server run of this test has";
  analysis.setLeft(screen.left());
  analysis.setTop(screen.top());
  analysis.showForm();
  // The fake step shows the three windows right over the analysis window.
  const Spot2ThetaAnalysis step = [&](int32_t, const Spot2ThetaSettings&) {
    for (kgui::TForm* f : results) {
      f->setLeft(analysis.left() + 10);
      f->setTop(analysis.top() + 10);
      f->showForm();
    }
  };
  // While the step waits for Next: look, then press Next once and Abort after the second step.
  int checked = 0;
  std::function<void()> check;
  check = [&] {
    for (kgui::TForm* f : results)
      EXPECT_FALSE(app::bounds_of(*f).intersects(app::bounds_of(analysis))) << f->name();
    if (++checked < 2) {
      QTimer::singleShot(0, check);
      calc_step_command(step);  // Next
    } else {
      abort_command();
    }
  };
  QTimer::singleShot(0, check);
  calc_step_command(step);
  EXPECT_EQ(checked, 2);
  for (kgui::TForm* f : results) f->hide();
  analysis.hide();
}

// A bad "X begin" stops a draw of a pixel pattern, with a message that names the edit and its
// window; a 2theta pattern does not use it and is drawn.
TEST_F(WindowArrangement, ABadGraphRangeStopsOnlyTheDrawsThatUseIt) {
  integrate_ring_image(4);
  auto& graph = form<app::TfrmNaxGraph>();
  click_menu("IPmain", "Pixel - Intensity");
  const size_t asked = dialogs_.questions().size();
  enter(graph.edtXBegin, "0abc");
  ASSERT_EQ(dialogs_.questions().size(), asked + 1);
  const std::string message = dialogs_.questions().back().text;
  EXPECT_NE(message.find("\"X begin\" of the Intensity Graph window"), std::string::npos) << message;
  EXPECT_NE(message.find("'0abc' is not a valid integer value"), std::string::npos) << message;
  graph.hide();
  main().pbtnAngleIntensity->click();
  EXPECT_EQ(dialogs_.questions().size(), asked + 1);  // no message: the 2theta draw does not read it
  EXPECT_TRUE(graph.visible());
  EXPECT_EQ(graph.edtXBegin->text(), "0abc");
}

}  // namespace
}  // namespace kestrin::test
