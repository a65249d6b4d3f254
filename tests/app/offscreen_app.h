// The application object for window tests (one per test program) and synthetic mouse input
// sent straight to a control's widget.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/app.h"

namespace kestrin::test {

// Deletes the application made here when the test program ends.
class OffscreenAppEnvironment : public ::testing::Environment {
public:
  explicit OffscreenAppEnvironment(kgui::TApplication* app) : app_(app) {}
  void TearDown() override { delete app_; }

private:
  kgui::TApplication* app_;
};

// The program's one application object (made by the first window test that needs it).
inline kgui::TApplication& offscreen_app() {
  if (kgui::TApplication* existing = kgui::TApplication::instance()) return *existing;
  static int argc = 1;
  static char arg0[] = "app_tests";
  static char* argv[] = {arg0, nullptr};
  auto* app = new kgui::TApplication(argc, argv);
  app->setTitle("Kestrin");
  ::testing::AddGlobalTestEnvironment(new OffscreenAppEnvironment(app));
  return *app;
}

// A mouse event at (x, y) in the widget's coordinates; `held` are the buttons down after it.
inline void send_mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF local(x, y);
  QMouseEvent e(type, local, w->mapToGlobal(local), button, held, modifiers);
  QApplication::sendEvent(w, &e);
}

}  // namespace kestrin::test
