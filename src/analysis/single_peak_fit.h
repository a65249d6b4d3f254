// The single-peak fit of the ring removal: one peak of the peak table fitted by
// Levenberg-Marquardt on a window of the current pattern given by two point indices,
// without the narrowing of the full driver.
#pragma once

#include <cstdint>

namespace kestrin {

// Clears both fit tables, then fits peak `peak` (0 for
// the first) of the peak table over the points k - h .. k + h of the pixel or 2theta
// pattern, k its centre point and h = Round((last - first) / 2), clipped to the pattern.
// Start values: amplitude max - min of the window, base its minimum, no slope, the table
// position (8 decimals), half width a sixth of the window (times the step for 2theta);
// they go into the initial record, the window's ends into both records, FitType into the
// fitted one. With more than 4 points the profile of FitType is fitted on all five
// parameters: a converged fit sets the fitted flag and counts; otherwise the record holds
// where the fit stopped. Without a pixel or 2theta pattern, or for a peak the table does not
// hold, nothing but the clearing happens. Returns whether the record of `peak` is fitted.
// The command around it records "Kestrin.PeakFitting();" and shows the fit results.
bool single_peak_fit(int32_t peak, int32_t first, int32_t last);

}  // namespace kestrin
