// What the cake window's controls do, without the widgets.
#pragma once

#include <cstdint>

namespace kestrin {

// "Cake" and the hidden "sector cake": make_cake with the button's shape, then the window
// draws the new picture and, while WindowShow is 1, is shown. True when a picture was made.
bool cake_clicked();
bool sector_cake_clicked();
// The brightness scroll bar: the picture's grey ramp brightened by `position` and drawn
// again. Before the first cake there is no picture and nothing happens.
void cake_brightness_changed(int32_t position);

}  // namespace kestrin
