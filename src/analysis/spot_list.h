// The spot list: the known column names of spot-list CSV files and their header matcher,
// the duplicate filters, the deletions, the CSV writer and the label-proximity test. The
// searches (spot_search.h) fill the list; the spot windows edit and save it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/state.h"

namespace kestrin {

// The 64 known column names, in table order ("no", "spotx(pixel)", ... "file_", "file_");
// the 65th entry stays empty and never matches.
void init_spot_columns();
// Every entry: not found, index -1.
void reset_spot_columns();
// Fills the names and resets the table, then for every cell (in column order) and every entry whose lower-case
// name occurs in the lower-case cell, marks the entry found at that cell; a later cell
// overwrites an earlier one.
void match_spot_columns(const std::vector<std::string>& cells);

// The flags (1 deleted) of one duplicate pass over points in their order: each point that is
// not deleted deletes every later point within `distance` on both axes (|dx| <= distance
// and |dy| <= distance). A deleted point deletes nothing, so the pass is not transitive.
std::vector<uint8_t> duplicate_pass(std::span<const double> x, std::span<const double> y, double distance);

// Sets the spot count: the three arrays take n entries, the records at least n.
void set_spot_count(SpotList& list, int32_t n);
// Keeps the spots whose flag is 0, in their order.
void keep_spots(SpotList& list, const std::vector<uint8_t>& deleted);

// The duplicate filter over the whole list; the batch markers stay.
void remove_near_spots(double distance);
// Deletes spots First..Last (0-based, inclusive); a range that is empty or leaves the list
// deletes nothing. Deleting resets SpotBatchStart and FocusedSpot to 0.
void delete_spot_range(int32_t first, int32_t last);
// Deletes every spot with X1 <= x <= X2 and Y1 <= y <= Y2; resets the batch markers.
void delete_spots_in_area(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Of every pair closer than 2.0 pixels on both axes the earlier spot goes; resets the
// batch markers.
void delete_same_spots();

// The text of a spot-list CSV file: the header "no,spotx(pixel),spoty(pixel),spotintensity",
// then "i,x,y,intensity" per spot (i from 1, reals in the 15-digit general format), CR LF.
std::string spot_list_text(const SpotList& list);
// Writes the spot list to `name` (beside it first, renamed when complete). A file that
// cannot be written raises EInOutError.
void write_spot_list(const std::string& name);

// 1 when the label position of one of the first SpotCount records lies strictly within
// (dx, dy) of (x, y), else 0.
int32_t spot_exists_near(int32_t x, int32_t y, int32_t dx, int32_t dy);

}  // namespace kestrin
