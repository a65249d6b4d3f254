// TIFF and GEL images: 8/16-bit integer TIFF (type 8), 32-bit floating-point TIFF
// (type 14), GEL square-root images (type 13), the loader's TIFF type test and the writer
// of processed codes into a copy of the loaded TIFF file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/image_store.h"
#include "image/formats/tiff_tags.h"

namespace kestrin {

// The loader's type test: kTypeFloatTiff when the first image has 32-bit IEEE float
// samples, else kTypeTiff (also for files that are not TIFF files). Fills `tags` for
// `read_tiff_float_file`. Logs as `read_tiff_tags`.
int sniff_tiff_type(const std::string& path, TiffTags& tags);
// The same test as a yes/no answer, for the loader's reader table.
bool tiff_is_float(const std::string& path);

// Readers: 0 on success, 1 on failure (the reason is logged). Each fills the given store.
int read_tiff_file(ImageStore& store, const std::string& path);
int read_gel_file(ImageStore& store, const std::string& path);
// Uses the tag record the type test filled for the same file.
int read_tiff_float_file(ImageStore& store, const std::string& path, const TiffTags& tags);
// Same, parsing the tags itself (without log lines).
int read_tiff_float_file(ImageStore& store, const std::string& path);

// The decoders behind the file entries, on the file's bytes.
int decode_tiff_image(ImageStore& store, std::span<const uint8_t> bytes);
int decode_gel_image(ImageStore& store, std::span<const uint8_t> bytes);
int decode_tiff_float_image(ImageStore& store, std::span<const uint8_t> bytes, const TiffTags& tags);

// Writes the codes of `image` into the strips of `name`, a copy of `source` (an existing
// `name` keeps its own header and is not replaced by the copy). The target's first image
// must be an uncompressed 8/16-bit image of the same size as `image`. Rows are flipped
// back under VerticalReverse. 0 on success, 1 on failure ("save tiff file error").
int save_tiff_file(const ImageStore& image, const std::string& source, const std::string& name);

}  // namespace kestrin
