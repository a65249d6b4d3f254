// CP932 characters as Unicode code points, both ways, from the platform's "CP932" table.
// A character code is its byte, or lead byte * 256 + trail byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::script {

// The code point of a character code; 0 when the code is no CP932 character.
uint32_t Cp932ToUnicode(uint32_t code);
// The CP932 code of a code point (the platform's choice where several codes share it);
// 0 when it has none.
uint32_t UnicodeToCp932(uint32_t code_point);

// The character code at `at` of CP932 text and its size in bytes (a lead byte at the very
// end is a one-byte character).
uint32_t Cp932CodeAt(std::string_view s, size_t at, size_t& size);

// One character of CP932 text: its code, its code point (0 when it has none; the NUL
// character has code point 0 too) and its bytes.
struct Cp932Char {
  uint32_t code;
  uint32_t code_point;
  std::string_view bytes;
  bool mapped() const { return code_point != 0 || code == 0; }
};

// Calls f(character) for each character of the text in order.
template <class F>
void ForEachCp932Char(std::string_view s, F f) {
  for (size_t at = 0; at < s.size();) {
    size_t size = 0;
    const uint32_t code = Cp932CodeAt(s, at, size);
    f(Cp932Char{code, Cp932ToUnicode(code), s.substr(at, size)});
    at += size;
  }
}
// Appends the bytes of a character code.
void AppendCp932(std::string& out, uint32_t code);

}  // namespace kestrin::script
