// Character-counting routines over CP932 script strings, shared by the built-in and the
// host objects. A lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it are one
// character; a lead byte at the very end is one character alone and nothing past the end
// is read. Positions are 1-based, arithmetic is 64-bit (no index a script gives overflows)
// and searches match only at character starts, so a trail byte 0x5C is never a "\".
#pragma once

#include <cstdint>
#include <string_view>

#include "script/core/script_string.h"

namespace kestrin::script {

// The largest position a script passes for "to the end".
inline constexpr int64_t kMbcsMax = 2147483647;

int64_t MbcsLength(const StrRef& s);
// Characters index .. index + count - 1 (index below 1 counts as 1); "" for a count below 1
// or an index beyond the end.
StrRef MbcsCopy(const StrRef& s, int64_t index, int64_t count);
// The character at index; "" below 1 or beyond the end.
StrRef MbcsCharAt(const StrRef& s, int64_t index);
// Inserts sub before character index (below 1 counts as 1); length + 1 appends; nothing
// further out.
void MbcsInsert(const StrRef& sub, StrRef& s, int64_t index);
// Removes count characters from index (to the end when fewer remain); nothing when count
// is below 1 or index lies outside the text.
void MbcsDelete(StrRef& s, int64_t index, int64_t count);
// MbcsDelete(s, index, 1), then MbcsInsert(sub, s, index).
void MbcsReplaceChar(const StrRef& sub, StrRef& s, int64_t index);
// Both at least 1: MbcsCopy(s, start, end - start). A start below 1 becomes start + length
// (at least 1), an end below 1 becomes end + length; then the same copy.
StrRef MbcsSlice(const StrRef& s, int64_t start, int64_t end);
// Deletes the range that MbcsSlice would copy, then inserts sub at its start.
void MbcsSplice(const StrRef& sub, StrRef& s, int64_t start, int64_t end);
// Position of the first sub at or after character offset (below 2: the whole text); 0
// when absent or when sub is empty.
int64_t MbcsPos(const StrRef& sub, const StrRef& s, int64_t offset);
// Position of the last sub that starts at or before character index (below 1: anywhere);
// 0 when absent or when sub is empty.
int64_t MbcsLastPos(const StrRef& sub, const StrRef& s, int64_t index);
// The characters in reverse order; a double-byte character keeps its bytes in order.
StrRef MbcsReverse(const StrRef& s);

// Byte positions: the first sub at or after byte offset (below 2: the whole text), and the
// last one starting at or before byte index (0 or less, or beyond the end: anywhere).
int64_t PosEx(std::string_view sub, std::string_view s, int64_t offset);
int64_t LastPos(std::string_view sub, std::string_view s, int64_t index);

}  // namespace kestrin::script
