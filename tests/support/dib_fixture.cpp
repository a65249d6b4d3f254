// Synthetic bitmaps and the slow reference reader of their pixels.
#include "support/dib_fixture.h"

#include <ostream>

namespace kestrin::test {

std::ostream& operator<<(std::ostream& os, const RefPixel& p) {
  return os << "{" << p.index << " " << int(p.red) << "," << int(p.green) << "," << int(p.blue) << "}";
}

uint32_t hash_color(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h & 0xFFFFFF;
}

uint32_t runs_picture(int x, int y, int values) {
  const uint32_t h = hash_color(x / 8, y, 4);
  return (x / 8) % 5 == 4 ? uint32_t(x * 7 + y) % uint32_t(values) : h % uint32_t(values);
}

TKsDIB make_picture(int bits, int width, int height, const std::function<uint32_t(int x, int y)>& value,
                    const std::function<uint32_t(int i)>& palette) {
  TKsDIB d;
  d.SetWidth(width);
  d.SetHeight(height);
  d.SetBitCount(bits);
  if (bits != 24)
    for (int i = 0; i < d.PaletteSize(); ++i) {
      const uint32_t c = palette ? palette(i) : uint32_t(i * 0x010305);
      d.SetColor(i, rgb_to_color(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)));
    }
  const int rows = height < 0 ? -height : height;
  for (int y = 0; y < rows; ++y) {
    uint8_t* row = d.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      if (bits == 24) {
        row[3 * x] = uint8_t(v);
        row[3 * x + 1] = uint8_t(v >> 8);
        row[3 * x + 2] = uint8_t(v >> 16);
      } else if (bits == 8) {
        row[x] = uint8_t(v);
      } else if (bits == 4) {
        row[x / 2] |= uint8_t((v & 15) << (x % 2 ? 0 : 4));
      } else {
        row[x / 8] |= uint8_t((v & 1) << (7 - x % 8));
      }
    }
  }
  return d;
}

namespace {

// Index rows in storage order from run-length data: (n, v) runs, end of line, end of
// bitmap, delta and literal runs padded to whole 16-bit words.
std::vector<std::vector<int>> decode_runs(const DibInfo& in, bool nibbles) {
  std::vector<std::vector<int>> rows(size_t(in.rows()), std::vector<int>(size_t(in.width()), 0));
  const auto& d = in.bits;
  size_t i = 0;
  int x = 0, y = 0;
  while (i + 1 < d.size()) {
    const int n = d[i], v = d[i + 1];
    i += 2;
    if (n > 0) {
      for (int k = 0; k < n; ++k) rows[size_t(y)][size_t(x++)] = nibbles ? (k % 2 ? v & 15 : v >> 4) : v;
    } else if (v == 0) {
      x = 0, ++y;
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      x += d[i], y += d[i + 1];
      i += 2;
    } else {
      for (int k = 0; k < v; ++k) {
        const int b = nibbles ? d[i + size_t(k / 2)] : d[i + size_t(k)];
        rows[size_t(y)][size_t(x++)] = nibbles ? (k % 2 ? b & 15 : b >> 4) : b;
      }
      const int bytes = nibbles ? (v + 1) / 2 : v;
      i += size_t(bytes + bytes % 2);
    }
  }
  return rows;
}

}  // namespace

std::vector<RefPixel> read_pixels(const TKsDIB& dib) {
  const TKsInternalDIB& in = dib.internal();
  const auto& h = in.header;
  const int width = in.width(), rows = in.rows(), bits = h.biBitCount;
  std::vector<std::vector<int>> runs;
  if (h.biCompression != BI_RGB) runs = decode_runs(in, h.biCompression == BI_RLE4);
  std::vector<RefPixel> out;
  for (int y = 0; y < rows; ++y) {
    const int stored = h.biHeight > 0 ? rows - 1 - y : y;
    const uint8_t* row = in.bits.data() + size_t(stored) * in.stride();
    for (int x = 0; x < width; ++x) {
      RefPixel p;
      if (!runs.empty()) {
        p.index = runs[size_t(stored)][size_t(x)];
      } else if (bits == 24) {
        p.blue = row[3 * x], p.green = row[3 * x + 1], p.red = row[3 * x + 2];
        out.push_back(p);
        continue;
      } else if (bits == 8) {
        p.index = row[x];
      } else if (bits == 4) {
        p.index = x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
      } else {
        p.index = (row[x / 8] >> (7 - x % 8)) & 1;
      }
      const RGBQuad& q = in.colors[size_t(p.index)];
      p.red = q.red, p.green = q.green, p.blue = q.blue;
      out.push_back(p);
    }
  }
  return out;
}

}  // namespace kestrin::test
