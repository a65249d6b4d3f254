// The application object: the handler guard, the event pump with its long-run guard, the
// messages posted to Kestrin's windows, a script's pump, and quitting only when the main
// form closes.
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "gui_fixture.h"
#include "platform/gui/guard.h"
#include "platform/gui/std_controls.h"
#include "platform/system/window_messages.h"

namespace kgui {
namespace {

using AppTest = GuiTest;

TEST_F(AppTest, GuardTurnsAHandlerExceptionIntoTheErrorBox) {
  TForm* form = makeForm();
  auto* button = new TButton(form);
  button->setParent(form);
  int clicks = 0;
  button->OnClick = [&](TComponent*) {
    if (++clicks == 1) throw std::runtime_error("'abc' is not a valid floating point value");
  };
  QTest::mouseClick(button->widget(), Qt::LeftButton);
  QTest::mouseClick(button->widget(), Qt::LeftButton);  // the program goes on
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(dialogs_.questions().size(), 1u);
  const auto& q = dialogs_.questions()[0];
  EXPECT_EQ(q.kind, "message");
  // The platform's wording: the message with a full stop, the application title, OK only.
  EXPECT_EQ(q.text, "'abc' is not a valid floating point value.");
  EXPECT_EQ(q.caption, "Kestrin");
  EXPECT_EQ(q.type, mtError);
  EXPECT_EQ(q.buttons, 1u << mbOK);
  EXPECT_EQ(exceptionText("Done."), "Done.");
}

TEST_F(AppTest, NumbersKeepThePointUnderACommaLocale) {
  // A fresh process under a German locale: Qt takes the locale from it, numbers may not.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* old = std::getenv("LC_ALL");
  std::string saved = old ? old : "";
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EXIT(
      {
        testApp();
        bool german = std::string(std::setlocale(LC_MONETARY, nullptr)).rfind("de_DE", 0) == 0;
        std::_Exit(german && std::string(std::localeconv()->decimal_point) == "." ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (old) setenv("LC_ALL", saved.c_str(), 1);
  else unsetenv("LC_ALL");
}

TEST_F(AppTest, PumpRunsQueuedEventsAndRefusesASecondLongRun) {
  TApplication& app = testApp();
  TApplication::LongRun run(app);
  ASSERT_TRUE(run.active());
  bool ran = false, second_active = true;
  QTimer::singleShot(0, [&] {
    ran = true;
    TApplication::LongRun inner(app);  // a button pressed while the first run pumps
    second_active = inner.active();
  });
  for (int step = 0; step < 5 && !ran; ++step) app.processMessages();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(second_active);
  EXPECT_TRUE(app.longRunActive());
}

TEST_F(AppTest, LongRunEndsWithItsScope) {
  TApplication& app = testApp();
  { TApplication::LongRun run(app); }
  TApplication::LongRun again(app);
  EXPECT_TRUE(again.active());
}

TEST_F(AppTest, WaitUntilSleepsForEventsUntilThePredicateHolds) {
  bool fired = false;
  QTimer::singleShot(20, [&] { fired = true; });
  EXPECT_TRUE(testApp().waitUntil([&] { return fired; }, 5000));
  EXPECT_FALSE(testApp().waitUntil([] { return false; }, 10));  // the limit ends the wait
}

// A window that counts the messages it is given and posts one more on the first.
class CountingWindow : public kestrin::platform::WindowMessageTarget {
public:
  kestrin::platform::LResult Message(uint32_t msg, kestrin::platform::WParam, kestrin::platform::LParam) override {
    if (++count == 1 && repost) kestrin::platform::PostWindowMessage(handle, msg, 0, 0);
    return 0;
  }
  kestrin::platform::WindowHandle handle = 0;
  int count = 0;
  bool repost = false;
};

// Messages posted to Kestrin's windows arrive on every pass of the event loops: the pump of
// a long run, a script's pump, and the loops that sleep (a message posted by a delivery
// comes on the next pass, without waiting for another event).
TEST_F(AppTest, PostedWindowMessagesArriveOnEveryPass) {
  namespace wm = kestrin::platform;
  TApplication& app = testApp();
  CountingWindow window;
  window.handle = wm::RegisterWindow(window);
  ASSERT_TRUE(wm::PostWindowMessage(window.handle, wm::kWmClose, 0, 0));
  app.processMessages();
  EXPECT_EQ(window.count, 1);
  ASSERT_TRUE(wm::PostWindowMessage(window.handle, wm::kWmClose, 0, 0));
  EXPECT_TRUE(app.pumpMessages(10));
  EXPECT_EQ(window.count, 2);
  window.count = 0;
  window.repost = true;
  QTimer::singleShot(0, [&] { wm::PostWindowMessage(window.handle, wm::kWmClose, 0, 0); });
  EXPECT_TRUE(app.waitUntil([&] { return window.count == 2; }, 5000));
  wm::UnregisterWindow(window.handle);
}

// One pass of a script's pump waits for an event, but not longer than it is told.
TEST_F(AppTest, ScriptPumpWaitsForTheFirstEventAtMostAsLongAsAsked) {
  TApplication& app = testApp();
  bool fired = false;
  QTimer::singleShot(30, [&] { fired = true; });
  for (int pass = 0; pass < 200 && !fired; ++pass) EXPECT_TRUE(app.pumpMessages(1000));
  EXPECT_TRUE(fired);
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(app.pumpMessages(20));
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(AppTest, OnlyClosingTheMainFormQuits) {
  // Run in a fresh process: termination is permanent, as on the platform.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TApplication& app = testApp();
        TForm* main_form = app.createForm<TForm>();
        TForm* other = app.createForm<TForm>();
        main_form->showForm();
        other->showForm();
        int closes = 0;
        other->OnClose = [&](TComponent*, int& action) {
          ++closes;
          EXPECT_EQ(action, caHide);
        };
        other->close();
        bool ok = closes == 1 && !other->showing() && !app.terminated();
        main_form->OnCloseQuery = [&](TComponent*, bool& can) { can = closes++ > 1; };
        main_form->close();  // refused once by OnCloseQuery
        ok = ok && !app.terminated() && main_form->showing();
        main_form->close();
        ok = ok && app.terminated();
        std::_Exit(ok ? 0 : 1);  // no exit handlers: the application stays as it is
      },
      ::testing::ExitedWithCode(0), "");
}

// SIGTERM closes the main form as its close box does: its OnClose runs once, the event
// loop ends with code 0, and a window that refuses to close does not keep it running.
TEST_F(AppTest, TerminationSignalClosesTheMainFormAndEndsTheLoop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(60);
        TApplication& app = testApp();
        TForm* main_form = app.createForm<TForm>();
        TForm* stubborn = app.createForm<TForm>();
        stubborn->OnCloseQuery = [](TComponent*, bool& can) { can = false; };
        stubborn->showForm();
        int closes = 0;
        main_form->OnClose = [&](TComponent*, int&) { ++closes; };
        app.closeMainFormOnSignals();
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        const int code = app.run();
        std::_Exit(code == 0 && closes == 1 && app.terminated() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kgui
