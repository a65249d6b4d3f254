// The application object of the window tests and the per-test fixture: fresh state, the
// program's forms built as at start, scripted dialogs, and a configuration folder of the
// test's own for the settings file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form_lookup.h"
#include "app/main_form.h"
#include "app/program.h"
#include "platform/gui/app.h"
#include "platform/gui/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace kestrin::test {

kgui::TApplication& test_app();

// The program's form of class Form (a test failure when there is none).
template <class Form>
Form& form() {
  Form* f = app::form_of<Form>();
  EXPECT_NE(f, nullptr);
  return *f;
}

class AppTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Builds the forms (SetUp does; a test that writes a settings file first calls it again).
  void start();
  void stop();
  app::TfrmMain& main() { return *static_cast<app::TfrmMain*>(forms_.at(0)); }
  std::string settings_path() const { return config_.path() + "kestrin/Kestrin.kes"; }
  // Types `text` into a parameter edit and presses Return.
  void enter(kgui::TEdit* edit, const std::string& text);
  void click_menu(const std::string& menu, const std::string& item);
  // An R-AXIS image of 200 x 200 pixels with two rings around (100, 100); `shift` moves
  // the rings' angles a little so that two images differ.
  std::string write_ring_image(const std::string& name, double shift = 0);
  // Loads that image through the dialog with its header's geometry, centres it and
  // integrates a rectangle in the direction (index of the direction combo) into a 2theta
  // pattern: with FULL both rings, with RIGHT the first.
  void integrate_ring_image(int direction);

  // The script window's maker; without one the program's list holds a stand-in.
  app::FormMaker script_window_;
  TempDir config_;
  TempDir dir_;
  kgui::ScriptedDialogs dialogs_;
  kgui::Dialogs* previous_ = nullptr;
  std::vector<kgui::TForm*> forms_;
};

// The printer writes PDF to `path` from now on (A4, 600 dpi, full page).
void print_to_pdf(const std::string& path);

}  // namespace kestrin::test
