// The log window: lines logged before it existed arrive first, then every new line; Clear
// starts again at line 1; the start-up form is created hidden with its timer off. Saves a
// picture of the log window for review.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <memory>

#include "app/log_window.h"
#include "app/panel_button.h"
#include "app/startup_form.h"
#include "offscreen_app.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "ports/log.h"

namespace kestrin::app {
namespace {

using namespace kgui;

std::vector<std::string> memo_lines(TMemo* m) {
  std::vector<std::string> out;
  for (int i = 0; i < m->lines()->count(); ++i) out.push_back(m->lines()->get(i));
  return out;
}

TEST(LogWindow, ReceivesHeldAndNewLinesAndClearRestartsAtLineOne) {
  test::offscreen_app();
  the_log().set_listener(nullptr);
  log_line("held before the window");
  log_line("");
  auto log = std::make_unique<TfrmLog>(nullptr);
  EXPECT_FALSE(log->visible());
  EXPECT_EQ(log->caption(), "KES for Windows (Log)");
  log_line("after");
  log_line("");
  log_line("two\r\nlines");
  EXPECT_EQ(memo_lines(log->memLog),
            (std::vector<std::string>{"held before the window", "", "after", "", "two", "lines"}));
  log->pbtnClearLog->click();
  EXPECT_EQ(log->memLog->lines()->count(), 0);
  log_line("");
  log_line("first again");
  EXPECT_EQ(memo_lines(log->memLog), (std::vector<std::string>{"", "first again"}));
  log->pbtnClearLog->click();
  log_line("one");
  EXPECT_EQ(memo_lines(log->memLog), (std::vector<std::string>{"one"}));

  log->showForm();
  log->pbtnClose->click();
  EXPECT_FALSE(log->visible());
  log.reset();  // lines are held again until the next window
  log_line("after the window");
  auto next = std::make_unique<TfrmLog>(nullptr);
  EXPECT_EQ(memo_lines(next->memLog), (std::vector<std::string>{"after the window"}));
}

TEST(LogWindow, MemoFollowsTheWindowAndKeepsEveryLine) {
  test::offscreen_app();
  TfrmLog log(nullptr);
  log.pbtnClearLog->click();
  EXPECT_TRUE(log.memLog->readOnly());
  EXPECT_EQ(log.memLog->color(), TColor(0xECFFFE));
  EXPECT_EQ(log.color(), TColor(0xFFE4CE));
  EXPECT_EQ(log.pbtnClearLog->caption(), "Clear Log");
  EXPECT_EQ(log.pbtnClose->caption(), "Close");
  EXPECT_LT(log.pbtnClearLog->left(), log.pbtnClose->left());
  for (int i = 0; i < 3000; ++i) log_line("line " + std::to_string(i));
  EXPECT_EQ(log.memLog->lines()->count(), 3000);
  const int memo_w = log.memLog->width(), close_x = log.pbtnClose->left(), close_y = log.pbtnClose->top();
  log.setClientWidth(log.clientWidth() + 100);
  log.setClientHeight(log.clientHeight() + 50);
  EXPECT_EQ(log.memLog->width(), memo_w + 100);
  EXPECT_EQ(log.pbtnClose->left(), close_x + 100);
  EXPECT_EQ(log.pbtnClose->top(), close_y + 50);
}

TEST(StartUpForm, IsCreatedHiddenWithItsTimerOff) {
  test::offscreen_app();
  TfrmStartUp f(nullptr);
  EXPECT_FALSE(f.visible());
  EXPECT_EQ(f.caption(), "Kestrin");
  EXPECT_EQ(f.Label1->caption(), "Starting KES for Windows");
  EXPECT_EQ(f.Label1->font()->name(), "Times New Roman");
  EXPECT_FALSE(f.Timer1->enabled());
}

// A picture of the log window with a few lines and a pressed flat button, for review.
TEST(LogWindow, DemonstrationPicture) {
  test::offscreen_app();
  TfrmLog log(nullptr);
  log.pbtnClearLog->click();
  for (int i = 0; i < 40; ++i) log_line("line " + std::to_string(i));
  for (const char* line : {"Loading /data/sample.img", "", " Image size 2000 x 1000", " <<<<<   Pixel information   >>>>>"})
    log_line(line);
  log.showForm();
  test::send_mouse(log.pbtnClose->widget(), QEvent::MouseButtonPress, 5, 5, Qt::RightButton, Qt::RightButton);
  test::offscreen_app().processMessages();
  QImage shot = log.widget()->grab().toImage();
  test::send_mouse(log.pbtnClose->widget(), QEvent::MouseButtonRelease, 5, 5, Qt::RightButton, Qt::NoButton);
  ASSERT_FALSE(shot.isNull());
  EXPECT_TRUE(shot.save(QDir(KESTRIN_BINARY_DIR).filePath("demo_log_window.png")));
}

}  // namespace
}  // namespace kestrin::app
