// The program's implementation of the ports: controls by name over the real widgets,
// views and prompts over the windows and message boxes, and the file dialogs over the
// main window's two shared dialog components.
#pragma once

#include "ports/controls.h"
#include "ports/file_dialogs.h"
#include "ports/views.h"

namespace kgui {
class TControl;
class TForm;
class TOpenDialog;
}  // namespace kgui

namespace kestrin::app {

// The form with that name ("frmMain", "frmLog") among the application's forms, or null.
kgui::TForm* find_form(std::string_view name);

// Controls addressed as "edtCameraLength" (main window) or "frmNaxGraph.edtYBegin".
// Names that no window has yet fall back to headless values with the same start texts.
class WindowControls : public Controls {
public:
  std::string text(std::string_view name) const override;
  void set_text(std::string_view name, std::string_view text) override;
  bool checked(std::string_view name) const override;
  void set_checked(std::string_view name, bool on) override;
  int item_index(std::string_view name) const override;
  void set_item_index(std::string_view name, int index) override;
  // The control of that name, or null.
  static kgui::TControl* find(std::string_view name);
};

class WindowViews : public Views {
public:
  void show_form(std::string_view name) override;
  void process_messages() override;
};

class WindowPrompts : public Prompts {
public:
  bool confirm(std::string_view question) override;
  void message(std::string_view text) override;
};

// The main window's opdFileSelect and svdFileSelect, found by name at each use.
class WindowFileDialogs : public FileDialogs {
public:
  std::string run_open(const FileDialogSetup& setup) override;
  std::string run_save(const FileDialogSetup& setup) override;
  int open_filter_index() const override;
  int save_filter_index() const override;
  void set_open_filter_index(int index) override;
  void set_save_filter_index(int index) override;
  FileDialogSetup open_state() const override;
  FileDialogSetup save_state() const override;
};

// Installs the ports above and the parameter reader; the log window subscribes to the
// log when it is created.
void install_window_ports();
// Back to the headless ports (tests).
void remove_window_ports();

}  // namespace kestrin::app
