// The installed parameter window and the one without controls.
#include "ports/parameter_window.h"

namespace kestrin {

namespace {

class NoParameterWindow : public ParameterWindow {
public:
  std::string text(size_t) const override { return {}; }
  void set_text(size_t, std::string_view) override {}
  bool checked(size_t, size_t) const override { return false; }
  void set_checked(size_t, size_t, bool) override {}
  int item_index(size_t) const override { return -1; }
  void set_item_index(size_t, int) override {}
};

NoParameterWindow& no_window() {
  static NoParameterWindow none;
  return none;
}

ParameterWindow*& installed() {
  static ParameterWindow* window = &no_window();
  return window;
}

}  // namespace

ParameterWindow& parameter_window() { return *installed(); }

void install_parameter_window(ParameterWindow* window) {
  installed() = window ? window : &no_window();
}

}  // namespace kestrin
