// TIFF fixture builder: header, IFD, out-of-line values, then the strips.
#include "support/tiff_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace kestrin::test {
namespace {

void put(std::vector<uint8_t>& out, uint32_t v, int size, bool be) {
  for (int i = 0; i < size; ++i) out.push_back(uint8_t(v >> (8 * (be ? size - 1 - i : i))));
}

void patch32(std::vector<uint8_t>& out, size_t pos, uint32_t v, bool be) {
  for (int i = 0; i < 4; ++i) out[pos + i] = uint8_t(v >> (8 * (be ? 3 - i : i)));
}

}  // namespace

std::vector<uint8_t> TiffFixture::u16(std::initializer_list<uint16_t> v) const {
  std::vector<uint8_t> out;
  for (auto x : v) put(out, x, 2, big_endian);
  return out;
}

std::vector<uint8_t> TiffFixture::u32(std::initializer_list<uint32_t> v) const {
  std::vector<uint8_t> out;
  for (auto x : v) put(out, x, 4, big_endian);
  return out;
}

std::vector<uint8_t> TiffFixture::build() const {
  const uint32_t rps = rows_per_strip == 0 ? std::max<uint32_t>(height, 1) : rows_per_strip;
  const uint32_t strips = height == 0 ? 1 : (height + rps - 1) / rps;
  const size_t row_bytes = size_t(width) * std::max<uint16_t>(bits, 8) / 8;
  std::vector<uint32_t> counts;
  for (uint32_t s = 0; s < strips; ++s) {
    const size_t rows = std::min<size_t>(rps, height - std::min(height, s * rps));
    counts.push_back(uint32_t(std::min(rows * row_bytes, samples.size())));
  }
  const auto size_entry = [&](uint16_t tag, uint32_t v) {
    return long_sizes ? TiffFixtureEntry{tag, 4, 1, u32({v})} : TiffFixtureEntry{tag, 3, 1, u16({uint16_t(v)})};
  };
  const auto strip_array = [&](uint16_t tag, const std::vector<uint32_t>& v) {
    TiffFixtureEntry e{tag, uint16_t(short_strip_arrays ? 3 : 4), uint32_t(v.size()), {}};
    for (auto x : v) put(e.value, x, short_strip_arrays ? 2 : 4, big_endian);
    return e;
  };
  std::vector<TiffFixtureEntry> entries = {
      size_entry(256, width), size_entry(257, height), {258, 3, 1, u16({bits})}, {259, 3, 1, u16({1})},
      {262, 3, 1, u16({1})},  strip_array(273, std::vector<uint32_t>(strips, 0)), {277, 3, 1, u16({1})},
      {278, 4, 1, u32({rps})}, strip_array(279, counts)};
  if (sample_format != 0) entries.push_back({339, 3, 1, u16({sample_format})});
  for (const auto& e : extra) {
    std::erase_if(entries, [&](const TiffFixtureEntry& x) { return x.tag == e.tag; });
    entries.push_back(e);
  }
  std::erase_if(entries, [&](const TiffFixtureEntry& x) { return std::count(omit.begin(), omit.end(), x.tag) > 0; });
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.tag < b.tag; });

  std::vector<uint8_t> out = {uint8_t(big_endian ? 'M' : 'I'), uint8_t(big_endian ? 'M' : 'I')};
  put(out, 42, 2, big_endian);
  put(out, 8, 4, big_endian);
  const size_t ifd_size = 2 + 12 * entries.size() + 4;
  size_t extra_pos = 8 + ifd_size;
  size_t offsets_field = 0;
  const bool own_offsets = std::none_of(extra.begin(), extra.end(), [](auto& e) { return e.tag == 273; });
  std::vector<uint8_t> extras;
  put(out, uint32_t(entries.size()), 2, big_endian);
  for (const auto& e : entries) {
    put(out, e.tag, 2, big_endian);
    put(out, e.type, 2, big_endian);
    put(out, e.count, 4, big_endian);
    const size_t field = out.size();
    if (e.value.size() <= 4) {
      out.insert(out.end(), e.value.begin(), e.value.end());
      out.resize(field + 4, 0);
    } else {
      put(out, uint32_t(extra_pos + extras.size()), 4, big_endian);
      extras.insert(extras.end(), e.value.begin(), e.value.end());
      if (extras.size() % 2) extras.push_back(0);
    }
    if (own_offsets && e.tag == 273 && e.type == (short_strip_arrays ? 3 : 4) && e.count == strips) offsets_field = field;
  }
  put(out, 0, 4, big_endian);
  out.insert(out.end(), extras.begin(), extras.end());
  const size_t data_pos = out.size();
  out.insert(out.end(), samples.begin(), samples.end());
  // Fill in the strip offsets now that the data position is known.
  if (offsets_field != 0) {
    const size_t elem = short_strip_arrays ? 2 : 4;
    const bool inline_values = strips * elem <= 4;
    size_t pos = inline_values ? offsets_field : 0;
    if (!inline_values) {
      pos = 0;
      for (int i = 0; i < 4; ++i) pos |= size_t(out[offsets_field + (big_endian ? 3 - i : i)]) << (8 * i);
    }
    for (uint32_t s = 0; s < strips; ++s) {
      const uint32_t v = uint32_t(data_pos + size_t(s) * rps * row_bytes);
      if (elem == 4) patch32(out, pos + 4 * s, v, big_endian);
      else for (int i = 0; i < 2; ++i) out[pos + 2 * s + i] = uint8_t(v >> (8 * (big_endian ? 1 - i : i)));
    }
  }
  return out;
}

std::vector<uint8_t> encode_samples(const std::vector<uint16_t>& codes, int bits, bool big_endian) {
  std::vector<uint8_t> out;
  for (auto c : codes) put(out, c, bits / 8, big_endian);
  return out;
}

std::vector<uint8_t> encode_float_samples(const std::vector<float>& values, bool big_endian) {
  std::vector<uint8_t> out;
  for (float f : values) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    put(out, u, 4, big_endian);
  }
  return out;
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace kestrin::test
