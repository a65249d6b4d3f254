// Base64 coding with the standard alphabet.
#include "base/base64.h"

#include <array>

namespace kestrin {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<unsigned char, 256> make_values() {
  std::array<unsigned char, 256> v{};
  for (int i = 0; i < 64; ++i) v[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
  return v;
}
constexpr std::array<unsigned char, 256> kValues = make_values();

constexpr std::array<bool, 256> make_digit_flags() {
  std::array<bool, 256> v{};
  for (int i = 0; i < 64; ++i) v[static_cast<unsigned char>(kAlphabet[i])] = true;
  return v;
}
constexpr std::array<bool, 256> kIsDigit = make_digit_flags();

// Appends the bytes of `count` (2 to 4) collected sextets.
void flush_group(const unsigned (&sextets)[4], int count, std::string& out) {
  unsigned bits = 0;
  for (int i = 0; i < 4; ++i) bits = bits << 6 | (i < count ? sextets[i] : 0);
  for (int i = 0; i < count - 1; ++i) out += static_cast<char>((bits >> (16 - 8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBase64(std::string_view s) {
  std::string out;
  out.reserve((s.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= s.size(); i += 3) {
    const unsigned bits = static_cast<unsigned char>(s[i]) << 16 | static_cast<unsigned char>(s[i + 1]) << 8 |
                          static_cast<unsigned char>(s[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(bits >> shift) & 63];
  }
  const size_t rest = s.size() - i;
  if (rest > 0) {
    unsigned bits = static_cast<unsigned char>(s[i]) << 16;
    if (rest == 2) bits |= static_cast<unsigned char>(s[i + 1]) << 8;
    out += kAlphabet[(bits >> 18) & 63];
    out += kAlphabet[(bits >> 12) & 63];
    out += rest == 2 ? kAlphabet[(bits >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string DecodeBase64(std::string_view s) {
  std::string out;
  out.reserve(s.size() / 4 * 3 + 2);
  unsigned sextets[4] = {0, 0, 0, 0};
  int count = 0;
  for (char c : s) {
    if (c == '=') {
      if (count > 1) flush_group(sextets, count, out);
      count = 0;
      continue;
    }
    if (!kIsDigit[static_cast<unsigned char>(c)]) continue;  // CR, LF and strays
    sextets[count++] = kValues[static_cast<unsigned char>(c)];
    if (count == 4) {
      flush_group(sextets, 4, out);
      count = 0;
    }
  }
  if (count > 1) flush_group(sextets, count, out);
  return out;
}

}  // namespace kestrin
