// The type test and the choice of reader, over one mapping of the file.
#include "image/formats/image_file.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "base/paths.h"
#include "image/formats/bruker.h"
#include "image/formats/fuji.h"
#include "image/formats/hipic.h"
#include "image/formats/mapped_file.h"
#include "image/formats/raxis.h"
#include "image/formats/tiff.h"

namespace kestrin {
namespace {

// The type by extension; the tests run in this order and each later one overrides.
int32_t type_of(const std::string& name, std::span<const uint8_t> bytes, TiffTags& tags, LogLines& lines) {
  int32_t type = kTypeUndetermined;
  if (has_extension(name, ".img") || has_extension(name, ".stl") || has_extension(name, ".osc"))
    type = sniff_raxis_type(bytes);
  if (has_extension(name, ".ccd")) type = kTypeBruker;
  if (has_extension(name, ".tif")) type = sniff_tiff_type(bytes, tags, lines);
  if (has_extension(name, ".gel")) type = kTypeGel;
  return type;
}

// Flat dispatch over the image type; every type without a reader of its own is read as a
// Fuji image.
DecodedImage decode_of_type(int32_t type, std::span<const uint8_t> bytes, const TiffTags& tags,
                            const std::string& inf_path, const DecodeOptions& options, ImageData&& storage) {
  switch (type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS: return decode_raxis_image(bytes, options, std::move(storage));
    case kTypeBruker: return decode_bruker_image(bytes, std::move(storage));
    case kTypeTiff: return decode_tiff_image(bytes, options, std::move(storage));
    case kTypeFloatTiff: return decode_tiff_float_image(bytes, tags, options, std::move(storage));
    case kTypeGel: return decode_gel_image(bytes, options, std::move(storage));
    case kTypeHipic: return decode_hipic_image(bytes, options, std::move(storage));
    default: return read_fuji_image(inf_path, bytes, options, std::move(storage));
  }
}

}  // namespace

bool is_image_extension(const std::string& name) {
  for (const char* ext : {".img", ".stl", ".osc", ".ccd", ".tif", ".gel"})
    if (has_extension(name, ext)) return true;
  return false;
}

int sniff_raxis_type(std::span<const uint8_t> bytes) {
  const std::string_view s(reinterpret_cast<const char*>(bytes.data()), std::min<size_t>(bytes.size(), 10));
  auto has = [s](std::string_view text) { return s.find(text) != std::string_view::npos; };
  int type = has("RAXIS") ? kTypeRaxis : kTypeOtherImg;
  if (has("R-AXIS")) type = kTypeRaxis;
  if (has("R-AXIS-CS")) type = kTypeRaxisCS;
  if (has("R-AXIS4")) type = kTypeRaxis;
  if (has("R-AXIS ")) type = kTypeRigaku;
  if (has("RAXIS")) type = kTypeRaxis;
  if (has("IM")) type = kTypeHipic;
  return type;
}

const char* reader_kind(int32_t type) {
  switch (type) {
    case kTypeRaxis:
    case kTypeRigaku:
    case kTypeRaxisCS: return "Rigaku";
    case kTypeBruker: return "Bruker";
    case kTypeTiff: return "TIFF";
    case kTypeFloatTiff: return "TIFF2";
    case kTypeGel: return "GEL";
    case kTypeHipic: return "HIPIC";
    default: return "Fuji";
  }
}

ImageFileDecode decode_image_file(const std::string& path, const std::string& inf_path, const DecodeOptions& options,
                                  ImageData storage) {
  MappedFile file;
  std::string error;
  if (!file.open(path, &error)) return {kTypeUndetermined, {}, error, DecodedImage(std::move(storage))};
  int32_t type = kTypeUndetermined;
  LogLines lines;
  try {
    TiffTags tags;
    type = type_of(path, file.bytes(), tags, lines);
    return {type, std::move(lines), {}, decode_of_type(type, file.bytes(), tags, inf_path, options, std::move(storage))};
  } catch (const std::exception&) {
    return {type, std::move(lines), {}, DecodedImage()};  // out of memory: the read failed
  }
}

}  // namespace kestrin
