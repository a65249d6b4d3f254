// TForm: a top-level window whose Width and Height are outer sizes, with an optional main
// menu above its client area and the platform's close sequence (OnCloseQuery, OnClose).
#pragma once

#include <functional>
#include <optional>

#include "platform/gui/control.h"

class QEventLoop;
class QMenuBar;

namespace kgui {

class TMainMenu;

using TCloseEvent = std::function<void(TComponent* sender, int& action)>;  // TCloseAction
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& can_close)>;
// No sender: the help command (HELP_CONTEXT), its data (the help topic) and whether the
// help system should still be called; true when the handler took the request.
using THelpEvent = std::function<bool(int command, int data, bool& call_help)>;
constexpr int HELP_CONTEXT = 1;

// The frame a form's outer size adds to its client size: fixed, since window managers
// differ and offscreen windows have none (borders 4 pixels, caption 19).
constexpr int kFormFrameWidth = 8;
constexpr int kFormFrameHeight = 27;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  QWidget* container() const override { return client_; }
  int clientWidth() const override;
  int clientHeight() const override;
  // While a description is read the client size waits for loaded(), when the menu that
  // takes part of the height is known.
  void setClientWidth(int w);
  void setClientHeight(int h);
  void loaded() override;
  // The controls owned by root, then (for the root itself) its other components that
  // lie in no parent: menus, timers, dialogs, actions.
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override;

  void setVisible(bool visible) override;
  // Show brings the window to the front and activates it.
  void showForm();
  // Runs the close sequence; the main form's closing ends the application.
  void close();
  TMainMenu* menu() const { return menu_; }
  void setMenu(TMainMenu* menu);
  // The windowed control that has (or gets, once the form is active) the focus; nil when
  // none. Setting it moves the focus there.
  TWinControl* activeControl() const;
  void setActiveControl(TWinControl* control);

  // Shows the form modal to the application and runs events until its modal result is
  // set (a button with a ModalResult, the close box, Esc on a Cancel button); then hides
  // it and returns the result.
  int showModal();
  int modalResult() const { return modal_result_; }
  // Prints the form's image on one page of the application's printer, at the printer's
  // resolution for the screen's 96 pixels an inch (smaller when the page is narrower).
  void print();
  // A result other than mrNone ends a running showModal.
  void setModalResult(int result);

  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  // OnCreate runs when the form's description has been read (doCreate); OnDestroy when the
  // form is freed, before its controls go.
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  THelpEvent OnHelp;

  void doCreate();

  // WM_CLOSE closes the form, as close() does; a form never shown runs its close
  // sequence directly.
  intptr_t perform(unsigned msg, uintptr_t wparam, intptr_t lparam) override;
  // Asks for help on a topic: OnHelp when there is one; true when it took the request.
  bool requestHelp(int context);
  // F1 over a control: the topic of the control or of its nearest parent that has one.
  bool helpFor(TControl* control);

  // For the window widget: the user asked to close; returns whether to accept.
  bool closeRequested();
  // For the window widget: the user resized or moved the window.
  void windowGeometryChanged();

protected:
  void applyBounds() override;
  void applyCaption() override;
  void applyColor() override;
  void applyConstraints() override;
  QWidget* mouseWidget() const override { return client_; }
  bool handleEvent(QObject* target, QEvent* event) override;
  void notification(TComponent* c, Operation op) override;

private:
  int menuHeight() const;
  void layoutClient();
  // The key handling of dialog forms: Enter clicks the default button and Esc the cancel
  // button, when the focused control left the key alone (a memo takes Enter itself).
  bool dialogKey(QEvent* event);
  void placeOnFirstShow();
  bool placed_ = false;

  QWidget* client_ = nullptr;
  QMenuBar* menu_bar_ = nullptr;
  TMainMenu* menu_ = nullptr;
  int modal_result_ = 0;
  QEventLoop* modal_loop_ = nullptr;  // set while showModal runs
  std::optional<int> pending_client_w_, pending_client_h_;
};

// The form a control lies on (the control itself for a form); nil for a control without one.
TForm* parentForm(TControl* control);

}  // namespace kgui
