// The wavelength from a reference sample: the first three peaks of a 2theta pattern matched
// to three built-in d-spacings.
#pragma once

namespace kestrin {

// The three d-spacings (angstrom), matched in this order to the three lowest peaks.
inline constexpr double kReferenceSpacings[3] = {3.1242386057, 2.70567, 1.9131976047};

// Reads the parameters, makes the 2theta pattern of the current settings and searches its
// peaks; each of the first three peaks gives lambda = 2 d sin(2theta / 2), and their mean is
// logged and written into edtLambda (the parameter itself changes at the next reading).
// Without an image, with fewer than three peaks, or with three wavelengths of which one lies
// more than 1 % from their mean (the peaks are not the sample's first three rings), it logs
// why and leaves edtLambda alone.
void calc_wave_length();

}  // namespace kestrin
