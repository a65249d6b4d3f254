// What the spot window's buttons do: the searches with its settings, the deletions, saving
// and loading the list, the list itself as the window shows it, and picking the spot
// nearest a click on the image.
#pragma once

#include <cstdint>
#include <optional>

namespace kestrin {

// The spot search with the window's settings over (x0, y0)..(x1, y1) of the current image;
// a new list, or added to the list. A setting that is not a number raises its conversion
// error before anything is searched.
void spot_search_with_settings(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool add);

// The spot list into state().spot_grid, then the window refills and shows it.
void show_spot_list();

// Spot Search(New): the whole image (0, 0, W - 1, H - 1), then the list and a repaint.
void spot_search_new_command();
// Area Search: in the image window's area mode the rectangle of the edits becomes the
// selected area and the search is added over it; a rectangle that leaves the image ends
// the command at once. The list and a repaint follow.
void spot_search_area_command();
// Enter in a rectangle edit: the edits become the selected area; the image is repainted.
void area_edit_entered();
// Del. in Area (the selected area), Del. in List (the grid's selected rows), Del. Same
// Spot, Del. All Spot; each shows the list and repaints.
void delete_spots_in_area_command();
void delete_listed_spots_command();
void delete_same_spots_command();
void delete_all_spots_command();
// Save List: the result save dialog, then write_spot_list, or " save_spot_proc() : cancel ".
void save_spot_list_command();
// Load List: the question (No ends), the oscillation window's open dialog for spot lists,
// load_spot_csv and the list.
void load_spot_list_command();

// A spot grid's row chosen by the user (row 1 is the first spot): FocusedSpot, and unless
// the image window shows the whole image its view is centred on the spot (Trunc, clamped
// to the image) under ScrollLock; the image is repainted.
void spot_grid_cell_selected(int32_t row);

// The spot nearest (x, y) by squared distance below 9999.0 (the first on a tie); nothing
// when none is that close.
std::optional<int32_t> nearest_spot(double x, double y);
// A click near a spot: its grid row selected and scrolled to the top (no select-cell
// handler runs), FocusedSpot set and the overlays drawn again.
void spot_list_select(double x, double y);

}  // namespace kestrin
