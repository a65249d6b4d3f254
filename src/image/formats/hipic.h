// HiPiC images (".img" whose first bytes hold "IM", type 11): a 14-byte little-endian
// header, a comment, and 1-, 2- or 4-byte little-endian pixels from byte 64 + comment length.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/image_store.h"

namespace kestrin {

// 0 on success, 1 on failure (the reason is logged). Fills the given store; when it is the
// current image, the main window's geometry edits are rewritten from the parameters.
int read_hipic_file(ImageStore& store, const std::string& path);
int decode_hipic_image(ImageStore& store, std::span<const uint8_t> bytes);

// Writes the codes of `image` into a copy of `source` at `name` (an existing `name` keeps
// its own header). The header's size must equal the image's. 4-byte pixels are written as
// the code in the low 16 bits and two zero bytes. Rows are flipped back under
// VerticalReverse. 0 on success, 1 on failure.
int save_hipic_file(const ImageStore& image, const std::string& source, const std::string& name);

}  // namespace kestrin
