// Conversion between UTF-8 and code page 932 (Shift-JIS as Windows has it), through iconv.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// Unconvertible input bytes/characters become '?'.
std::string cp932_to_utf8(std::string_view cp932);
std::string utf8_to_cp932(std::string_view utf8);
bool is_valid_utf8(std::string_view s);
// Appends the UTF-8 bytes of one code point; a surrogate or a value past U+10FFFF gives '?'.
void append_utf8(std::string& out, uint32_t cp);
// A lead byte of a CP932 double-byte character.
inline bool is_cp932_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace kestrin
