// Spreading images row by row: in every row, the part that holds data (from the left edge
// to a per-row limit) is stretched over the whole row width. The limits are measured on one
// image and kept in a reference file (one decimal line a row, top row first), which is then
// applied to a list of images, each written as a new R-AXIS file with the suffix "_spr".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/report.h"
#include "image/formats/image_data.h"

namespace kestrin {

constexpr double kSpreadThreshold = 25.0;  // a pixel above this intensity holds data
constexpr int32_t kSpreadMedianRows = 9;

// Each row's limit: the last column whose intensity is above the threshold (W - 1 for a row
// without one), capped at Trunc(W / 2.0 - 1.0), so every row is stretched at least twice.
std::vector<int32_t> measure_spread_limits(const ImageData& image);
// The median of nine rows around each row from 4 to H - 5; rows 0..3 take row 4's and rows
// H - 4..H - 1 row H - 5's. An image of fewer than nine rows keeps its limits.
std::vector<int32_t> median_spread_limits(const std::vector<int32_t>& limits);

// A reference file's limits for an image of `height` rows and `width` columns: the first
// `height` lines, each a decimal integer from 0 to width - 1. `error` says what is wrong
// ("reference file too short.", a conversion error, a limit out of range); limits then
// holds what was read before it.
struct SpreadReference {
  std::vector<int32_t> limits;
  std::string error;
};
SpreadReference parse_spread_reference(std::string_view text, int32_t height, int32_t width);

// One row stretched: source pixels 0..last of `in` cover the output pixels 0..width - 1,
// each of them s = width / (last + 1) output pixels wide, and every output pixel receives
// each source pixel's intensity in proportion to their overlap (shares past the last
// output pixel are dropped). `out` holds `width` values.
void spread_row(const double* in, int32_t last, int32_t width, double* out);
// An output value as an R-AXIS code: Trunc(v) up to 32767 (0 below 0); above, Trunc(v /
// ratio) at most 32767, with bit 15 set.
uint16_t spread_code(double value, float ratio);
// Every row of `image` stretched by its limit, through its code tables, into new codes.
void spread_image(ImageData& image, const std::vector<int32_t>& limits);

// The lines of the reference file for the image `file`: its measured and smoothed limits,
// one decimal line a row. False when the file does not load (the reader's lines and one
// naming make_spread_reference in `report`).
bool spread_reference_lines(const std::string& file, std::vector<std::string>& lines, Report& report);

// "画像伸長", a long run: the reference file applied to every file of the list, each written
// to <folder><base>_spr<ext> as an R-AXIS file, then the windows handle their events once;
// the run stops after the current file when the program ends. The reference is read for the
// first file that loads; one that does not fit it is refused with its line and nothing is
// written. A file that does not load, or that is taller than the reference, says
// " spread_images() : <name> skipped.". The current image stays as it is. Every line goes
// into `report`.
void spread_images(const std::string& reference, const std::vector<std::string>& files, Report& report);

}  // namespace kestrin
