// The displayed image as a picture: the whole image's display levels with the current grey
// palette in an 8-bit bitmap, and the command that saves it as a BMP file.
#pragma once

#include "image/display/ksdib.h"

namespace kestrin {

// The display levels of the current image (image size, top row first) with the palette the
// views use (grey ramp, reversal, the omit-blue entry).
TKsDIB display_picture();

// Nothing without an image. Otherwise the save dialog with the remembered image-save
// folder and filter index, the filter "BITMAP (*.bmp)|*.BMP" and the extension "bmp"; the
// chosen folder and filter index are remembered. A cancel logs " save_img_proc() : cancel ";
// a name gets display_picture() as a BMP file (bitmap errors go to the caller).
void save_img_proc();

}  // namespace kestrin
