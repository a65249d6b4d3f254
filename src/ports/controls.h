// The program's window controls as image and analysis code sees them: edit texts, check
// boxes, radio buttons and combo boxes, addressed by control name ("edtCameraLength",
// "chkLo", "rbtnSector", "cmbDirection"). Controls of windows other than the main window
// are addressed as "<form>.<control>", e.g. "frmNaxGraph.edtYBegin".
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace kestrin {

class Controls {
public:
  virtual ~Controls() = default;
  virtual std::string text(std::string_view name) const = 0;
  virtual void set_text(std::string_view name, std::string_view text) = 0;
  virtual bool checked(std::string_view name) const = 0;
  // In the program, checking a radio button or check box in code runs its click handler.
  virtual void set_checked(std::string_view name, bool on) = 0;
  virtual int item_index(std::string_view name) const = 0;
  // Setting a combo box's index in code runs no handler.
  virtual void set_item_index(std::string_view name, int index) = 0;
};

// Controls held as plain values, for tests and the harness. Radio buttons that share a
// group are unchecked when one of them is checked.
class HeadlessControls : public Controls {
public:
  HeadlessControls();
  std::string text(std::string_view name) const override;
  void set_text(std::string_view name, std::string_view text) override;
  bool checked(std::string_view name) const override;
  void set_checked(std::string_view name, bool on) override;
  int item_index(std::string_view name) const override;
  void set_item_index(std::string_view name, int index) override;
  // Declares a group of radio buttons (a checked one unchecks the others).
  void add_radio_group(std::initializer_list<const char*> names);
  // Restores the main window's start values.
  void reset_to_start_values();

private:
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::string, bool, std::less<>> checks_;
  std::map<std::string, int, std::less<>> indexes_;
  std::map<std::string, int, std::less<>> radio_group_;
  int groups_ = 0;
};

}  // namespace kestrin
