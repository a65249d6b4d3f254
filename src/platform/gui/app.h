// The application object: the Qt application, the title, the forms it owns in creation
// order (the first is the main form), the event pump for long runs and quitting.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/classes/component.h"

class QApplication;

namespace kestrin::platform {
class WindowMessageTarget;
}

namespace kgui {

class TForm;
class Dialogs;

class TApplication : public TComponent {
public:
  // Creates the Qt application (argc and argv must outlive this object), installs the Qt
  // dialogs, the font substitutions and the C numeric locale.
  TApplication(int& argc, char** argv);
  ~TApplication() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  static TApplication* instance();

  std::string title() const;
  void setTitle(const std::string& title);

  // Creates a form owned by the application; the first one created is the main form.
  template <class F>
  F* createForm() {
    auto* form = new F(this);
    if (!main_form_) main_form_ = form;
    return form;
  }
  TForm* mainForm() const { return main_form_; }
  // The application window's handle, given on first use: it answers the text messages with
  // the title, and WM_CLOSE closes the main form.
  uint32_t handle() const;

  // Shows the main form and runs the event loop until terminate(); returns the exit code.
  int run();
  // Ends the application: the event loop, and any long run that polls terminated().
  // No other window is asked to close, so a window that refuses to close while a run is
  // active (the run then ends) cannot keep the application alive without its main form.
  void terminate();
  // From now on SIGTERM closes the main form, as its close box does (the form
  // saves what it saves at its close and ends the application), at the next event pass.
  void closeMainFormOnSignals();
  bool terminated() const { return terminated_; }

  // Lets queued events run once (the platform's ProcessMessages). Every pass of the
  // application's event loops also delivers the messages posted to Kestrin's windows.
  void processMessages();
  // One pass of a script's message pump: the queued events, or when there are none, the
  // first to arrive within wait_ms. False once the application is ending.
  bool pumpMessages(int wait_ms);
  // Runs events, sleeping while there are none, until pred holds, the application ends, or
  // timeout_ms passes (negative: no limit). Returns pred().
  bool waitUntil(const std::function<bool()>& pred, int timeout_ms = -1);

  // A long run that pumps events; only one at a time, so a handler run by the pump cannot
  // start a second one. Check active() after construction.
  class LongRun {
  public:
    explicit LongRun(TApplication& app);
    ~LongRun();
    LongRun(const LongRun&) = delete;
    LongRun& operator=(const LongRun&) = delete;
    bool active() const { return active_; }

  private:
    TApplication& app_;
    bool active_;
  };
  bool longRunActive() const { return long_run_active_; }

  QApplication& qapp() { return *qapp_; }

protected:
  void notification(TComponent* c, Operation op) override;

private:
  std::unique_ptr<QApplication> qapp_;
  std::unique_ptr<Dialogs> qt_dialogs_;
  TForm* main_form_ = nullptr;
  mutable std::unique_ptr<kestrin::platform::WindowMessageTarget> message_target_;
  bool terminated_ = false;
  bool long_run_active_ = false;
};

}  // namespace kgui
