// Shared set-up of the reader fuzz targets: row reversal chosen by the input, and one image
// whose buffers every run borrows and gives back, as a loader's store lends them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "image/formats/decoded_image.h"

namespace kestrin::fuzz {

// The first byte (when present) chooses reversed rows.
DecodeOptions options_for(std::span<const uint8_t> data);

// Runs `decode(storage)` with the shared buffers lent and taken back.
template <class Decode>
void decode_lent(Decode decode) {
  static ImageData storage;
  DecodedImage d = decode(std::move(storage));
  storage = std::move(d.data);
}

}  // namespace kestrin::fuzz
