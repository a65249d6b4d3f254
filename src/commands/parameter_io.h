// Moving the parameters between the model and the controls that show them: reading the
// main and graph windows' edits, radios and combo box into integration_params (only the
// rows that could read otherwise than last time), the checks of the sector and division
// angle edits, showing the model in the edits, the script setters, and the header lock
// boxes. The one place that reads or writes a parameter's control.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/parameters.h"

namespace kestrin {

// What read_parameters last took from the controls of the parameter table, so that it
// converts only what changed since: bit i stands for row i of the table. A row is read
// again when its control changed (the controls tell, by code or by the user), when its
// field was changed in another way, or, for a row shown flipped, when the image height or
// the VerticalReverse option changed. All rows start unread.
struct ParameterReads {
  static constexpr size_t kRows = 64;
  uint64_t changed = ~uint64_t(0);
  // Rows whose control holds text_of[i], as the parameter code last wrote or read it.
  uint64_t known = 0;
  std::array<std::string, kRows> text_of;
  std::array<double, kRows> taken{};  // the field's value when the row was last read
  // For a choice: the value of its checked radio button when it was last read, -1 none.
  std::array<int32_t, kRows> checked_value{};
  int32_t image_height = -1;
  uint8_t reversed = 0;
};

// The one instance, which belongs with the controls: reset_parameter_reads, which makes
// every row unread, goes with fresh controls (commands/headless_ports.h).
ParameterReads& parameter_reads();
void reset_parameter_reads();

// Reads the controls into integration_params in the table's read order. A text that is not
// a number throws ConversionError; the fields read before it keep their new values, the
// bad one and the later ones their old values. The rows' rules apply (see ParameterRule);
// image_height is the current image's, for the rows shown flipped. Returns 0.
// Only the rows that could read otherwise than last time are converted (see
// ParameterReads); the result is the same as converting every row, and a text this file
// wrote itself is taken without asking the control.
int32_t read_parameters(int32_t image_height);
// The same for one row alone (the peak list load reads the wave length so).
void read_parameter(const Parameter& p, int32_t image_height);

// What the controls tell of a change: the row whose control (an edit, combo box, check box
// or one of a choice's radio buttons) changed is read again at the next read_parameters;
// a header lock's box is taken into the model at once.
void mark_row_changed(const Parameter& p);

// The value of the checked radio button of a choice row as the radios show it, -1 when none
// is checked; the radios are only asked when they changed since the row was last read.
int32_t checked_choice(const Parameter& p);

// 0 when the sector start and end edits form a valid pair, 1 otherwise (also for a text
// that is not a number).
int32_t check_sector_angles();

// 0 when the division angle edit holds an angle in (0, 360] that gives at most
// kMaxSectorCount sectors, 1 otherwise.
int32_t check_division_angle();
// True when the division angle edit holds an angle in (0, 360] that gives more sectors
// than kMaxSectorCount: the refusal then says how small the angle may be.
bool division_angle_below_limit();

// Writes the parameters a parameter file or an image load sets into their edits, each in
// the row's shown format.
void show_parameters_in_edits();
// Writes `text` into the control of the row that holds `field`; the next read_parameters
// converts that text without asking the control.
void show_parameter_text(double IntegrationParams::*field, const std::string& text);
void show_parameter_text(int32_t IntegrationParams::*field, const std::string& text);

// The text a script setter writes into a real parameter's edit: "%8.4f" when that text
// reads back as the same number, else the shortest general-format text that does, so that
// the next reading of the edits keeps the value the script set.
std::string parameter_edit_text(double value);

// A script setter: stores the value in the row's field and shows it in its control (reals
// with parameter_edit_text, integers with "%d", a choice checks the radio of the value,
// an index sets the combo's item, a header lock is set by 0 or 1 and left by other values).
// Nothing else is read or redrawn.
void set_real_parameter(const Parameter& p, double value);
void set_integer_parameter(const Parameter& p, int32_t value);

// Takes the header lock boxes into the model, as the program does once at its start.
void take_header_locks();

}  // namespace kestrin
