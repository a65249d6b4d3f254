// Ring positions from one-dimensional profiles, for tests that compare patterns with the
// true rings or with a peer program.
#pragma once

#include <vector>

namespace kestrin::test {

// The position, in index units, of the peak near index `guess`: the largest of
// y[guess - window .. guess + window] and a Gaussian (a parabola through the logarithms)
// over it and its two neighbours. NaN when the peak has no positive neighbours.
double gaussian_peak_index(const std::vector<double>& y, double guess, int window = 5);

}  // namespace kestrin::test
