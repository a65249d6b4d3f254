// The one way left from below the command layer to a parameter's control: converting a
// row's control into its field (model/parameters.h's read_parameter, which load_peak_proc
// uses for the wave length). The command layer, which knows the controls, installs it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrin {

class ParameterWindow {
public:
  virtual ~ParameterWindow() = default;
  // Converts the control of the table's row `row` into its field, as read_parameters does.
  virtual void read_row(size_t row, int32_t image_height) = 0;
};

// The installed port; until one is installed, a window without controls, whose reads
// change nothing.
ParameterWindow& parameter_window();
// Installs a port (null: back to the window without controls). The caller keeps it alive.
void install_parameter_window(ParameterWindow* window);

}  // namespace kestrin
