// HiPiC reader and writer.
#include "image/formats/hipic.h"

#include <vector>

#include "base/byte_reader.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "image/formats/pixel_rows.h"

namespace kestrin {
namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kDataBase = 64;

struct HipicHeader {
  uint16_t comment_length = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytes_per_pixel = 0;  // 0 for an unknown pixel kind
  size_t data_offset() const { return kDataBase + comment_length; }
  size_t data_bytes() const { return size_t(width) * size_t(height) * size_t(bytes_per_pixel); }
};

bool parse_header(std::span<const uint8_t> bytes, HipicHeader& h) {
  const ByteReader r(bytes);
  if (!r.has(0, kHeaderSize)) return false;
  h.comment_length = *r.u16le(2);
  h.width = *r.u16le(4);
  h.height = *r.u16le(6);
  const uint16_t kind = *r.u16le(12);
  h.bytes_per_pixel = kind == 0 ? 1 : kind == 1 ? 2 : kind == 2 ? 4 : 0;
  return true;
}

// Why the header or the data cannot be read, checked before any pixel memory is sized;
// empty when they can.
std::string header_problem(std::span<const uint8_t> bytes, HipicHeader& h) {
  if (!parse_header(bytes, h)) return "read_hipic_file() : File is too short.";
  if (h.width > kMaxImageSide || h.height > kMaxImageSide) return "read_hipic_file() : Number of pixels is too large.";
  if (h.width == 0 || h.height == 0) return "read_hipic_file() : Number of pixels is zero.";
  if (h.bytes_per_pixel == 0) return "read_hipic_file() : Unknown pixel kind.";
  if (!ByteReader(bytes).has(h.data_offset(), h.data_bytes())) return "read_hipic_file() : File is too short.";
  return {};
}

// 4-byte pixels: the low two bytes are the code; the high two must be zero.
bool decode_u32_row(const uint8_t* src, uint16_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* p = src + 4 * i;
    if (p[2] != 0 || p[3] != 0) return false;
    dst[i] = uint16_t(p[0] | p[1] << 8);
  }
  return true;
}

bool decode_hipic_pixels(ImageData& image, const uint8_t* data, bool reverse) {
  const size_t w = size_t(image.ImageWidth);
  const size_t bpp = size_t(image.BytesPerPixel);
  bool ok = true;
  for_each_file_row(image, reverse, [&](uint16_t* dst, int32_t r) {
    const uint8_t* src = data + size_t(r) * w * bpp;
    if (bpp == 1) decode_u8_row(src, dst, w);
    else if (bpp == 2) decode_u16le_row(src, dst, w);
    else if (ok) ok = decode_u32_row(src, dst, w);
  });
  return ok;
}

}  // namespace

DecodedImage decode_hipic_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage) {
  DecodedImage d(std::move(storage));
  HipicHeader h;
  if (std::string problem = header_problem(bytes, h); !problem.empty()) return refused(std::move(d), problem);
  d.data.set_size_unfilled(h.width, h.height, h.bytes_per_pixel);
  build_overflow_tables(d.data, 1.0f);
  if (!decode_hipic_pixels(d.data, bytes.data() + h.data_offset(), options.reverse_rows))
    return refused(std::move(d), "read_hipic_file. byte error.");
  scan_statistics(d.data);
  d.ok = true;
  return d;
}

WriteResult save_hipic_file(const ImageData& image, const std::string& source, const std::string& name,
                            bool reverse_rows) {
  std::string file;
  HipicHeader h;
  const auto bytes = [&] { return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(file.data()), file.size()); };
  if (!bytes_after_copy(source, name, file) || !parse_header(bytes(), h) || h.bytes_per_pixel == 0 ||
      h.width != image.ImageWidth || h.height != image.ImageHeight ||
      image.image_codes.size() != size_t(h.width) * size_t(h.height))
    return {false, {"save_hipic_file() : " + name + " does not match the image."}};
  if (file.size() < h.data_offset() + h.data_bytes()) file.resize(h.data_offset() + h.data_bytes(), '\0');
  const size_t w = size_t(h.width);
  const size_t bpp = size_t(h.bytes_per_pixel);
  auto* out = reinterpret_cast<uint8_t*>(file.data()) + h.data_offset();
  for_each_file_row(image, reverse_rows, [&](const uint16_t* src, int32_t r) {
    uint8_t* dst = out + size_t(r) * w * bpp;
    if (bpp == 1) encode_u8_row(src, dst, w);
    else if (bpp == 2) encode_u16le_row(src, dst, w);
    else
      for (size_t i = 0; i < w; ++i) put_u32le(dst + 4 * i, src[i]);
  });
  if (!write_file_bytes(name, file)) return {false, {"save_hipic_file() : " + name + " write error."}};
  return {};
}

}  // namespace kestrin
