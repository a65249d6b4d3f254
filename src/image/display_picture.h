// The displayed image as a picture: the whole image's display levels with the current grey
// palette in an 8-bit bitmap, and saving it as a BMP file.
#pragma once

#include <string>

#include "base/report.h"
#include "image/display/ksdib.h"

namespace kestrin {

// The display levels of the current image (image size, top row first) with the palette the
// views use (grey ramp, reversal, the omit-blue entry).
TKsDIB display_picture();

// Saves display_picture() as the BMP file `name` (bitmap errors go to the caller), after
// remembering the name's folder and the save dialog's filter index as the image-save slot's.
// An empty name (a cancelled dialog) says " save_img_proc() : cancel " instead.
void save_img_proc(const std::string& name, int filter_index, Report& report);

}  // namespace kestrin
