// Merging images: the same rectangle cut out of a list of image files and joined, one piece
// below the other and optionally rotated by a multiple of 90 degrees, into one picture of
// 16-bit codes with an 8-bit display picture and a grey-level window of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/report.h"
#include "image/display/ksdib.h"
#include "image/formats/image_data.h"
#include "image/merge_gauge.h"

namespace kestrin {

// The rectangle of every image, in image pixels, inclusive.
struct MergeArea {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Rotation by the merge window's combo index: 0, 90, 180 or 270 degrees.
enum MergeRotation : int32_t { kRotate0 = 0, kRotate90, kRotate180, kRotate270 };

// The merge window's state: the merged picture and its display. It is part of the shared
// state (state().merge), so a reset of the shared state clears it.
struct MergeState {
  std::vector<uint16_t> MergeCodes;  // row-major, width x height
  int32_t width = 0, height = 0;
  // The code tables and log full scale of the image read last, for the display levels.
  CodeTable log_table, intensity_table;
  int32_t log_saturation = 10000;
  TKsDIB MergeDIB;  // 8 bits: the display level of every code of MergeCodes
  bool Merged = false;
  MergeGauge gauge;
  MergeGaugeDrag drag;
  int32_t magnification = 100;  // percent
  int32_t sort_state = -1;      // -1 after a selection, 0 after an ascending sort, 1 descending
};

// The merge window's state in the shared state, made there when first asked for.
MergeState& merge_state();

// Width and height of the merged picture of `count` rectangles: w = right - left + 1 and
// h = bottom - top + 1; w by h x count at 0 and 180 degrees, h by w x count at 90 and 270.
void merged_size(const MergeArea& area, int32_t rotation, size_t count, int64_t& width, int64_t& height);

// Copies the rectangle of `image` (row-major, `image_width` wide) into
// `out` (the block's own width x height, row-major) in the rotation's order: 0 rows top to
// bottom, each left to right; 90 columns left to right, each bottom to top; 180 rows bottom
// to top, each right to left; 270 columns right to left, each top to bottom.
void copy_merge_block(const uint16_t* image, int32_t image_width, const MergeArea& area, int32_t rotation,
                      uint16_t* out);

// Makes the merged picture of `files` into merge_state() and returns true:
//   - an empty list says "Create Merge Image. File Num Error."; a blank first line (empty
//     after trimming blanks and control characters) stops silently;
//   - the first file is read (read_image_file); the rectangle must lie inside it (left and
//     top at least 0, right below its width, bottom below its height, left < right,
//     top < bottom), else "Create Merge Image. Area Error.";
//   - a picture whose display bitmap or codes cannot be had says "MergeImage SetLength Error";
//   - every later file that cannot be read or does not contain the rectangle leaves its
//     block at code 0 and says "Create Merge Image. Area Error. " and its name.
// The display levels follow with the display mode given (0 log, 1 linear). The current
// image and every other program state stay as they are.
bool merge_images(const std::vector<std::string>& files, const MergeArea& area, int32_t rotation,
                  int32_t display_mode, Report& report);

// The display level of every merged code into MergeDIB: with v = Trunc of the code's log
// value (mode 0) or intensity (mode 1), 0 below the low edge, Trunc((v - low) / (high - low)
// x 255) up to the high edge, 255 above. Nothing before the first picture.
void build_merge_levels(MergeState& m, int32_t display_mode);

}  // namespace kestrin
