// Mask files: the ".bgz" file of one bit per pixel (written, and added to the current mask)
// and the import of a BMP picture whose pure red pixels are masked. The byte-level steps are
// pure functions over a mask value; the entries around them do the names and the remembered
// dialog folders and say their lines into a report; the commands log and redraw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/report.h"
#include "model/state.h"

namespace kestrin {

// Bytes per row of a ".bgz" file: Trunc(W / 8 + 0.5). Widths of 1 to 3 past a multiple of 8
// lose their last pixels; stored files have this length, so it stays.
size_t mask_row_bytes(int32_t width);

// The whole ".bgz" file of a mask: little-endian width and height, then the rows top first,
// bit 7 of byte k being pixel 8k. Only mask bytes equal to 1 count as masked.
std::string encode_mask_file(const ImageMask& mask);

enum class MaskMerge { kMerged, kSizeMismatch };
// Adds the masked pixels of a ".bgz" file to `mask` (a union). A header whose size differs
// from the mask's, or a file too short for the header, changes nothing; rows the file does
// not hold add nothing; pad bits are ignored.
MaskMerge merge_mask_file(std::span<const uint8_t> bytes, ImageMask& mask);

// Width and height of a BMP file from its header, read before any pixel is decoded; false
// when the bytes are no BMP header.
bool bmp_picture_size(std::span<const uint8_t> bytes, int32_t& width, int32_t& height);

enum class PictureMerge { kMerged, kSizeMismatch, kUnreadable };
// Masks the pixels of a BMP picture that are pure red (blue 0, green 0, red 255) after its
// colours are decoded, whatever its depth; rows are taken top row first. A picture of
// another size than the mask, or one that cannot be decoded (its reason in `error`),
// changes nothing.
PictureMerge merge_red_pixels(std::span<const uint8_t> bmp, ImageMask& mask, std::string& error);

// Adds a ".bgz" file (extension exactly ".bgz" or ".BGZ") to the current mask; true when it
// was added (the command redraws the image). Remembers the name's folder and the open
// dialog's filter index first, also for an empty name (a cancelled dialog). A file that
// cannot be read raises EInOutError.
bool load_mask_proc(const std::string& name, int filter_index, Report& report);
// Writes the current mask to `name` (extension ".bgz" in any case), beside it first and
// renamed when complete. Remembers the folder and the save dialog's filter index first. A
// file that cannot be written raises EInOutError.
void save_mask_proc(const std::string& name, int filter_index, Report& report);
// Adds the pure red pixels of the BMP picture `name` to the mask; true when they were
// added. Remembers the folder and filter index as load_mask_proc does.
bool import_mask_file(const std::string& name, int filter_index, Report& report);

}  // namespace kestrin
