// The cake: the image unrolled into azimuth and distance, one pixel histogram per angular
// slice, made into the cake window's picture.
#pragma once

#include <cstdint>

#include "analysis/histogram_frame.h"
#include "base/report.h"
#include "image/cake_picture.h"

namespace kestrin {

// What a cake run leaves for its command to show: the sector edits of the last slice begun
// (the decimal texts of s x width and (s + 1) x width; none begun: nothing) and the graph's
// range edits of the last slice that made a pattern.
struct CakeRun {
  bool made = false;            // the picture was replaced
  int32_t slices_begun = 0;
  PatternShow shown;
};

// Runs the slices of `shape` as a long run: for slice s the region is the sector (the
// command that runs the cake shows it in the radios and runs their click command), the
// sector is s x width to (s + 1) x width degrees, and the sector pixel histogram replaces
// the current pattern, saying its lines into `report`; then the windows handle their events
// once. The picture of the slices replaces cake_state()'s and `made` is set. A slice that
// makes no pattern (no image, unusable parameters) stops the cake after its own lines, with
// the pattern's kind as it was; so do a terminate and a refused second long run. The
// picture stays as it was then.
CakeRun make_cake(const CakeShape& shape, Report& report);

}  // namespace kestrin
