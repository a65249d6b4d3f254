// What the model knows of its parameters beyond the table: the sector count a division
// angle gives and its limit, the header locks, and the values the script getters return.
// Moving the values between the model and the windows' controls is the command layer's
// (commands/parameter_io.h).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "model/parameter_table.h"

namespace kestrin {

// Largest number of free sectors an integration accepts; smaller division angles are
// refused as invalid (more sectors would need gigabytes of working memory).
constexpr int32_t kMaxSectorCount = 3600;

// The sector count of a division angle: Ceil(360 / angle).
double sector_count_of(double division_angle);
// The line that follows "Input division angle error!" for an angle below the limit.
std::string smallest_division_angle_line();

// True when the row holding `field` has a header lock and that lock is checked: an image
// header then leaves the user's value in place.
bool header_locked(double IntegrationParams::*field);
// A check box row of the table (a header lock): whether it is checked, and checking it.
bool lock_checked(const Parameter& lock);
void set_header_lock(const Parameter& lock, bool checked);

// A script getter's result: the field as a double (kReal) or an integer.
using ParameterValue = std::variant<double, int32_t>;
ParameterValue parameter_value(const Parameter& p);

}  // namespace kestrin
