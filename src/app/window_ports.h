// The program's implementation of the ports: controls by name over the real widgets, the
// window ports over the forms, prompts over message boxes, the event pump over the
// application, and the file dialogs over the main window's two shared dialog components.
#pragma once

#include "ports/ports.h"

namespace kgui {
class TControl;
class TOpenDialog;
}  // namespace kgui

namespace kestrin::app {

// Controls of the built windows. Controls of the windows that are not built yet (the
// placeholder forms) are headless values; a name that a built window does not have is a
// programming error (std::logic_error).
class WindowControls : public Controls {
public:
  std::string text(ControlName name) const override;
  void set_text(ControlName name, std::string_view text) override;
  bool checked(ControlName name) const override;
  void set_checked(ControlName name, bool on) override;
  int item_index(ControlName name) const override;
  void set_item_index(ControlName name, int index) override;
  // The control of that name; null for a window not built yet.
  static kgui::TControl* find(ControlName name);
};

class WindowEventPump : public EventPump {
public:
  void process_messages() override;
  bool terminated() const override;
  void wait_until(const std::function<bool()>& done) override;
};

class WindowPrompts : public Prompts {
public:
  bool confirm(std::string_view question) override;
  YesNo ask_yes_no(std::string_view question) override;
  void message(std::string_view text) override;
};

// The main window's opdFileSelect and svdFileSelect, and the tool windows' own dialogs,
// found by name at each use.
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
  // A window's own dialog component, found by its form and name.
  FileDialogChoice run_window_dialog(ControlName dialog, const FileDialogSetup& setup) override;
  bool select_folder(std::string_view caption, std::string& folder) override;
};

// The ports over the windows, one process-wide set.
Ports window_ports();
// Wires the program to the ports above (commands/wiring.h); the log window subscribes to
// the log when it is created.
void install_window_ports();
// Back to the headless ports (tests).
void remove_window_ports();

}  // namespace kestrin::app
