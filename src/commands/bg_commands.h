// What the background window's buttons do: Make BG (the rank filter as a long run), Pause
// and Cancel, the filter-size check of its edits, Subtract BG and the save of the result.
#pragma once

#include <cstdint>
#include <string>

#include "image/display/display.h"

namespace kestrin {

inline constexpr const char* kBgSaveFilter = "RIGAKU IP Format (*.img)|*.img|TIFF Format (*.tif)|*.tif|";

// Make BG: the current image copied to the background, the size check ("Filter Size
// Error" and nothing more when the size is even or below 3), then the rank filter with the
// window's settings as a long run. A normal end recomputes the background's statistics and
// levels and keeps a copy of the codes made; a cancelled run stops there.
void make_bg_command();
// copy_image_to_bg with its line in the log; a copy is shown in the background window
// with its display levels built.
void copy_image_to_bg_command();
// Enter in a filter edit: true when check_filter_size passes; the window colours the size
// and step edits red or white by it.
bool filter_size_ok();
// Subtract BG: refused with "Please load BG first." while no background file was named and
// "Error. Please load BG first." without a background. The background is first restored
// (from the codes Make BG made, else from its file), then subtract_bg with the window's
// settings; the offset goes into edtOffset1, the statistics and levels follow.
void subtract_bg_command();
// Save BG / Save Image: the result save dialog, then the background writer, or
// " save_bg_proc() : cancel ".
void save_bg_command();

// load_bg_img_proc with its lines in the log; a loaded background is shown: the window's
// zoom back to 1, its scroll ranges, levels and picture, and its caption.
void load_bg_img_command(const std::string& name);
// The image open dialog for a background (the image-open slot's folder and filter index,
// which it then remembers), then load_bg_img_command with the chosen name.
void load_bg_img_dialog();

// The background's levels rebuilt from its view's scale, then its view redrawn; nothing
// without a background.
void show_bg_display_levels();

// The background's display statistics through the current image's tables from the given
// running values: a pixel strictly above the running maximum (below the minimum) replaces
// it and its log value.
void recompute_bg_statistics(int32_t max, int32_t log_max, int32_t min, int32_t log_min);

// The background view as the renderer sees it: BgView's zoom (0: whole), size and scroll
// position over the background image.
ImageView bg_image_view();
// The zoom combo: item 0 fits the whole background, items 1 to 4 magnify 1, 2, 4 and 8
// times; the view's zoom and scroll position follow, and the scroll bars take the result.
ZoomResult set_bg_zoom(int32_t item);
// The scale radios: log (range and edges 0 .. the current image's LogSaturation) or linear
// (0 .. 1000); the edits and labels show the range, then the levels are rebuilt.
void bg_scale_clicked(bool log);

// The readouts for view pixel (px, py): X, Y (from the bottom with VerticalReverse), the
// intensity and the distance ("%4.3f"); "###" where the pixel holds no value.
struct BgReadout {
  std::string x, y, intensity, distance;
};
BgReadout bg_readout(int32_t px, int32_t py);
// A Shift-click on the view: the pixel information in the log.
void bg_pixel_information(int32_t px, int32_t py);

}  // namespace kestrin
