// What the image window's tools do, without the widgets: the mouse on the part view (mask
// brush, area drag, pan, pixel information, spot selection, centre from the cursor, the
// whole-view toggle, the readouts), the brush and mode controls, the omit flags, the grey
// scale (scale radios, range edits, gauge dragging) and the command buttons.
#pragma once

#include <cstdint>

#include "platform/classes/type_tables.h"
#include "ports/controls.h"

namespace kestrin {

// The brush diameters of the pen-size entries 0..7.
int32_t pen_size_of_entry(int entry);

// The mouse on the part view at paint-box point (X, Y). A press or move acts only on a
// point inside the loaded image. The left button with Shift logs the pixel information,
// with Alt selects the spot nearest the point, with Ctrl asks whether to take the cursor
// readouts as the beam centre; alone (and the right button) it starts the area drag (pan)
// or paints (erases) the mask. The middle button toggles the whole view.
void image_mouse_down(kgui::TMouseButton button, kgui::TShiftState shift, int32_t X, int32_t Y);
// Readouts, then the brush, the area drag or the pan of a held button.
void image_mouse_move(int32_t X, int32_t Y);
// The readouts of image pixel (x, y) (inside the loaded image) into the window's edits;
// the distance and the azimuth keep their texts while the centre is not set.
void show_pixel_readouts(int32_t x, int32_t y);
void image_mouse_up(kgui::TMouseButton button);

// cmbPenSizeChange, the mouse-mode radios (0 mask, 1 area select) and the omit check boxes.
void pen_size_chosen();
void mouse_mode_clicked(int32_t mode);
void omit_green_clicked();
void omit_blue_clicked();

// The scale radios: the checked one sets the display mode, the gauge range and the edges;
// then the gauge and the display levels are rebuilt. Neither checked: nothing.
void scale_radio_clicked();
// The image and merge windows' scale radios show the one shared display mode. Checking a
// radio runs its click, so the window whose radio changes takes that scale's range.
void show_scale_radios();
// edtLowEdgeKeyDown, edtHighEdgeKeyDown: on Enter an integer sets that end of the gauge's
// range; then the gauge and the levels are rebuilt. Not an integer: nothing.
void edge_edit_key(ControlName edit, int key);
// Dragging an edge of a gauge `width` pixels wide; the release rebuilds the levels when an
// edge moved.
void gauge_mouse_down();
void gauge_mouse_move(int32_t X, int32_t width);
void gauge_mouse_up();

// The buttons whose routine is more than one call.
void clear_mask_command();          // the ClearMask macro line, clear_mask, then the redraw
// The image window's edge edits and labels show LowEdge and HighEdge.
void show_display_edges();

// "Find Spots" and the script's FindSpot: records "Kestrin.FindSpot();", reads the edits and
// runs find_spot with its lines in the log; the image is redrawn when it marked spots.
// Returns find_spot's status.
int32_t find_spot_command();

}  // namespace kestrin
