// The peak-fitting drivers: every peak of the peak table fitted on a window of the current
// pixel or 2theta pattern, by Levenberg-Marquardt (PeakFitting) or by the Poisson-likelihood
// fit CFDQR2 (peak_fitting_cfdqr2, refit_peaks), into the fit tables; and the two accessors
// of a fitted record.
#pragma once

#include <cstdint>

namespace kestrin {

// Fits every peak by Levenberg-Marquardt with the FitType profile on a window narrowed to
// the peak (narrow_fit_window over the points k +- 200, clipped to the pattern). Needs a
// pixel or 2theta pattern, else does nothing and returns false. Clears both tables, then
// per peak stores the start values and window in the initial record and the result in the
// fitted one (a fit that did not converge leaves where it stopped, unflagged). The command
// that runs it records "Kestrin.PeakFitting();" and shows the results.
bool PeakFitting();

// The same task with CFDQR2 on the valley-bounded window of fit_window, the start half width
// from the half-maximum crossings (HwhmPixel or HwhmTheta when they are not found); FitType 0
// fits the Lorentzian, 1 the Gaussian. A fit that does not converge leaves its fitted record
// unwritten and unflagged. The script method PeakFitting runs this one.
bool peak_fitting_cfdqr2();

// Fits every peak again with the CFDQR2 Gaussian on four parameters (no slope) from its
// initial record, writing the result, flagged when it converged, into the fitted record; the
// fit count becomes the number of converged fits. False without a pixel or 2theta pattern.
bool refit_peaks();

// Record i's profile at its position (amplitude + base + slope * position), 0 when the record
// is not fitted or i names none.
double fit_peak_height(int32_t i);
// Twice record i's half width, 0 when the record is not fitted or i names none.
double fit_peak_fwhm(int32_t i);

// The window fit both Levenberg-Marquardt drivers share: peak j of the table over the pattern
// points first .. last (within the pattern), its start values into the initial record, the
// result into the fitted one. True when the fit converged.
bool fit_peak_window(int32_t j, int32_t first, int32_t last);

}  // namespace kestrin
