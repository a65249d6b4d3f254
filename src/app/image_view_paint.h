// The window side of the image display: the part view, rendered by the display engine,
// copied into a paint box's backing image; and 8-bit bitmaps drawn stretched on a canvas.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/display/display.h"
#include "image/display/gauge.h"
#include "platform/classes/graphics.h"

namespace kgui {
class Canvas;
class TPaintBox;
}  // namespace kgui

namespace kestrin {
class TKsDIB;
}  // namespace kestrin

namespace kestrin::app {

// Draws a grey-scale window's gradation gauge over the whole paint box: the gauge row in
// `palette`, the high edge's red line and the low edge's blue one (the pen as it was after).
// Nothing when the scale gives no gauge (gauge_row).
void draw_gauge(kgui::TPaintBox& box, const DisplayScale& scale, GaugeRounding rounding, const Palette& palette);

// Renders the part view from image column `left` and row `top` (render_image_view) and
// copies it 1:1 into the paint box at (0, 0). Returns false, leaving the box as it was,
// when the view would pass the last image row. GUI thread only (reuses one buffer).
bool paint_image_view(kgui::TPaintBox& box, std::span<const uint8_t> levels, std::span<const uint8_t> mask,
                      int32_t width, int32_t height, const ImageView& view, int32_t left, int32_t top,
                      const Palette& palette, const Palette& mask_pal);

// The part view of the current image as the shared state shows it (display levels, mask,
// palettes, view and scroll position), rendered into `picture` (ViewWidth x ViewHeight).
// False, picture untouched, without an image or when the view would pass the last row.
bool render_part_view(std::vector<uint32_t>& picture);
// Copies a rendered part view 1:1 onto the canvas at (0, 0).
void copy_part_view(kgui::Canvas& canvas, const std::vector<uint32_t>& picture);
// The image window's redraw of its part view on a canvas: render_part_view copied onto it
// when it renders, then the overlays. Returns whether the picture was rendered.
bool draw_part_view(kgui::Canvas& canvas, std::vector<uint32_t>& picture);

// Draws a bitmap stretched into dest, nearest pixel: an 8-bit uncompressed one with its own
// colours straight from its rows; 1- and 4-bit and run-length ones through an 8-bit copy;
// in palette modes 1 and 2 its colour or black-and-white halftone. 24-bit bitmaps in
// palette mode 0 draw nothing.
void draw_dib(kgui::Canvas& canvas, const kgui::TRect& dest, const TKsDIB& dib);

}  // namespace kestrin::app
