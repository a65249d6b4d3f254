// What the peak fitting window does without its widgets: the texts of its grid from the two
// fit tables, and Retry, which reads the edited initial values back before fitting again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrin {

constexpr int kFitGridColumns = 11;

// The grid's rows: row 0 the headings ("pixel" or "2theta" by the current pattern), row i + 1
// peak i of the table: its number with " *" (converged) or " xxx", the fitted values, then
// the initial ones; widths are twice the half widths.
std::vector<std::vector<std::string>> fit_result_rows();

// Retry: for each peak, the initial record takes the position (column 6, rounded to 8
// decimals), the amplitude (7), the base (8) and half the width (9) of its row; then the
// peaks are fitted again. A cell that is not a number throws the conversion error there:
// what was read before it keeps its new value and nothing is fitted. Peaks without a row
// (the table grew since the grid was filled) keep their initial values.
void refit_from_grid(const std::function<std::string(int col, int row)>& cell, int grid_rows);

// The fitting drivers' ending: refills the fitting window and, while WindowShow is set,
// redraws the graph and shows the fitting window.
void show_fit_results();

// The fits as the buttons, the script and the spot and ring commands run them: with a
// pixel or 2theta pattern, records "Kestrin.PeakFitting();", fits and shows the results.
void peak_fitting_and_show();         // Levenberg-Marquardt (PeakFitting)
void peak_fitting_cfdqr2_and_show();  // CFDQR2 (the script's PeakFitting)
// refit_peaks, then the fitting window refilled (nothing without such a pattern).
void refit_peaks_and_show();
// single_peak_fit, recorded and shown whatever pattern is current; whether it converged.
bool single_peak_fit_and_show(int32_t peak, int32_t first, int32_t last);
// After a routine that ran `runs` single-peak fits itself: their macro lines, and the
// results shown once.
void record_and_show_fits(int32_t runs);

}  // namespace kestrin
