// The marks drawn over the image window's part view after each redraw: the outline of the
// integration region, the beam centre, the found spots with their numbers and the selected
// area. Drawn on any canvas (the paint box, a picture, a recording canvas in tests) through
// the view transform of the display engine.
#pragma once

#include "base/colour.h"
#include "platform/classes/canvas.h"

namespace kestrin {

// Draws every overlay of the current state on the canvas; nothing without an image.
// Offsets along the region's rays and band (half the band width, the ray lengths) are
// image pixels scaled to screen pixels, so the outline matches the integrated region at any
// zoom.
void draw_image_overlays(kgui::Canvas& canvas);

// One line in the area colour; the pen colour is restored afterwards.
void draw_area_line(int x1, int y1, int x2, int y2, kgui::Canvas& canvas);
// One line with the given pen width and colour; both restored afterwards.
void draw_thick_line(int x1, int y1, int x2, int y2, int width, TColor colour, kgui::Canvas& canvas);
// The outline of the ellipse in the box (x1, y1)-(x2, y2) with the given pen width and
// colour and a clear brush; pen and brush restored afterwards.
void draw_circle(int x1, int y1, int x2, int y2, int width, TColor colour, kgui::Canvas& canvas);

}  // namespace kestrin
