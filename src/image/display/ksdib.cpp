// TKsDIB storage, copy on write, palette entries, scan lines, conversions, and the BMP and
// clipboard streams.
#include "image/display/ksdib.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <span>
#include <cstring>
#include <utility>

#include "base/byte_reader.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "image/display/dib_halftone.h"

namespace kestrin {

namespace {

// Pixel blocks of this size or more are refused as corrupt rather than allocated (so a row
// stride always fits an Int32).
constexpr uint64_t kMaxBitsBytes = uint64_t(1) << 31;
// A file may end early (its missing rows read as zero), but not by more than this.
constexpr uint64_t kMaxMissingBytes = uint64_t(64) << 20;

bool valid_bit_count(int32_t b) { return b == 1 || b == 4 || b == 8 || b == 24; }

}  // namespace

void TKsInternalDIB::CreateDIB(int32_t width, int32_t height, int32_t color_count, int32_t bit_count) {
  const int32_t rows = height < 0 ? -height : height;
  if (width <= 0 || height == 0 || color_count < 0 || color_count > 256 || !valid_bit_count(bit_count) ||
      uint64_t(row_bytes(bit_count, width)) * uint64_t(rows) >= kMaxBitsBytes)
    throw EKsDIBInvalidDIBPara("TKsInternalDIB.CreateDIB: Invalid Parameters");
  bits = DibBits(size_t(row_bytes(bit_count, width)) * size_t(rows));
  header = BitmapInfoHeader{};
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = uint16_t(bit_count);
  header.biClrUsed = uint32_t(color_count);
  colors.fill(RGBQuad{});
  Width = width;
  Height = rows;
  palette_modified = true;
}

TKsDIB::TKsDIB() : dib_(std::make_shared<TKsInternalDIB>()) {
  dib_->UseFMO = DefaultUseFMO;
  dib_->CreateDIB(1, 1, 256, 8);
}

TKsDIB::TKsDIB(const TKsDIB& other)
    : TKsGraphic(),
      dib_(other.dib_),
      conversion_mode_(other.conversion_mode_),
      mono_color_(other.mono_color_),
      palette_mode_(other.palette_mode_) {}

void TKsDIB::Assign(const TKsDIB* source) {
  if (source == this) return;
  if (!source) {
    replace_storage(1, 1, 256, 8);
  } else {
    dib_ = source->dib_;
    mono_color_ = source->mono_color_;
    conversion_mode_ = source->conversion_mode_;
    palette_mode_ = source->palette_mode_;
    palette_modified_ = true;
  }
  Changed();
}

void TKsDIB::Changed() {
  modified_ = true;
  if (OnChange) OnChange(*this);
}

void TKsDIB::ChangedStorage() {
  UpdatePaletteModified();
  Changed();
}

void TKsDIB::UpdatePaletteModified() {
  if (dib_.use_count() != 1) throw EKsDIBAssertion("TKsDIB.UpdatePaletteModified RefCount Must be 1");
  if (!dib_->palette_modified) return;
  dib_->palette_modified = false;
  palette_modified_ = true;
}

void TKsDIB::take_block(DibInfo&& block) {
  auto fresh = std::make_shared<TKsInternalDIB>();
  static_cast<DibInfo&>(*fresh) = std::move(block);
  fresh->UseFMO = dib_->UseFMO;
  fresh->Width = fresh->width();
  fresh->Height = fresh->rows();
  fresh->palette_modified = true;
  dib_ = std::move(fresh);
}

void TKsDIB::progress(TProgressStage stage, int percent) {
  if (OnProgress) OnProgress(*this, stage, percent, progress_text_);
}

void TKsDIB::SetPixelFormat(KsPixelFormat format) {
  const KsPixelFormat from = PixelFormat();
  if (from == format) return;
  const bool reporting = is_reducing(from, format);
  ProgressStep step;
  if (reporting) {
    progress_total_ = depth_of(format) == 4 ? 16 : 256;
    progress_count_ = 0;
    progress_text_ = std::string("PixelFormat ") + pixel_format_name(from) + " -> " + pixel_format_name(format);
    progress(psStarting, 0);
    step = [this] { progress(psRunning, ++progress_count_ * 100 / progress_total_); };
  }
  take_block(convert_pixel_format(*dib_, format, conversion_mode_, mono_color_, step));
  ChangedStorage();
  if (reporting) progress(psEnding, 100);
}

void TKsDIB::ConvertToHalfTone() {
  take_block(kestrin::ConvertToHalfTone(*dib_));
  ChangedStorage();
}

void TKsDIB::ConvertToHalfToneBW() {
  take_block(kestrin::ConvertToHalfToneBW(*dib_));
  ChangedStorage();
}

void TKsDIB::replace_storage(int32_t width, int32_t height, int32_t colors, int32_t bits) {
  auto fresh = std::make_shared<TKsInternalDIB>();
  fresh->UseFMO = dib_->UseFMO;
  fresh->CreateDIB(width, height, colors, bits);
  dib_ = std::move(fresh);
}

void TKsDIB::SetWidth(int32_t w) {
  if (w < 1) throw EKsDIBInvalidDIBPara("TKsDIB.SetWidth: Invalid Width");
  if (w == dib_->Width) return;
  replace_storage(w, dib_->header.biHeight, int32_t(dib_->header.biClrUsed), dib_->header.biBitCount);
  ChangedStorage();
}

void TKsDIB::SetHeight(int32_t h) {
  if (h == 0) throw EKsDIBInvalidDIBPara("TKsDIB.SetHeight: Invalid Height");
  if (h == dib_->header.biHeight) return;
  replace_storage(dib_->Width, h, int32_t(dib_->header.biClrUsed), dib_->header.biBitCount);
  ChangedStorage();
}

void TKsDIB::SetBitCount(int32_t bits) {
  if (!valid_bit_count(bits)) throw EKsDIBInvalidDIBPara("TKsDIB.SetBitCount: Invalid BitCount");
  replace_storage(dib_->Width, dib_->header.biHeight, color_count_of(bits), bits);
  ChangedStorage();
}

void TKsDIB::SetPaletteSize(int32_t n) {
  if (dib_->header.biBitCount == 24) {
    if (n < 0 || n > 256) throw EKsDIBPaletteIndexRange("TKsDIB.SetPaletteSize: Palette Index is Out of Range 1");
  } else if (n < 1 || n > 256) {
    throw EKsDIBPaletteIndexRange("TKsDIB.SetPaletteSize: Palette Index is Out of Range 2");
  }
  if (uint32_t(n) == dib_->header.biClrUsed) return;
  UniqueDIB();
  dib_->header.biClrUsed = uint32_t(n);
  dib_->header.biClrImportant = 0;
  dib_->palette_modified = true;
  ChangedStorage();
}

TColor TKsDIB::Color(int index) const {
  if (index < 0 || index > 255) throw EKsDIBPaletteIndexRange("TKsDIB.GetColors: Palette Index is Out of Range");
  const RGBQuad& q = dib_->colors[size_t(index)];
  return rgb_to_color(q.red, q.green, q.blue);
}

void TKsDIB::SetColor(int index, TColor c) {
  if (index < 0 || index > 255) throw EKsDIBPaletteIndexRange("TKsDIB.GetColors: Palette Index is Out of Range");
  UniqueDIB();
  const TColor rgb = ColorToRGB(c);
  dib_->colors[size_t(index)] = RGBQuad{color_blue(rgb), color_green(rgb), color_red(rgb), 0};
  dib_->palette_modified = true;
  ChangedStorage();
}

uint8_t* TKsDIB::ScanLine(int32_t y) {
  if (dib_.use_count() > 1) {
    UniqueDIB();
    UpdatePaletteModified();
  }
  return const_cast<uint8_t*>(std::as_const(*this).ScanLine(y));
}

const uint8_t* TKsDIB::ScanLine(int32_t y) const {
  const auto& h = dib_->header;
  if (h.biCompression != 0) throw EKsDIBBadDIBType("TKsDIB.GetScanLine: Bad DIB Type");
  if (y < 0 || y >= dib_->Height) throw EKsDIBPixelPositionRange("TKsDIB.GetScanLine: y is Out of Range");
  const int32_t row = h.biHeight > 0 ? dib_->Height - 1 - y : y;
  return dib_->row(row);
}

void TKsDIB::UniqueDIB() {
  if (dib_.use_count() > 1) dib_ = std::make_shared<TKsInternalDIB>(*dib_);
}

void TKsDIB::SetTopDown(bool top_down) {
  if (dib_->header.biCompression != BI_RGB) throw EKsDIBBadDIBType("TKsDIB.SetTopDown: Bad DIB Type");
  if ((dib_->header.biHeight < 0) == top_down) return;
  UniqueDIB();
  const size_t stride = dib_->stride();
  std::vector<uint8_t> spare(stride);
  for (int32_t low = 0, high = dib_->Height - 1; low < high; ++low, --high) {
    std::memcpy(spare.data(), dib_->row(low), stride);
    std::memcpy(dib_->row(low), dib_->row(high), stride);
    std::memcpy(dib_->row(high), spare.data(), stride);
  }
  dib_->header.biHeight = -dib_->header.biHeight;
}

void register_ksdib_picture_format(kgui::PictureFormats& formats) {
  formats.registerFormat({"dib", "Device Independent Bitmap", TKsDIB::CF_DIB, [] { return std::make_unique<TKsDIB>(); }});
}

namespace {

// Finds the shift that brings the mask's highest set bit into 128..255 (negative: left).
int mask_shift(uint32_t mask) {
  int high = 31;
  while (high > 0 && !(mask & (1u << high))) --high;
  return high - 7;
}

uint32_t shifted(uint32_t v, int s) { return s >= 0 ? v >> s : v << -s; }

// Converts 16- or 32-bit rows to 24-bit rows by the channel masks.
DibBits convert_to_24(const DibBits& src, int32_t width, int32_t rows, int bits, const uint32_t masks[3]) {
  const size_t src_stride = (size_t(bits / 8) * size_t(width) + 3) & ~size_t(3);
  const size_t dst_stride = (size_t(3) * size_t(width) + 3) & ~size_t(3);
  DibBits dst(dst_stride * size_t(rows));
  int shift[3];
  uint32_t m[3];
  for (int c = 0; c < 3; ++c) {
    shift[c] = mask_shift(masks[c]);
    m[c] = shifted(masks[c], shift[c]);
  }
  for (int32_t y = 0; y < rows; ++y) {
    const size_t row = size_t(y) * src_stride;
    uint8_t* out = dst.data() + size_t(y) * dst_stride;
    for (int32_t x = 0; x < width; ++x) {
      const size_t o = row + size_t(x) * size_t(bits / 8);
      if (o + size_t(bits / 8) > src.size()) return dst;  // short data: the rest stays 0
      uint32_t p = bits == 16 ? uint32_t(src[o] | src[o + 1] << 8)
                              : uint32_t(src[o] | src[o + 1] << 8 | src[o + 2] << 16 | uint32_t(src[o + 3]) << 24);
      // Stored blue, green, red; masks are given red, green, blue.
      for (int c = 0; c < 3; ++c) out[size_t(x) * 3 + size_t(2 - c)] = uint8_t(shifted(p & masks[c], shift[c]) * 255 / m[c]);
    }
  }
  return dst;
}

[[noreturn]] void bad_dib(const char* what) {
  throw EKsDIBInvalidDIB(std::string("TKsInternalDIB.LoadFromStream: ") + what);
}

// Where a header says the colour table lies, and the channel masks of BI_BITFIELDS.
struct ColorTable {
  uint32_t masks[3] = {0, 0, 0};
  size_t at = 0, entries = 0, entry_size = 4;
  size_t end() const { return at + entry_size * entries; }  // the least offset of the pixels
};

// The 40-byte info header, then the masks under BI_BITFIELDS.
ColorTable read_info_header(const ByteReader& r, BitmapInfoHeader& h) {
  if (!r.has(14, 40)) bad_dib("Invalid Width or Height");
  h.biWidth = *r.i32le(18);
  h.biHeight = *r.i32le(22);
  h.biPlanes = *r.u16le(26);
  h.biBitCount = *r.u16le(28);
  h.biCompression = *r.u32le(30);
  h.biSizeImage = *r.u32le(34);
  h.biXPelsPerMeter = *r.i32le(38);
  h.biYPelsPerMeter = *r.i32le(42);
  h.biClrUsed = *r.u32le(46);
  h.biClrImportant = *r.u32le(50);
  if (h.biXPelsPerMeter == 0) h.biXPelsPerMeter = 3780;
  if (h.biYPelsPerMeter == 0) h.biYPelsPerMeter = 3780;
  const int b = h.biBitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) bad_dib("Invalid BitCout");
  if (h.biClrUsed == 0) h.biClrUsed = uint32_t(color_count_of(b));
  ColorTable t;
  t.at = 54;
  if (h.biCompression == 3) {
    if (!r.has(54, 12)) bad_dib("Invalid Masks");
    t.masks[0] = *r.u32le(54);
    t.masks[1] = *r.u32le(58);
    t.masks[2] = *r.u32le(62);
    t.at += 12;
  }
  t.entries = h.biClrUsed;
  return t;
}

// The 12-byte core header: unsigned 16-bit sizes, three bytes per colour.
ColorTable read_core_header(const ByteReader& r, BitmapInfoHeader& h) {
  if (!r.has(14, 12)) bad_dib("Invalid Width or Height");
  h.biWidth = *r.u16le(18);
  h.biHeight = *r.u16le(20);
  h.biBitCount = *r.u16le(24);
  if (!valid_bit_count(h.biBitCount)) bad_dib("Invalid BitCount");
  h.biClrUsed = uint32_t(color_count_of(h.biBitCount));
  ColorTable t;
  t.at = 26;
  t.entries = h.biClrUsed;
  t.entry_size = 3;
  return t;
}

// The pixel data: bfSize - bfOffBits bytes as declared, never beyond the file. Compressed
// data has no row size to fall back on: with no usable size field it is biSizeImage
// bytes, or the rest of the file. Uncompressed rows are always addressable: at least
// stride x height bytes, zero-filled; rows far beyond what the file holds mean a corrupt
// header, not a short file.
DibBits pixel_bytes(std::span<const uint8_t> bmp, const BitmapInfoHeader& h, uint32_t bfSize, uint32_t bfOffBits,
                    int32_t rows) {
  const uint64_t stored_stride = uint64_t(((uint64_t(h.biBitCount) * uint64_t(h.biWidth) + 31) / 32) * 4);
  if (stored_stride * uint64_t(rows) >= kMaxBitsBytes) bad_dib("Invalid Width or Height");
  const bool uncompressed = h.biCompression == 0 || h.biCompression == 3;
  const size_t available = bfOffBits < bmp.size() ? bmp.size() - bfOffBits : 0;
  size_t declared = bfSize > bfOffBits ? size_t(bfSize - bfOffBits) : 0;
  if (!uncompressed && declared == 0) declared = h.biSizeImage ? size_t(h.biSizeImage) : available;
  const size_t taken = std::min(declared, available);
  // 16- and 32-bit pixels are expanded as plain rows whatever the compression field says.
  const bool plain_rows = uncompressed || h.biBitCount == 16 || h.biBitCount == 32;
  size_t size = taken;
  if (plain_rows && taken < stored_stride * uint64_t(rows)) {
    if (stored_stride * uint64_t(rows) - taken > kMaxMissingBytes) bad_dib("Invalid Width or Height");
    size = size_t(stored_stride * uint64_t(rows));
  }
  DibBits data(size);
  if (taken) std::memcpy(data.data(), bmp.data() + (bmp.size() - available), taken);
  return data;
}

// 16- and 32-bit pixels become 24-bit ones, by the file's masks or the default ones.
void expand_to_24(DibBits& data, BitmapInfoHeader& h, uint32_t masks[3], int32_t rows) {
  if (h.biCompression != 3) {
    if (h.biBitCount == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
    else { masks[0] = 0xFF0000; masks[1] = 0x00FF00; masks[2] = 0x0000FF; }
  }
  if (!masks[0] || !masks[1] || !masks[2]) bad_dib("Invalid Masks");
  data = convert_to_24(data, h.biWidth, rows, h.biBitCount, masks);
  h.biBitCount = 24;
  h.biCompression = 0;
  h.biSizeImage = 0;
}

}  // namespace

void TKsDIB::LoadFromBytes(const std::vector<uint8_t>& bmp) {
  load_bmp(bmp);
  ChangedStorage();
}

void TKsDIB::load_bmp(std::span<const uint8_t> bmp) {
  ByteReader r(bmp);
  if (!r.has(0, 18) || *r.u16le(0) != 19778)
    throw EKsDIBInvalidDIBFile("TKsInternalDIB.LoadFromFile: File type is invalid");
  const uint32_t bfSize = *r.u32le(2);
  const uint32_t bfOffBits = *r.u32le(10);
  const uint32_t header_size = *r.u32le(14);

  auto fresh = std::make_shared<TKsInternalDIB>();
  fresh->UseFMO = dib_->UseFMO;
  BitmapInfoHeader& h = fresh->header;
  ColorTable table;
  if (header_size == 40) table = read_info_header(r, h);
  else if (header_size == 12) table = read_core_header(r, h);
  else bad_dib("Invalid Bitmap Header Size");
  if (bfOffBits < table.end()) throw EKsDIBInvalidDIB("TKsInternalDIB.LoadFromFile: bfOffBits is too small");
  for (size_t i = 0; i < table.entries && i < 256; ++i) {
    const size_t o = table.at + i * table.entry_size;
    if (!r.has(o, table.entry_size)) break;
    fresh->colors[i] = RGBQuad{bmp[o], bmp[o + 1], bmp[o + 2], 0};
  }
  if (h.biClrUsed > 256) h.biClrUsed = 256;
  if (h.biWidth < 1 || h.biHeight == 0 || h.biHeight == INT32_MIN) bad_dib("Invalid Width or Height");

  const int32_t rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  DibBits data = pixel_bytes(bmp, h, bfSize, bfOffBits, rows);
  if (h.biBitCount == 16 || h.biBitCount == 32) expand_to_24(data, h, table.masks, rows);
  else if (h.biCompression == 3) bad_dib("Invalid biBitCount");
  h.biSize = 40;
  h.biPlanes = 1;
  fresh->bits = std::move(data);
  fresh->Width = h.biWidth;
  fresh->Height = rows;
  fresh->palette_modified = true;
  dib_ = std::move(fresh);
}

namespace {

// The packed DIB of a storage (header, biClrUsed colours, bits) at `at` in a new block of
// at + its size bytes.
std::vector<uint8_t> packed_dib(const DibInfo& d, size_t at) {
  const auto& h = d.header;
  const uint32_t colors = std::min<uint32_t>(h.biClrUsed, 256);
  std::vector<uint8_t> out(at + 40 + 4 * colors + d.bits.size(), 0);
  uint8_t* p = out.data() + at;
  put_u32le(p, 40);
  put_u32le(p + 4, uint32_t(h.biWidth));
  put_u32le(p + 8, uint32_t(h.biHeight));
  put_u16le(p + 12, 1);
  put_u16le(p + 14, h.biBitCount);
  put_u32le(p + 16, h.biCompression);
  put_u32le(p + 20, h.biSizeImage);
  put_u32le(p + 24, uint32_t(h.biXPelsPerMeter));
  put_u32le(p + 28, uint32_t(h.biYPelsPerMeter));
  put_u32le(p + 32, colors);
  put_u32le(p + 36, h.biClrImportant);
  for (uint32_t i = 0; i < colors; ++i) {
    const RGBQuad& q = d.colors[i];
    p[40 + 4 * i] = q.blue;
    p[41 + 4 * i] = q.green;
    p[42 + 4 * i] = q.red;
  }
  if (!d.bits.empty()) std::memcpy(p + 40 + 4 * colors, d.bits.data(), d.bits.size());
  return out;
}

// The bytes of the colour table and channel masks that follow a packed DIB's header;
// nothing when the header is not one of the two known sizes or is cut short.
std::optional<size_t> packed_table_size(std::span<const uint8_t> packed) {
  const ByteReader r(packed);
  const auto size = r.u32le(0);
  if (!size || (*size != 40 && *size != 12) || !r.has(0, *size)) return std::nullopt;
  if (*size == 12) return size_t(3) * size_t(color_count_of(*r.u16le(10)));
  const uint32_t used = *r.u32le(32);
  const size_t entries = used ? used : size_t(color_count_of(*r.u16le(14)));
  return (*r.u32le(16) == 3 ? 12 : 0) + 4 * entries;
}

}  // namespace

std::vector<uint8_t> TKsDIB::SaveToBytes() const {
  std::vector<uint8_t> out = packed_dib(*dib_, 14);
  const uint32_t off = 54 + 4 * std::min<uint32_t>(dib_->header.biClrUsed, 256);
  put_u16le(out.data(), 19778);
  put_u32le(out.data() + 2, uint32_t(out.size()));
  put_u32le(out.data() + 10, off);
  return out;
}

std::vector<uint8_t> TKsDIB::SaveToClipboardFormat(uint16_t& format) const {
  format = CF_DIB;
  return packed_dib(*dib_, 0);
}

// The packed DIB is read as the BMP file it would be: a file header in front of it.
void TKsDIB::LoadFromClipboardFormat(uint16_t format, const std::vector<uint8_t>* data) {
  if (format != CF_DIB || !data)
    throw EInvalidGraphic("TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
  const std::optional<size_t> table = packed_table_size(*data);
  const size_t header = table ? *ByteReader(*data).u32le(0) : 0;
  if (!table || header + *table > data->size())
    throw EKsDIBInvalidDIB("TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
  std::vector<uint8_t> bmp(14 + data->size());
  put_u16le(bmp.data(), 19778);
  put_u32le(bmp.data() + 2, uint32_t(bmp.size()));
  put_u32le(bmp.data() + 10, uint32_t(14 + header + *table));
  std::memcpy(bmp.data() + 14, data->data(), data->size());
  load_bmp(bmp);
  ChangedStorage();
}

void TKsDIB::LoadFromFile(const std::string& path) {
  std::string bytes, error;
  if (!read_file_bytes(path, bytes, &error))
    throw EKsDIBInvalidDIBFile("TKsInternalDIB.LoadFromFile: " + error);
  load_bmp(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  ChangedStorage();
}

void TKsDIB::SaveToFile(const std::string& path) const {
  auto bytes = SaveToBytes();
  std::string error;
  if (!write_file_bytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error))
    throw EKsDIBError("TKsDIB.SaveToFile: " + error);
}

}  // namespace kestrin
