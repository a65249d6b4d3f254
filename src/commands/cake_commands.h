// What the cake window's controls do, without the widgets.
#pragma once

#include <cstdint>

#include "image/cake_picture.h"

namespace kestrin {

// make_cake of `shape` with the log as its report, after reading the edits when an image is
// loaded; then, when a slice began, the sector radio checked (without its click command) and
// the sector edits of the last slice begun ("%d" of its start and end), and the graph's
// range edits of the last slice that made a pattern. The region radios are otherwise left as
// they are. True when the picture was made.
bool run_cake(const CakeShape& shape);

// "Cake" and the hidden "sector cake": the sector radio chosen, run_cake with the button's
// shape, then the window
// draws the new picture and, while WindowShow is 1, is shown. True when a picture was made.
bool cake_clicked();
bool sector_cake_clicked();
// The brightness scroll bar: the picture's grey ramp brightened by `position` and drawn
// again. Before the first cake there is no picture and nothing happens.
void cake_brightness_changed(int32_t position);

}  // namespace kestrin
