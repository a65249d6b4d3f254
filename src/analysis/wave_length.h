// The wavelength from a reference sample: the first three peaks of a 2theta pattern matched
// to three built-in d-spacings.
#pragma once

#include <optional>

namespace kestrin {

class Report;

// The three d-spacings (angstrom), matched in this order to the three lowest peaks.
inline constexpr double kReferenceSpacings[3] = {3.1242386057, 2.70567, 1.9131976047};

// The wavelength the peak table of a fresh 2theta pattern shows: each of its first three
// peaks gives lambda = 2 d sin(2theta / 2), each said, and their mean is the result. With
// fewer than three peaks (or no 2theta pattern current), or with three wavelengths of which
// one lies more than 1 % from their mean (the peaks are not the sample's first three
// rings), it says why and gives nothing. The parameters are left as they are.
std::optional<double> calc_wave_length(Report& report);

}  // namespace kestrin
