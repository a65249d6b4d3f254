// Making a background image from the current one: the background store prepared as a blank
// copy of the current image's frame, the rank filter run in blocks of rows with progress,
// pause and stop, the median and average smoothings of code arrays, and the check of the
// filter-size edits.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace kestrin {

class Report;

// Smoothing modes of the filter and of the subtraction.
enum SmoothMode : int32_t { kSmoothMedian = 0, kSmoothAverage = 1, kSmoothNone = 2 };

// Rows a filter run computes between two looks at the windows' buttons.
constexpr int32_t kFilterBlockRows = 32;

// The background store becomes a blank (zero) image of the current image's frame: names,
// size, type, overflow ratio and code tables; the background view's scale becomes linear.
// Without an image the report says so and false comes back. The command then shows the new
// frame and builds its display levels.
bool copy_image_to_bg(Report& report);

// How far a filter run has come, for the command to show: `started` gets the number of rows
// the filter computes, `block_done` after each block of rows the rows done and the whole
// seconds since the start. Either may be empty.
struct FilterProgress {
  std::function<void(int64_t rows)> started;
  std::function<void(int32_t done, int64_t seconds)> block_done;
};

// What bg_rank_filter and the smoothings give when the unsmoothed copy a smoothing needs
// could not be had: the codes are then left unsmoothed ("Memory Error. Aborted").
constexpr int32_t kFilterNoMemory = 2;

// Dest := Source, then every pixel whose window lies inside the image gets the code of rank
// R of its window (RankWindow: Size, Step; R from Percent); with SmoothSize >= 3 the result
// is then smoothed (SmoothMode median or average). Rows run in blocks over the worker
// threads; after each block the progress is handed on and the batch state polled.
// Returns 1 when stopped (Dest then holds exactly the finished rows), kFilterNoMemory when
// the smoothing could not run, else 0; refused arrays and steps are said in the report.
// Dest and Source hold Width x Height codes; the intensities are the current image's.
int32_t bg_rank_filter(int32_t size, int32_t step, int32_t percent, std::span<uint16_t> dest,
                       std::span<const uint16_t> source, int32_t height, int32_t width, int32_t smooth_size,
                       int32_t smooth_mode, Report& report, const FilterProgress& progress = {});

// Smooth a code array in place over Size x Size windows (top-left corner at (x - h, y - h));
// border pixels keep their codes. The median takes the code of rank Size^2 div 2; the
// average the mean intensity of the window without its element (Size^2 - 1) div 2, encoded by
// the current image's law (values up to 32767 truncated). Sizes below 2 change nothing.
// Return 0, or kFilterNoMemory when no working copy could be had.
int32_t smooth_median_codes(int32_t size, int32_t width, int32_t height, std::span<uint16_t> codes);
int32_t smooth_average_codes(int32_t size, int32_t width, int32_t height, std::span<uint16_t> codes);

// True when Size >= 3, Step >= 0, not (Step >= 1 and Size < 5), (Size - 1) mod (Step + 1) is
// 0 and (Size - 1) div (Step + 1) is even. A text that is not an integer raises its
// conversion error.
bool check_filter_size(const std::string& size_text, const std::string& step_text);

}  // namespace kestrin
