// Width, kana and case mapping of CP932 text, from our own tables over the Unicode forms
// of the characters: ASCII <-> U+FF01..FF5E, blank <-> U+3000, half-width katakana <->
// full width (voiced and semi-voiced marks composed and split), hiragana <-> katakana by
// the 0x60 offset, simple case mapping of ASCII and the full-width Latin, Greek and
// Cyrillic letters. A character whose mapped form has no CP932 code stays as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::script {

// The mapping flags of LCMapText.
inline constexpr uint32_t kLcmapLowercase = 0x00000100, kLcmapUppercase = 0x00000200,
                          kLcmapHiragana = 0x00100000, kLcmapKatakana = 0x00200000,
                          kLcmapHalfwidth = 0x00400000, kLcmapFullwidth = 0x00800000;

// Applies the flags: full width, then kana, then half width, then case.
std::string LCMapText(std::string_view s, uint32_t flags);
std::string ToZenkaku(std::string_view s);
std::string ToHankaku(std::string_view s);
std::string ToHiragana(std::string_view s);
std::string ToKatakana(std::string_view s);
std::string ToLowerText(std::string_view s);
std::string ToUpperText(std::string_view s);

// The simple case mappings of one code point (itself when it has none among the letters
// above).
uint32_t LowerCodePoint(uint32_t cp);
uint32_t UpperCodePoint(uint32_t cp);

}  // namespace kestrin::script
