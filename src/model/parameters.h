// Reading the parameters from the windows' controls into integration_params and showing
// them back, the checks of the sector and division angles, and the script getters and
// setters: every one walks the parameter table, and reaches the controls through the
// parameter window port (ports/parameter_window.h) only.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "model/parameter_table.h"

namespace kestrin {

// Largest number of free sectors an integration accepts; smaller division angles are
// refused as invalid (more sectors would need gigabytes of working memory).
constexpr int32_t kMaxSectorCount = 3600;

// Reads the controls into integration_params in the table's read order. A text that is not
// a number throws ConversionError; the fields read before it keep their new values, the
// bad one and the later ones their old values. The rows' rules apply (see ParameterRule);
// image_height is the current image's, for the rows shown flipped. Returns 0.
// Only the rows that could read otherwise than last time are converted (see
// ParameterReads); the result is the same as converting every row, and a text the
// parameter code wrote itself is taken without asking the control.
int32_t read_parameters(int32_t image_height);
// The same for one row alone.
void read_parameter(const Parameter& p, int32_t image_height);

// What the controls tell of a change: the row whose control (an edit, combo box, check box
// or one of a choice's radio buttons) changed is read again at the next read_parameters.
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
// The line that follows "Input division angle error!" for such an angle.
std::string smallest_division_angle_line();

// The sector count of a division angle: Ceil(360 / angle).
double sector_count_of(double division_angle);

// Writes the parameters a parameter file or an image load sets into their edits, each in
// the row's shown format.
void show_parameters_in_edits();
// Writes `text` into the control of the row that holds `field`; the next read_parameters
// converts that text without asking the control.
void show_parameter_text(double IntegrationParams::*field, const std::string& text);
void show_parameter_text(int32_t IntegrationParams::*field, const std::string& text);
// True when the row holding `field` has a header lock and that check box is checked: an
// image header then leaves the user's value in place.
bool header_locked(double IntegrationParams::*field);

// The text a script setter writes into a real parameter's edit: "%8.4f" when that text
// reads back as the same number, else the shortest general-format text that does, so that
// the next reading of the edits keeps the value the script set.
std::string parameter_edit_text(double value);

// A script getter's result: the field as a double (kReal) or an integer.
using ParameterValue = std::variant<double, int32_t>;
ParameterValue parameter_value(const Parameter& p);
// A script setter: stores the value in the row's field and shows it in its control (reals
// with parameter_edit_text, integers with "%d", a choice checks the radio of the value,
// an index sets the combo's item, a check box is set by 0 or 1 and left by other values).
// Nothing else is read or redrawn.
void set_real_parameter(const Parameter& p, double value);
void set_integer_parameter(const Parameter& p, int32_t value);

}  // namespace kestrin
