// Script source text as characters: decoding of UTF-8 or CP932 bytes for the lexer, and the
// encoding of literal text back to the CP932 bytes that script strings hold.
#pragma once

#include <string>
#include <string_view>

namespace kestrin::script {

// Characters at or above this value carry one CP932 character that is not ASCII, as its
// one or two bytes (base + byte, or base + lead * 256 + trail). CP932 text therefore
// round-trips exactly, undefined byte pairs included.
inline constexpr char32_t kCp932CharBase = 0x110000;

// Decodes CP932 bytes: a lead byte and its trail byte make one character, so a trail byte
// 0x5C is never a backslash.
std::u32string DecodeCp932(std::string_view bytes);
// Decodes a script or library file: UTF-8 when the bytes are valid UTF-8, else CP932.
std::u32string DecodeScriptSource(std::string_view bytes);
// True when the bytes are valid UTF-8, which DecodeScriptSource reads as UTF-8.
bool IsStrictUtf8(std::string_view bytes);
// Encodes characters as CP932 bytes; Unicode characters that CP932 lacks become '?'.
std::string EncodeCp932(std::u32string_view text);
// Appends one character's CP932 bytes.
void AppendCp932(char32_t c, std::string& out);

}  // namespace kestrin::script
