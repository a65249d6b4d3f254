// The window tests' application object and fixture.
#include "app_fixture.h"

#include <QTest>
#include <cstdlib>

#include "app/program.h"
#include "app/window_ports.h"
#include "commands/headless_ports.h"
#include "image/program_state.h"
#include "model/state.h"
#include "offscreen_app.h"
#include "platform/gui/printer.h"
#include "ports/ports.h"
#include "support/ring_image.h"

namespace kestrin::test {

kgui::TApplication& test_app() { return offscreen_app(); }

void AppTest::SetUp() {
  test_app();
  ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
  previous_ = kgui::setDialogs(&dialogs_);
  start();
}

void AppTest::TearDown() {
  stop();
  kgui::setDialogs(previous_);
}

void AppTest::start() {
  stop();
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  forms_ = app::start_program(test_app(), script_window_);
}

void AppTest::stop() {
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) delete *it;
  forms_.clear();
  app::remove_window_ports();
  test_app().processMessages();
}

void AppTest::enter(kgui::TEdit* edit, const std::string& text) {
  edit->setText(text);
  QTest::keyClick(edit->widget(), Qt::Key_Return);
}

void AppTest::click_menu(const std::string& menu, const std::string& item) {
  kgui::TMenuItem* m = main().menuItem(menu, item);
  ASSERT_NE(m, nullptr) << menu << " > " << item;
  m->click();
}

std::string AppTest::write_ring_image(const std::string& name, double shift) {
  return write_ring_raxis(dir_.file(name), shift);
}

void AppTest::integrate_ring_image(int direction) {
  app::TfrmMain& m = main();
  for (auto* c : {m.chkLo, m.chkwl, m.chkpsx, m.chkpsy}) c->setChecked(false);
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  m.pbtnLoadImage->click();
  enter(m.edtCenterX0, "100");
  enter(m.edtCenterY0, "100");
  m.rbtnRectangle->setChecked(true);
  m.cmbDirection->setItemIndex(direction);
  m.pbtnAngleIntensity->click();
}

void print_to_pdf(const std::string& path) { kgui::printer().printToPdf(path); }

}  // namespace kestrin::test
