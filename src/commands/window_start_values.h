// The start values of window controls that Qt-free code reads, outside the parameter
// table: each built window makes its controls with them, and the headless controls start
// from them, so code reads the same values with and without windows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ports/controls.h"

namespace kestrin {

struct ControlStart {
  enum Kind { kText, kChecked, kItem };
  ControlName control;
  Kind kind;
  std::string_view text;  // kText
  int32_t value = 0;      // kChecked: 1 checked; kItem: the item index
};

// The image window's edits, radio buttons, check boxes and combo boxes.
std::span<const ControlStart> image_window_start_values();

// Groups of radio buttons of those windows (checking one unchecks the others).
std::span<const std::span<const ControlName>> window_radio_groups();

// Writes every start value above into the controls.
void show_window_start_values(Controls& controls);

}  // namespace kestrin
