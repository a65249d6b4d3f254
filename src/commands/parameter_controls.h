// The windows' side of the parameter table: which control shows each row and what it shows
// when the window is made.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/parameter_table.h"
#include "ports/controls.h"

namespace kestrin {

struct ParameterControl {
  ControlName control{};                // the edit, combo box or check box (kChoice: none)
  std::span<const ControlName> radios{};  // kChoice: the radio button of each of the row's values
  std::string_view start_text{};        // kReal, kInteger: the edit's text when the window is made
  int32_t start_value = 0;              // kChoice: the value checked; kIndex: the item; kCheckBox: 1 checked
};

// The controls of a row of the parameter table.
const ParameterControl& control_of(const Parameter& p);
// The row of a control (an edit, combo box, check box or one of its radio buttons), or null.
const Parameter* parameter_of(ControlName control);
// The value a choice row's radio button stands for (the row's first value for another control).
int32_t choice_value_of(ControlName radio);

// What the controls tell of a change: the row of that control is read again at the next
// read_parameters (controls of no row are ignored).
void mark_parameter_changed(ControlName control);

// Writes the start value of every row into the controls.
void show_start_values(Controls& controls);

}  // namespace kestrin
