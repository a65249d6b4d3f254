// The background filter: blocks of rows over the worker threads, progress and polling
// between blocks, the smoothings and the size check.
#include "analysis/bg_filter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <new>
#include <optional>
#include <vector>

#include "analysis/batch_state.h"
#include "analysis/rank_filter.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "base/report.h"
#include "image/formats/code_encoder.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

using RowRange = std::function<void(int32_t from, int32_t to)>;  // rows from..to-1

// Runs `rows` over first..last in blocks of kFilterBlockRows, each block split into lanes
// over the worker threads; after each block `after` gets the last row done and returns
// false to stop. False when stopped.
bool run_row_blocks(int32_t first, int32_t last, const RowRange& rows, const std::function<bool(int32_t)>& after) {
  for (int32_t from = first; from <= last; from += kFilterBlockRows) {
    const int32_t to = std::min(last + 1, from + kFilterBlockRows);
    const int32_t lanes = lane_count(to - from);
    run_lanes(lanes, [&](int32_t lane) {
      rows(int32_t(lane_begin(from, to - from, lanes, lane)), int32_t(lane_begin(from, to - from, lanes, lane + 1)));
    });
    if (!after(to - 1)) return false;
  }
  return true;
}

// The average of a window without one element: the window is Size x Size from (x - h, y - h)
// and the element left out is (Size^2 - 1) div 2 in row-major order.
struct AverageJob {
  std::span<const uint16_t> source;
  std::span<uint16_t> dest;
  int32_t width = 0, height = 0, size = 0;
  const CodeTable* table = nullptr;
  const CodeEncoder* encoder = nullptr;
  bool truncating = false;

  int32_t half() const { return size / 2; }
  double intensity(int64_t x, int64_t y) const { return (*table)[source[size_t(x) + size_t(width) * size_t(y)]]; }
  uint16_t code(double mean) const { return truncating ? encoder->encode_truncating(mean) : encoder->encode(mean); }
};

// Exact integer sums when every table entry is an integer: column sums slide down the rows.
void average_rows_exact(const AverageJob& job, const std::vector<int64_t>& itab, int32_t from, int32_t to) {
  const int32_t h = job.half(), S = job.size;
  const int64_t n2 = int64_t(S) * S, left_out = (n2 - 1) / 2;
  const int32_t x_last = job.width - 1 - h;
  const size_t W = size_t(job.width);
  auto at = [&](int64_t x, int64_t y) { return itab[job.source[size_t(x) + W * size_t(y)]]; };
  std::vector<int64_t> column(W, 0), prefix(W + 1, 0);
  for (int32_t y = from; y < to; ++y) {
    if (y == from)
      for (size_t c = 0; c < W; ++c)
        for (int32_t i = 0; i < S; ++i) column[c] += at(int64_t(c), y - h + i);
    for (size_t c = 0; c < W; ++c) prefix[c + 1] = prefix[c] + column[c];
    for (int32_t x = h; x <= x_last; ++x) {
      const int64_t sum = prefix[size_t(x - h + S)] - prefix[size_t(x - h)];
      const int64_t out = at(x - h + left_out % S, y - h + left_out / S);
      job.dest[size_t(x) + W * size_t(y)] = job.code(double(sum - out) / double(n2 - 1));
    }
    if (y + 1 < to)
      for (size_t c = 0; c < W; ++c) column[c] += at(int64_t(c), y - h + S) - at(int64_t(c), y - h);
  }
}

// The sums as written, window element by element, for tables with fractional intensities.
void average_rows_direct(const AverageJob& job, int32_t from, int32_t to) {
  const int32_t h = job.half(), S = job.size;
  const int64_t n2 = int64_t(S) * S, left_out = (n2 - 1) / 2;
  for (int32_t y = from; y < to; ++y)
    for (int32_t x = h; x <= job.width - 1 - h; ++x) {
      double sum = 0;
      for (int32_t i = 0; i < S; ++i)
        for (int32_t j = 0; j < S; ++j) sum += job.intensity(x - h + j, y - h + i);
      sum -= job.intensity(x - h + left_out % S, y - h + left_out / S);
      job.dest[size_t(x) + size_t(job.width) * size_t(y)] = job.code(sum / double(n2 - 1));
    }
}

// The rows of a smoothing (median or average) of `source` into `dest`.
RowRange smoothing_rows(int32_t mode, const RankJob& median, const AverageJob& average,
                        const std::optional<std::vector<int64_t>>& itab) {
  if (mode == kSmoothMedian) return [&median](int32_t from, int32_t to) { rank_filter_rows(median, from, to); };
  return [&average, &itab](int32_t from, int32_t to) {
    const int32_t h = average.half();
    from = std::max(from, h);
    to = std::min(to, average.height - h);
    if (from >= to || average.width - 1 - h < h) return;
    if (itab) average_rows_exact(average, *itab, from, to);
    else average_rows_direct(average, from, to);
  };
}

enum class Smoothed { kDone, kStopped, kNoMemory };

