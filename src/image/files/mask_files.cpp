// Mask files: the ".bgz" codec, the BMP import and their entries.
#include "image/files/mask_files.h"

#include <algorithm>
#include <cerrno>

#include "base/byte_reader.h"
#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "image/display/ksdib.h"
#include "image/image_store.h"

namespace kestrin {

namespace {

constexpr size_t kMaskHeaderBytes = 8;

std::span<const uint8_t> as_bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// The current mask, made to cover the current image first.
ImageMask& current_mask() {
  const ImageStore& img = current_image();
  ImageMask& mask = state().image_mask;
  mask.fit(img.ImageWidth, img.ImageHeight);
  return mask;
}

// Enough of a BMP file for its headers, and the most bytes a picture of w x h pixels can
// need (32 bits per pixel, padded rows, the largest headers and colour table).
constexpr size_t kBmpHeaderPeek = 64;
size_t bmp_size_limit(int32_t w, int32_t h) { return 4096 + size_t(h) * (size_t(w) * 4 + 4); }

// A file that cannot be read or written: the run-time library's error for the last errno.
[[noreturn]] void throw_io_error() { throw EInOutError(io_error_message(errno ? errno : EIO)); }

void remember(FileSlot slot, const std::string& name, int filter_index) {
  state().dialog_slots.folder[slot] = folder_of(name);
  state().dialog_slots.filter_index[slot] = filter_index;
}

}  // namespace

size_t mask_row_bytes(int32_t width) { return width > 0 ? (size_t(width) + 4) / 8 : 0; }

std::string encode_mask_file(const ImageMask& mask) {
  const size_t n = mask_row_bytes(mask.width);
  const size_t rows = mask.height > 0 ? size_t(mask.height) : 0;
  std::string out(kMaskHeaderBytes + rows * n, '\0');
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  put_u32le(p, uint32_t(mask.width));
  put_u32le(p + 4, uint32_t(mask.height));
  const size_t w = size_t(std::max(mask.width, 0));
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t* row = mask.bytes.data() + y * w;
    uint8_t* dst = p + kMaskHeaderBytes + y * n;
    for (size_t x = 0; x < std::min(w, n * 8); ++x)
      if (row[x] == 1) dst[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
  return out;
}

MaskMerge merge_mask_file(std::span<const uint8_t> bytes, ImageMask& mask) {
  const ByteReader r(bytes);
  const auto w = r.i32le(0), h = r.i32le(4);
  if (!w || !h || *w != mask.width || *h != mask.height) return MaskMerge::kSizeMismatch;
  if (mask.bytes.size() != size_t(std::max(mask.width, 0)) * size_t(std::max(mask.height, 0)))
    return MaskMerge::kSizeMismatch;
  const size_t n = mask_row_bytes(mask.width);
  const size_t width = size_t(std::max(mask.width, 0));
  const size_t stored = bytes.size() - kMaskHeaderBytes;
  for (size_t y = 0; y < size_t(std::max(mask.height, 0)); ++y) {
    const size_t at = y * n;
    if (at >= stored) break;
    const size_t have = std::min(n, stored - at);
    const uint8_t* src = bytes.data() + kMaskHeaderBytes + at;
    uint8_t* row = mask.bytes.data() + y * width;
    for (size_t x = 0; x < std::min(width, have * 8); ++x)
      if (src[x / 8] & (0x80 >> (x % 8))) row[x] = 1;
  }
  return MaskMerge::kMerged;
}

bool bmp_picture_size(std::span<const uint8_t> bytes, int32_t& width, int32_t& height) {
  const ByteReader r(bytes);
  if (r.u16le(0) != uint16_t(19778)) return false;  // "BM"
  const auto header = r.u32le(14);
  if (header == 12u) {
    const auto w = r.u16le(18), h = r.u16le(20);
    if (!w || !h) return false;
    width = *w, height = *h;
    return true;
  }
  const auto w = r.i32le(18), h = r.i32le(22);
  if (!header || *header < 40u || !w || !h || *h == INT32_MIN) return false;
  width = *w;
  height = *h < 0 ? -*h : *h;  // top-down pictures have a negative height
  return true;
}

PictureMerge merge_red_pixels(std::span<const uint8_t> bmp, ImageMask& mask, std::string& error) {
  int32_t w = 0, h = 0;
  if (!bmp_picture_size(bmp, w, h)) {
    error = "not a BMP picture";
    return PictureMerge::kUnreadable;
  }
  if (w != mask.width || h != mask.height) return PictureMerge::kSizeMismatch;
  TKsDIB picture;
  try {
    picture.LoadFromBytes(std::vector<uint8_t>(bmp.begin(), bmp.end()));
    if (picture.PixelFormat() != KsPixelFormat::Bit24) picture.SetPixelFormat(KsPixelFormat::Bit24);
  } catch (const std::exception& e) {
    error = e.what();
    return PictureMerge::kUnreadable;
  }
  if (picture.Width() != mask.width || picture.Height() != mask.height) return PictureMerge::kSizeMismatch;
  const size_t width = size_t(mask.width);
  for (int32_t y = 0; y < mask.height; ++y) {
    const uint8_t* bgr = picture.ScanLine(y);
    uint8_t* row = mask.bytes.data() + size_t(y) * width;
    for (size_t x = 0; x < width; ++x, bgr += 3)
      if (bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 255) row[x] = 1;
  }
  return PictureMerge::kMerged;
}

bool load_mask_proc(const std::string& name, int filter_index, Report& report) {
  remember(kSlotMaskOpen, name, filter_index);
  if (name.empty()) {
    report.say(" load_mask_proc() : cancel ");
    return false;
  }
  const std::string ext = extension_of(name);
  if (ext != ".bgz" && ext != ".BGZ") {
    report.say(" load_mask_proc() : " + name + " is not a mask file. ");
    return false;
  }
  // Never more than the header and the rows of the largest image.
  const size_t limit = kMaskHeaderBytes + size_t(kMaxImageSide) * mask_row_bytes(kMaxImageSide);
  std::string bytes;
  errno = 0;
  if (!read_file_bytes(name, bytes, nullptr, limit)) throw_io_error();
  if (merge_mask_file(as_bytes(bytes), current_mask()) == MaskMerge::kSizeMismatch) {
    report.say(" load_mask_proc() : does not much image size ");
    return false;
  }
  report.say(" load_mask_proc : Successfully loaded ");
  return true;
}

void save_mask_proc(const std::string& name, int filter_index, Report& report) {
  remember(kSlotMaskSave, name, filter_index);
  if (name.empty()) {
    report.say(" save_mask_proc() : cancel ");
    return;
  }
  if (to_lower_ascii(extension_of(name)) != ".bgz") {
    report.say(" save_mask_proc() : " + name + " is not a mask file. ");
    return;
  }
  errno = 0;
  if (!write_file_bytes(name, encode_mask_file(current_mask()))) throw_io_error();
  report.say(" save_mask_proc : Successfully saved to " + name);
}

bool import_mask_file(const std::string& name, int filter_index, Report& report) {
  remember(kSlotMaskOpen, name, filter_index);
  if (name.empty()) {
    report.say(" load_mask_proc() : cancel ");
    return false;
  }
  if (extension_of(name) != ".bmp") {
    report.say(" load_mask_proc() : " + name + " is not a BMP file. ");
    return false;
  }
  // The header first: a picture of another size is refused before its pixels are read.
  std::string bytes, error;
  errno = 0;
  if (!read_file_bytes(name, bytes, nullptr, kBmpHeaderPeek)) throw_io_error();
  ImageMask& mask = current_mask();
  int32_t w = 0, h = 0;
  if (bmp_picture_size(as_bytes(bytes), w, h) && w == mask.width && h == mask.height &&
      !read_file_bytes(name, bytes, nullptr, bmp_size_limit(w, h)))
    throw_io_error();
  switch (merge_red_pixels(as_bytes(bytes), mask, error)) {
    case PictureMerge::kSizeMismatch: report.say(" import_mask_file() : does not much image size "); return false;
    case PictureMerge::kUnreadable: report.say(" import_mask_file() : " + name + " cannot be read: " + error + "."); return false;
    case PictureMerge::kMerged: break;
  }
  return true;
}

}  // namespace kestrin
