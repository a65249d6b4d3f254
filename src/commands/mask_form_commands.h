// What the ring-mask window does, without the widgets: the ring list read from a file or
// back from the grid, the ring removal over it, and the hidden crystal part (crystal file,
// Miller-index grid, ring painting). The grids' texts are tables made here; the window
// only shows them.
#pragma once

#include <string>

#include "model/state.h"
#include "ports/views.h"

namespace kestrin {

// The ring grid: headings "No.", "2th.begin", "2th.end", "correct"; row i + 1 the number
// i + 1, the bounds ("%8.2f") and the flag ("%d").
GridTexts ring_grid_texts(const RingList& rings);
// Replaces `rings` by the grid's rows from row 1 on while the begin, end and correct cells
// (columns 1 to 3) all hold text. A cell that is not a number raises ConversionError, the
// rings before it kept.
void ring_list_from_grid(const GridTexts& grid, RingList& rings);
// The Miller-index grid of a crystal: "No.", "MI" ("(h,k,l)"), "d値" (h² + k² + l²),
// "Mask幅" (the mask width) and "Use" ("true" or "false").
GridTexts miller_grid_texts(const HklParam& crystal);

// Shows the shared ring list in the ring grid.
void show_ring_grid();
// The main window's open dialog with its filter and file name cleared; a chosen file
// replaces the ring list, which the grid then shows.
void open_ring_mask_file_command();
// The ring list read back from the grid, then shown again.
void update_ring_list();
// The ring removal over the whole image: the region becomes the rectangle FULL (through
// the main window's controls), the windows handle their events, the 2theta pattern of the
// whole image is made and remove_rings runs with its lines in the log; pixels written are
// redrawn, and the windows handle their events again.
void remove_rings_of_whole_image();
// update_ring_list, then remove_rings_of_whole_image.
void subtract_rings_command();

// The crystal part: a crystal file from the open dialog lists its crystals, the first one
// chosen and its reflections shown.
void open_crystal_file_command();
// Shows the reflections of the crystal chosen in the material list.
void material_chosen();
// An edit of a grid cell in `row`: an integer sets that reflection's mask width of the
// chosen crystal and marks it used. Nothing without a chosen crystal or for another text.
void miller_cell_edited(int row, const std::string& value);
// Paints every reflection's ring of the chosen crystal into the mask (used ones set, the
// others cleared), then redraws the image.
void mask_reflections_command();

}  // namespace kestrin
