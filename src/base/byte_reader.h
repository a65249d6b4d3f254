// Bounds-checked reading of little- and big-endian fields from a byte span; every
// image reader uses it.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace kestrin {

class ByteReader {
public:
  explicit ByteReader(std::span<const uint8_t> bytes) : b_(bytes) {}
  size_t size() const { return b_.size(); }
  bool has(size_t offset, size_t n) const { return offset <= b_.size() && n <= b_.size() - offset; }

  std::optional<uint16_t> u16le(size_t o) const { return has(o, 2) ? std::optional<uint16_t>(uint16_t(b_[o] | b_[o + 1] << 8)) : std::nullopt; }
  std::optional<uint16_t> u16be(size_t o) const { return has(o, 2) ? std::optional<uint16_t>(uint16_t(b_[o] << 8 | b_[o + 1])) : std::nullopt; }
  std::optional<uint32_t> u32le(size_t o) const {
    if (!has(o, 4)) return std::nullopt;
    return uint32_t(b_[o]) | uint32_t(b_[o + 1]) << 8 | uint32_t(b_[o + 2]) << 16 | uint32_t(b_[o + 3]) << 24;
  }
  std::optional<uint32_t> u32be(size_t o) const {
    if (!has(o, 4)) return std::nullopt;
    return uint32_t(b_[o]) << 24 | uint32_t(b_[o + 1]) << 16 | uint32_t(b_[o + 2]) << 8 | uint32_t(b_[o + 3]);
  }
  std::optional<int32_t> i32le(size_t o) const { auto v = u32le(o); return v ? std::optional<int32_t>(int32_t(*v)) : std::nullopt; }
  std::optional<int32_t> i32be(size_t o) const { auto v = u32be(o); return v ? std::optional<int32_t>(int32_t(*v)) : std::nullopt; }
  std::optional<float> f32le(size_t o) const { auto v = u32le(o); return v ? std::optional<float>(bits_to_float(*v)) : std::nullopt; }
  std::optional<float> f32be(size_t o) const { auto v = u32be(o); return v ? std::optional<float>(bits_to_float(*v)) : std::nullopt; }
  std::span<const uint8_t> bytes() const { return b_; }

  static float bits_to_float(uint32_t u) { float f; std::memcpy(&f, &u, 4); return f; }

private:
  std::span<const uint8_t> b_;
};

inline void put_u16be(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void put_u16le(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void put_u32be(uint8_t* p, uint32_t v) { p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v); }
inline void put_u32le(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24); }

}  // namespace kestrin