// A smoothing of Size over `codes` from an unsmoothed copy, polling between blocks when
// `poll` is set. A copy that cannot be had changes nothing.
Smoothed smooth(int32_t mode, int32_t size, int32_t width, int32_t height, std::span<uint16_t> codes, bool truncating,
                bool poll) {
  if (size < 2 || int64_t(codes.size()) != int64_t(width) * height) return Smoothed::kDone;
  std::vector<uint16_t> copy;
  try {
    copy.assign(codes.begin(), codes.end());
  } catch (const std::bad_alloc&) {
    return Smoothed::kNoMemory;
  }
  const ImageStore& img = current_image();
  const CodeEncoder encoder(img, img.image_type);
  const RankWindow window{size, 0};
  const RankJob median{copy, codes, width, height, window, window.rank(50)};
  const AverageJob average{copy, codes, width, height, size, &img.intensity_table, &encoder, truncating};
  const std::optional<std::vector<int64_t>> itab =
      mode == kSmoothAverage ? integer_intensities(img.intensity_table) : std::nullopt;
  const int32_t h = size / 2;
  const bool finished = run_row_blocks(h, height - 1 - h, smoothing_rows(mode, median, average, itab),
                                       [poll](int32_t) { return !poll || poll_batch_state() == 0; });
  return finished ? Smoothed::kDone : Smoothed::kStopped;
}

}  // namespace

bool copy_image_to_bg(Report& report) {
  const ImageStore& img = current_image();
  if (img.NoImageFlag == 1) {
    report.say(" copy_image_to_bg() : Image data does not exist.");
    return false;
  }
  ImageStore& bg = bg_image();
  bg.ImageFolder = img.ImageFolder;
  bg.ImageFilePath = img.ImageFilePath;
  bg.ImageFileName = img.ImageFileName;
  bg.ImageBaseName = img.ImageBaseName;
  bg.InfFileName = img.ImageFolder + img.ImageBaseName + ".inf";
  bg.image_type = img.image_type;
  bg.OverflowRatio = img.OverflowRatio;
  // The codes follow the current image's law, so the tables come with them.
  bg.intensity_table = img.intensity_table;
  bg.log_table = img.log_table;
  bg.set_size(img.ImageWidth, img.ImageHeight, 2);
  bg.LogMax = 65535;
  bg.NoImageFlag = 0;
  state().bg_view.scale.DisplayMode = 1;
  return true;
}

int32_t bg_rank_filter(int32_t size, int32_t step, int32_t percent, std::span<uint16_t> dest,
                       std::span<const uint16_t> source, int32_t height, int32_t width, int32_t smooth_size,
                       int32_t smooth_mode, Report& report, const FilterProgress& progress) {
  const int64_t pixels = int64_t(width) * height;
  if (width < 0 || height < 0 || int64_t(dest.size()) != pixels || int64_t(source.size()) != pixels) {
    report.say(" bg_rank_filter() : The code arrays do not hold Width x Height codes.");
    return 0;
  }
  // The filter reads Source while it writes Dest: an overlapping Source is read from a copy.
  std::vector<uint16_t> own;
  const bool overlap = source.data() < dest.data() + dest.size() && dest.data() < source.data() + source.size();
  if (overlap) own.assign(source.begin(), source.end()), source = own;
  std::copy(source.begin(), source.end(), dest.begin());
  const RankWindow window{size, step};
  if (step < 0) {
    report.say(Format(" bg_rank_filter() : Step %d is refused: it must not be negative.", {step}));
    return 0;
  }
  const int32_t h = window.half();
  if (progress.started) progress.started(int64_t(height) - 2 * int64_t(h));
  const auto started = std::chrono::steady_clock::now();
  const RankJob job{source, dest, width, height, window, window.rank(percent)};
  const bool finished = window.usable() &&
      run_row_blocks(h, height - 1 - h, [&job](int32_t from, int32_t to) { rank_filter_rows(job, from, to); },
                     [&](int32_t last_done) {
                       const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::steady_clock::now() - started);
                       if (progress.block_done) progress.block_done(last_done - h + 1, int64_t(seconds.count()));
                       return poll_batch_state() == 0;
                     });
  if (window.usable() && !finished) return 1;
  if (smooth_size < 3 || (smooth_mode != kSmoothMedian && smooth_mode != kSmoothAverage)) return 0;
  switch (smooth(smooth_mode, smooth_size, width, height, dest, false, true)) {
    case Smoothed::kDone: return 0;
    case Smoothed::kStopped: return 1;
    case Smoothed::kNoMemory: return kFilterNoMemory;
  }
  return 0;
}

int32_t smooth_median_codes(int32_t size, int32_t width, int32_t height, std::span<uint16_t> codes) {
  return smooth(kSmoothMedian, size, width, height, codes, false, false) == Smoothed::kNoMemory ? kFilterNoMemory : 0;
}

int32_t smooth_average_codes(int32_t size, int32_t width, int32_t height, std::span<uint16_t> codes) {
  return smooth(kSmoothAverage, size, width, height, codes, true, false) == Smoothed::kNoMemory ? kFilterNoMemory : 0;
}

bool check_filter_size(const std::string& size_text, const std::string& step_text) {
  const int64_t size = StrToInt(size_text), step = StrToInt(step_text);
  if (size < 3 || step < 0 || (step >= 1 && size < 5)) return false;
  return (size - 1) % (step + 1) == 0 && ((size - 1) / (step + 1)) % 2 == 0;
}

}  // namespace kestrin
