// Reading spot lists: the spot-list CSV files of the spot windows (with a header row or
// by column position) and the reference lists of the oscillation batch.
#pragma once

#include <cstdint>
#include <string>

namespace kestrin {

// Most spots one file gives; the lines after them are not read.
constexpr int32_t kMaxLoadedSpots = 5000;

// Empties the spot list, then reads `file_name` into it. A first line that is a header is
// matched against the known column names (match_spot_columns): without an x or intensity
// column the file is refused (SpotFileKind -1, empty list); kind 2 when the analysed or the
// hkl columns are there, else 0. A first line of data gives the columns by position: number,
// x, y, intensity, and with 15 to 17 cells the analysis columns too (kind 1). Data lines are
// comma text; in kind 2 a line of exactly 9 cells ends the list, whose y then comes from
// "spotz(pixel)". Blank lines are skipped. A cell that is not a number raises its conversion
// error (the spots read before it stay); a file that cannot be read raises EInOutError.
void load_spot_csv(const std::string& file_name);

// Empties the reference list of the oscillation batch, then reads one reference per line
// (no header, at most kMaxLoadedSpots): x and y from cells 1 and 2, the intensity from cell
// 3 by StrToInt. Blank lines are skipped; a cell that is not a number raises its conversion
// error (the references read before it stay); a file that cannot be read raises EInOutError.
void load_spot_reference(const std::string& file_name);

}  // namespace kestrin
