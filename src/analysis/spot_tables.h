// The tool windows' spot tables as strings: the spot window's list, the spot analysis
// window's 17-column list and its CSV file, and the oscillation window's reference list.
// The windows' grids show these tables; the writers and the harness read them.
#pragma once

#include <cstdint>
#include <string>

#include "model/state.h"

namespace kestrin {

// The spot window's list: "Spot No.", "x(pixel)", "y(pixel)", "Intensity" (and the hkl
// column when the last loaded file had "hcalc", "kcalc" and "lcalc"); one row per spot,
// numbered from 1 with "*" on the spots of the last added batch, values "%8.2f".
StringGrid spot_list_grid();
// Whether the last loaded spot file had "hcalc", "kcalc" and "lcalc" (the spots' h, k, l).
bool has_hkl_columns();

// Index of the analysis columns written after a run.
enum SpotAnalysisColumn : int32_t {
  kAnaBg = 4, kAnaAmp = 5, kAnaNet = 6, kAnaDistance = 7, kAnaFit = 8, kAnaRef = 9, kAnaFwhm = 10, kAnaIni = 11,
  kAnaAmplitude = 12, kAnaBand = 13, kAnaFitType = 14, kAnaShikii = 15, kAnaStartDistance = 16,
  kAnaColumnCount = 17
};
// The spot analysis list from SpotRecords: 17 columns with their headings and formats.
StringGrid spot_analysis_grid();
// The threshold in percent above 1 that B.G. Calculate shows: Round((t - 1) / 0.01).
int32_t threshold_percent(double threshold);

// The analysis list's CSV text: the headings joined by ",", then per spot its number, x, y
// and intensity (general format) and the grid's cells of columns 4 to 16; CR LF.
std::string spot_analysis_text(const SpotList& list, const StringGrid& grid);
// Writes that text for the spot list and state().spot_analysis_grid to `name` (beside it
// first, renamed when complete). A file that cannot be written raises EInOutError.
void write_spot_analysis_list(const std::string& name);

// The oscillation window's reference list: 10 columns, 8 headings, x and y "%7.3f", the
// intensity "%d" and "0" where the batch fills in later.
StringGrid spot_reference_grid();

}  // namespace kestrin
