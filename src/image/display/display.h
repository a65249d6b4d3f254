// The image display engine without a window: grey-scale levels from the code tables,
// palettes (with the omit-blue entry and the XOR mask palette), the zoom and view
// arithmetic, image-to-screen transforms, and a renderer that draws the part view and the
// thumbnail straight from the levels and the mask into a 32-bit buffer.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/colour.h"
#include "base/uninit_vector.h"
#include "model/view_state.h"

namespace kestrin {

// What the display engine reads of an image: its codes (row-major) and its two code
// tables.
struct ImagePixels {
  std::span<const uint16_t> codes;
  std::span<const double> log_table, intensity_table;
};

// What a zoom change asks of the window's controls.
struct ZoomResult {
  int32_t scroll_max_x = 0, scroll_max_y = 0;
  int32_t large_change_x = 0, large_change_y = 0;
  bool reset_scroll = false;  // zoom 0: positions and maxima 0, scroll origin 0
  int32_t combo_index = -1;   // -1: leave the combo as it is
};

using Palette = std::array<TColor, 256>;

constexpr TColor kMarginColour = 0x808000;

// The display level of every pixel: 0 below LowEdge, 255 above HighEdge, else
// Round((v - LowEdge) / (HighEdge - LowEdge) * 255); v is the rounded log-table entry
// (log mode) or the rounded intensity (linear mode) of the pixel's code.
void build_display_levels(const ImagePixels& image, const DisplayScale& scale, UninitVector<uint8_t>& levels);

// Grey ramp (g = i when reversed, else 255 - i); with omit_blue the entry that shows white
// becomes pure blue ($FF0000).
Palette image_palette(bool reverse, bool omit_blue);
// Mask palette: all black except entry 1, the complement of the mask colour, so that an
// exclusive-or draw over white shows exactly the mask colour.
Palette mask_palette(TColor mask_colour);

// The high display bound chosen for the linear scale after a load, by the image maximum
// (255, 2000, 10000, 30000; above 50000 the previous bound stays).
int32_t linear_display_bound(int32_t linear_max, int32_t previous);

// Zoom change: zoom 0 fits the whole image (the larger ratio decides, a tie takes the
// width). Updates the view's zoom, columns, rows and frame; returns the control settings.
ZoomResult set_image_zoom(ImageView& view, double zoom, int32_t width, int32_t height);
void update_view_extent(ImageView& view, int32_t width, int32_t height);

double image_to_screen_x(const ImageView& view, double x);
double image_to_screen_y(const ImageView& view, double y);

// The image pixel under paint-box point (X, Y): Round(X / Zoom + ScrollX) and Round(Y /
// Zoom + ScrollY), or Round(ViewCols X / ViewWidth) and Round(ViewRows Y / ViewHeight) in
// whole view (halves to even).
struct ImagePoint {
  int32_t x = 0, y = 0;
};
ImagePoint screen_to_image(const ImageView& view, int32_t X, int32_t Y);
inline bool inside_image(ImagePoint p, int32_t width, int32_t height) {
  return p.x >= 0 && p.y >= 0 && p.x <= width - 1 && p.y <= height - 1;
}

// Draws the part view (ViewWidth x ViewHeight, 0x00RRGGBB pixels, row-major) from image
// column `left` and row `top`: nearest-neighbour sampling of the levels through the palette,
// exclusive-or with the mask palette, and margin bands where the image ends. Returns false
// and leaves `out` untouched when a drawn row would pass the last image row.
bool render_image_view(std::span<const uint8_t> levels, std::span<const uint8_t> mask, int32_t width,
                       int32_t height, const ImageView& view, int32_t left, int32_t top, const Palette& palette,
                       const Palette& mask_pal, std::vector<uint32_t>& out);

// The 100 x 100 thumbnail: the whole image scaled into the top-left corner of a square,
// margin colour elsewhere; levels only.
void render_thumbnail(std::span<const uint8_t> levels, int32_t width, int32_t height, const Palette& palette,
                      int32_t size, std::vector<uint32_t>& out, int32_t* drawn_w = nullptr, int32_t* drawn_h = nullptr);

// 0x00BBGGRR -> 0x00RRGGBB for the 32-bit buffers.
inline uint32_t to_rgb32(TColor c) {
  return uint32_t(color_red(c)) << 16 | uint32_t(color_green(c)) << 8 | color_blue(c);
}

}  // namespace kestrin
