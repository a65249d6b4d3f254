// The program's window controls as Qt-free code sees them: edit texts, check boxes, radio
// buttons and combo boxes, addressed by typed name. Every window declares the names of its
// controls once, in its header under ports/names/ (frmMain::edtCameraLength,
// frmNaxGraph::edtYBegin); no other code spells a control name.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace kestrin {

// One control: the name of its form and its own name on that form.
struct ControlName {
  std::string_view form;
  std::string_view control;
  friend constexpr bool operator==(const ControlName&, const ControlName&) = default;
};

// A control and a text it holds, such as the text an edit starts with.
struct ControlText {
  ControlName name;
  std::string_view text;
};

// "form.control", for messages.
std::string to_string(const ControlName& name);
std::ostream& operator<<(std::ostream& out, const ControlName& name);

class Controls {
public:
  virtual ~Controls() = default;
  virtual std::string text(ControlName name) const = 0;
  virtual void set_text(ControlName name, std::string_view text) = 0;
  virtual bool checked(ControlName name) const = 0;
  // In the program, checking a radio button or check box in code runs its click handler.
  virtual void set_checked(ControlName name, bool on) = 0;
  virtual int item_index(ControlName name) const = 0;
  // Setting a combo box's index in code runs no handler.
  virtual void set_item_index(ControlName name, int index) = 0;

  // Who hears that a control's text, check or index changed, by code or by the user, before
  // any click handler the change runs: the command layer keeps which parameters it has to read again.
  using ChangeListener = std::function<void(ControlName)>;
  void set_change_listener(ChangeListener listener) { listener_ = std::move(listener); }
  // Tells the listener that `name` changed.
  void changed(ControlName name) const {
    if (listener_) listener_(name);
  }

private:
  ChangeListener listener_;
};

// Controls held as plain values, for tests, the harness and the windows that are not built
// yet. Radio buttons that share a group are unchecked when one of them is checked. A
// control never set reads as an empty text, unchecked and index -1. Setting a control in
// code runs no click handler (the commands run a choice's command themselves).
class HeadlessControls : public Controls {
public:
  std::string text(ControlName name) const override;
  void set_text(ControlName name, std::string_view text) override;
  bool checked(ControlName name) const override;
  void set_checked(ControlName name, bool on) override;
  int item_index(ControlName name) const override;
  void set_item_index(ControlName name, int index) override;
  // Declares a group of radio buttons (a checked one unchecks the others).
  void add_radio_group(std::span<const ControlName> names);
  // How many times code read or wrote a control (text, check or index) since the count was
  // last reset: what an operation costs in traffic with the windows.
  struct Traffic {
    long reads = 0, writes = 0;
    long total() const { return reads + writes; }
  };
  Traffic traffic() const { return traffic_; }
  void reset_traffic() { traffic_ = {}; }

private:
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::string, bool, std::less<>> checks_;
  std::map<std::string, int, std::less<>> indexes_;
  std::map<std::string, int, std::less<>> radio_group_;
  int groups_ = 0;
  mutable Traffic traffic_;
};

}  // namespace kestrin
