// Copies the main window's parameter edits into integration_params, and the checks of the
// sector and division angles that guard the integration dispatchers.
#pragma once

#include <cstdint>

namespace kestrin {

// Largest number of free sectors an integration accepts; smaller division angles are
// refused as invalid (more sectors would need gigabytes of working memory).
constexpr int32_t kMaxSectorCount = 3600;

// Reads the edits into integration_params in the fixed order of its fields. A text that is
// not a number throws ConversionError; the fields read before it keep their new values,
// the bad one and the later ones their old values. A division angle of 0 throws after
// every other field is stored. Rewrites the step edit as "%3.6f" of the step. Returns 0.
int32_t read_parameters();

// 0 when the sector start and end edits form a valid pair, 1 otherwise (also for a text
// that is not a number).
int32_t check_sector_angles();

// 0 when the division angle edit holds an angle in (0, 360] that gives at most
// kMaxSectorCount sectors, 1 otherwise.
int32_t check_division_angle();

// The sector count of a division angle: Ceil(360 / angle).
double sector_count_of(double division_angle);

}  // namespace kestrin
