// The background image: its loader (the format decoders run into the background store,
// their lines in the background's words), its display levels, the click readout of its
// window and the writer of a processed background in the current image's format.
#pragma once

#include <string>

#include "base/report.h"

namespace kestrin {

// Loads `name` into the background store, as load_img_proc loads the current image, but
// without a parameter file, a mask change or a change of the display edges; the R-AXIS
// header gives only the wavelength and the camera length. The background view goes back to
// zoom 1 at the top-left corner. True when it loaded (the command then shows it).
bool load_bg_img_proc(const std::string& name, Report& report);
// The background image open dialog's filter.
const char* bg_image_filter();

// The 8-bit levels of the whole background (bg_levels) from its own tables and the
// background view's scale; nothing (and false) without a background.
bool build_bg_display_levels();

// The intensity grid around a clicked background pixel (13 x 13, or 23 x 23 about the
// middle for a coordinate of 0) in the log, its maximum, and the centroid of the 19 x 19
// pixels around the maximum that reach a tenth of it, returned through x and y (unchanged
// when they sum to 0). Intensities come from the background's own table. The lines go into
// `report`.
void find_bg_local_maximum(double& x, double& y, Report& report);

// Writes the background codes to `name` by the current image's type: R-AXIS (3, 6, 9),
// TIFF (8), HiPiC (11) and Fuji (0, 1, 2, 5) files, each into a copy of the loaded image's
// file; other types say that they cannot be written.
void save_processed_image(const std::string& name, Report& report);

// "KES for Windows (BG) " + the background's file name: the background window's caption.
std::string bg_caption();

}  // namespace kestrin
