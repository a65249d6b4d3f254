// What the merge image window's controls do, without the widgets. The window repaints its
// gauge and picture after each of them; the state they change is merge_state().
#pragma once

#include <cstdint>

namespace kestrin {

// "Select Target Files": the window's open dialog (multi-select, the image filter without
// the Gel entry); the chosen names are appended to the list and the sort state becomes -1.
void merge_select_files();
// "Clear List".
void merge_clear_list();
// "Sort": the lines by their file names without folder, compared as bytes, by exchanges;
// descending when the last sort ascended, else ascending.
void merge_sort_list();
// A key in one of the four rectangle edits: Enter reads them as integers into the selected
// area (left, top, right, bottom) and redraws the image window.
void merge_area_key(int key);
// "Create Image": merge_images with the list, the rectangle edits, the rotation combo and
// the shared display mode. The edits are read only for a list that is not empty. True when
// a picture was made.
bool merge_create();
// A scale radio clicked (log or linear): the shared display mode, the gauge's range and
// edges (0..1000 linear, 0..the log full scale of the image read last for log), their edits
// and labels, the picture's levels once a picture exists, and both windows' radios.
void merge_scale_clicked(bool log);
// Enter in the low or high edge's edit: the gauge's edit rule with the edit as an integer,
// the labels follow, then the picture's levels. Other keys do nothing.
void merge_low_edge_key(int key);
void merge_high_edge_key(int key);
// The gauge's mouse: a press starts a drag; a move at column x of a gauge `width` wide
// moves the chosen edge when its rule allows, and the edge's label shows it (true then, so
// the window redraws the gauge); the release ends the drag and rebuilds the picture's
// levels when an edge moved (true then).
void merge_gauge_down();
bool merge_gauge_move(int32_t x, int32_t width);
bool merge_gauge_up();
// The magnification scroll bar: the percentage and its label.
void merge_magnification(int32_t position);
// "Save Merge Image", once a picture exists: the window's save dialog with an overwrite
// question, the filter "BITMAP (*.bmp)|*.BMP" and the extension "bmp"; the image-save
// folder and filter index take the dialog's; a name gets the picture as a BMP file, a
// cancel logs " save_merge_img_proc() : cancel ".
void merge_save();

}  // namespace kestrin
