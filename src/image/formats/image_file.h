// Any supported image file read as the loaders read it: the type from the extension and the
// signature, then the reader of that type over the file's bytes. Touches no program state,
// so the current image, the background image, merging and batch conversion share it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/formats/decoded_image.h"

namespace kestrin {

// True for the extensions the loaders accept: ".img", ".stl", ".osc", ".ccd", ".tif", ".gel"
// (compared without case).
bool is_image_extension(const std::string& name);

// Image type of an ".img", ".stl" or ".osc" file from its first 10 bytes (zero bytes
// included): 3, 6, 9, 11 or 12.
int sniff_raxis_type(std::span<const uint8_t> bytes);

// The word that names a type's reader in the loaders' failure lines ("Rigaku", "TIFF2", ...).
const char* reader_kind(int32_t type);

struct ImageFileDecode {
  int32_t type = kTypeUndetermined;  // by extension and signature, as the reader was chosen
  LogLines type_lines;               // the type test's lines (TIFF), which come before the reader's
  std::string open_error;            // why the file cannot be read; nothing is decoded then
  DecodedImage image;
};

// Reads the file at `path`. A Fuji image takes its header from `inf_path`. `storage` is lent
// to the decoder as DecodedImage describes; it comes back in `image.data` in every case.
ImageFileDecode decode_image_file(const std::string& path, const std::string& inf_path, const DecodeOptions& options,
                                  ImageData storage = {});

}  // namespace kestrin
