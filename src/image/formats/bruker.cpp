// Bruker CCD reader. The frame size and data offset are fixed; of the header only the
// bytes-per-pixel field is used, the other parsed fields must merely be integers.
#include "image/formats/bruker.h"

#include <string>

#include "base/byte_reader.h"
#include "base/convert.h"
#include "image/formats/pixel_rows.h"

namespace kestrin {
namespace {

constexpr size_t kLineLength = 80;
constexpr size_t kValueOffset = 8;
constexpr size_t kFieldLength = 10;
constexpr int kParsedLines[] = {0, 1, 2, 39, 40, 41, 42, 43};
constexpr int kBytesPerPixelLine = 39;
constexpr size_t kFrameBytes = size_t(kBrukerSide) * kBrukerSide * 2;

std::string reason(const std::string& text) { return " read_bruker_file() : " + text; }

// Parses the eight header fields; gives the bytes-per-pixel value, or the line of the
// first field that is not an integer.
std::optional<int> bad_header_line(std::span<const uint8_t> bytes, int32_t& bytes_per_pixel) {
  for (int line : kParsedLines) {
    const size_t pos = line * kLineLength + kValueOffset;
    const std::string_view field(reinterpret_cast<const char*>(bytes.data() + pos), kFieldLength);
    const auto v = bruker_field(field);
    if (!v) return line;
    if (line == kBytesPerPixelLine) bytes_per_pixel = *v;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> bruker_field(std::string_view field) {
  while (!field.empty() && (field.back() == ' ' || field.back() == '\0')) field.remove_suffix(1);
  return TryStrToInt(field);
}

DecodedImage decode_bruker_image(std::span<const uint8_t> bytes, ImageData storage) {
  DecodedImage d(std::move(storage));
  d.log(" read_bruker_file()");
  int32_t bytes_per_pixel = 0;
  if (!ByteReader(bytes).has(0, kBrukerDataOffset)) return refused(std::move(d), reason("File is too short."));
  if (const auto line = bad_header_line(bytes, bytes_per_pixel))
    return refused(std::move(d), reason("Header line " + std::to_string(*line) + " is not an integer."));
  if (bytes_per_pixel != 1 && bytes_per_pixel != 2) return refused(std::move(d), reason("Bytes per pixel is not 1 or 2."));
  if (!ByteReader(bytes).has(kBrukerDataOffset, kFrameBytes)) return refused(std::move(d), reason("File is too short."));
  ImageData& image = d.data;
  build_overflow_tables(image, 1.0f);
  image.set_size_unfilled(kBrukerSide, kBrukerSide, bytes_per_pixel);
  d.geometry.pixel_x = d.geometry.pixel_y = 1.0;
  d.geometry.pixel_sizes_unlocked = true;
  decode_u16le_row(bytes.data() + kBrukerDataOffset, image.image_codes.data(), image.image_codes.size());
  scan_statistics(image);
  d.ok = true;
  return d;
}

}  // namespace kestrin
