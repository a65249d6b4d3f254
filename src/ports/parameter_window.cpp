// The installed parameter window and the one without controls.
#include "ports/parameter_window.h"

namespace kestrin {

namespace {

class NoParameterWindow : public ParameterWindow {
public:
  void read_row(size_t, int32_t) override {}
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

void install_parameter_window(ParameterWindow* window) { installed() = window ? window : &no_window(); }

}  // namespace kestrin
