// BI_RLE8 and BI_RLE4: the encoder's per-row state machine with its room checks, and the
// decoder that bounds every run by the picture and every read by the data.
#include "image/display/dib_rle.h"

#include <cstring>
#include <string>

#include "image/display/dib_depth.h"

namespace kestrin {
namespace {

// The encoded output: a work buffer of the uncompressed size. Each write first checks the
// room it needs (more than it writes, so the result always fits the uncompressed size).
class RleWriter {
public:
  RleWriter(size_t size, const char* name) : buffer_(size), name_(name) {}

  void run(uint8_t count, uint8_t value) {
    need(6);
    put(count);
    put(value);
  }
  void absolute(uint8_t count, const uint8_t* bytes, size_t n) {
    const size_t padded = (n + 1) & ~size_t(1);
    need(padded + 6);
    put(0);
    put(count);
    std::memcpy(buffer_.data() + length_, bytes, n);
    std::memset(buffer_.data() + length_ + n, 0, padded - n);
    length_ += padded;
  }
  void end_of_line() {
    need(4);
    put(0);
    put(0);
  }
  void end_of_bitmap() {
    need(2);
    put(0);
    put(1);
  }
  // The encoded bytes in a block of their exact length.
  DibBits result() const { return DibBits(buffer_.data(), length_); }
  const char* name() const { return name_; }

private:
  void need(size_t n) const {
    if (buffer_.size() - length_ < n) throw EKsDIBCompressionFailed(std::string(name_) + ": Compression Failed");
  }
  void put(uint8_t b) { buffer_[length_++] = b; }

  DibBits buffer_;
  size_t length_ = 0;
  const char* name_;
};

// One row's groups. The machine runs over the row's bytes (for 4 bits, bytes of two pixels);
// `pixels` turns a group of bytes into the pixel count written for it.
struct RowEncoder {
  RleWriter& out;
  const uint8_t* row;
  size_t bytes;     // bytes of the row that hold pixels
  size_t max_group; // bytes in one run or stretch
  bool nibbles;     // 4-bit rows
  bool odd_width;   // 4-bit rows whose last byte holds one pixel

  uint8_t pixels(size_t start, size_t len) const {
    if (!nibbles) return uint8_t(len);
    return uint8_t(2 * len - (odd_width && start + len == bytes ? 1 : 0));
  }
  void write_run(size_t start, size_t len) const { out.run(pixels(start, len), row[start]); }
  // A stretch of more than two values is an absolute run; shorter ones are runs of 1.
  void write_stretch(size_t start, size_t len) const {
    if (len == 0) throw EKsDIBAssertion(std::string(out.name()) + ": WriteAbsolute Error");
    if (len > 2) {
      out.absolute(pixels(start, len), row + start, len);
      return;
    }
    for (size_t i = start; i < start + len; ++i) write_run(i, 1);
  }

  // Two equal neighbours always start a run; a value equal to a stretch's last one takes it
  // back out of the stretch into a run of two.
  void encode() const {
    enum { Start, One, Run, Stretch } state = Start;
    size_t start = 0, len = 0;
    for (size_t i = 0; i < bytes; ++i) {
      const uint8_t v = row[i];
      switch (state) {
        case Start: start = i, len = 1, state = One; break;
        case One: len = 2, state = v == row[start] ? Run : Stretch; break;
        case Run:
          if (v == row[start] && len < max_group) {
            ++len;
          } else {
            write_run(start, len);
            start = i, len = 1, state = One;
          }
          break;
        case Stretch:
          if (v != row[i - 1]) {
            if (len < max_group) {
              ++len;
            } else {
              write_stretch(start, len);
              start = i, len = 1, state = One;
            }
          } else {
            write_stretch(start, len - 1);
            start = i - 1, len = 2, state = Run;
          }
          break;
      }
    }
    if (state == One || state == Run) write_run(start, len);
    if (state == Stretch) write_stretch(start, len);
    out.end_of_line();
  }
};

DibInfo encode(const DibInfo& src, uint16_t bit_count, const char* name) {
  if (src.header.biBitCount != bit_count || src.header.biCompression != BI_RGB)
    throw EKsDIBBadDIBType(std::string(name) + ": Invalid Bitcount & Compression Combination");
  const int32_t rows = src.rows(), width = src.width();
  const bool nibbles = bit_count == 4;
  RleWriter out(src.stride() * size_t(rows), name);
  const size_t row_bytes = nibbles ? (size_t(width) + 1) / 2 : size_t(width);
  // Bottom-up: storage order of a bottom-up DIB, from the last stored row of a top-down one.
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t stored = src.header.biHeight > 0 ? r : rows - 1 - r;
    RowEncoder{out, src.row(stored), row_bytes, nibbles ? 127u : 255u, nibbles, nibbles && width % 2 == 1}.encode();
  }
  out.end_of_bitmap();
  DibInfo dst;
  dst.header = src.header;
  dst.header.biHeight = rows;
  dst.header.biCompression = nibbles ? BI_RLE4 : BI_RLE8;
  dst.colors = src.colors;
  dst.bits = out.result();
  dst.header.biSizeImage = uint32_t(dst.bits.size());
  return dst;
}

// Writes n pixels at column x of a row: a run of `value` (`run`) or the literal bytes.
void put_pixels(uint8_t* row, int32_t x, int32_t n, const uint8_t* literal, uint8_t value, bool nibbles) {
  if (!nibbles) {
    if (literal) std::memcpy(row + x, literal, size_t(n));
    else std::memset(row + x, value, size_t(n));
    return;
  }
  for (int32_t k = 0; k < n; ++k) {
    const uint8_t b = literal ? literal[k / 2] : value;
    set_indexed_pixel(row, x + k, 4, k % 2 == 0 ? uint8_t(b >> 4) : uint8_t(b & 0x0F));
  }
}

// `first_message` is the number of "Bad RLE Data" for a row past the end (1 for RLE8, 5 for
// RLE4); the delta, literal and run errors follow it.
DibInfo decode(const DibInfo& src, uint16_t bit_count, uint32_t compression, const char* name, int first_message) {
  if (src.header.biBitCount != bit_count || src.header.biCompression != compression)
    throw EKsDIBBadDIBType(std::string(name) + ": Invalid Bitcount & Compression Combination");
  auto bad = [&](int n) { return EKsDIBInvalidDIB(std::string(name) + ": Bad RLE Data " + std::to_string(first_message + n)); };
  const bool nibbles = bit_count == 4;
  DibInfo dst;
  dst.header = src.header;
  dst.header.biCompression = BI_RGB;
  dst.header.biSizeImage = 0;
  dst.colors = src.colors;
  dst.allocate_rows();
  const int64_t width = src.width(), height = src.rows();
  const uint8_t* p = src.bits.data();
  const size_t n = src.bits.size();
  int64_t col = 0, row = 0;
  // Data that ends before its end-of-bitmap mark ends the picture where it stops.
  for (size_t i = 0; i + 2 <= n;) {
    const uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      if (col + count > width || row >= height) throw bad(3);
      put_pixels(dst.row(int32_t(row)), int32_t(col), count, nullptr, value, nibbles);
      col += count;
    } else if (value == 0) {
      col = 0;
      if (++row > height) throw bad(0);
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (i + 2 > n) break;
      col += p[i];
      row += p[i + 1];
      i += 2;
      if (col > width || row > height) throw bad(1);
    } else {
      if (col + value > width || row >= height) throw bad(2);
      const size_t bytes = nibbles ? (size_t(value) + 1) / 2 : value;
      if (n - i < bytes) break;
      put_pixels(dst.row(int32_t(row)), int32_t(col), value, p + i, 0, nibbles);
      col += value;
      i += (bytes + 1) & ~size_t(1);
    }
  }
  return dst;
}

}  // namespace

DibInfo Convert8BitRGBTo8BitRLE(const DibInfo& src) { return encode(src, 8, "Convert8BitRGBTo8BitRLE"); }
DibInfo Convert4BitRGBTo4BitRLE(const DibInfo& src) { return encode(src, 4, "Convert4BitRGBTo4BitRLE"); }

DibInfo Convert8BitRLETo8BitRGB(const DibInfo& src) {
  return decode(src, 8, BI_RLE8, "Convert8BitRLETo8BitRGB", 1);
}
DibInfo Convert4BitRLETo4BitRGB(const DibInfo& src) {
  return decode(src, 4, BI_RLE4, "Convert4BitRLETo4BitRGB", 5);
}

}  // namespace kestrin
