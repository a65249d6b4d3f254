// Script strings: immutable, reference-counted byte strings in code page 932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/refcount.h"

namespace kestrin::script {

// A lead byte of a two-byte CP932 character (its trail byte follows).
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Number of characters in CP932 bytes: a lead byte and its trail byte count as one; a lead
// byte at the very end counts alone.
size_t Cp932CharCount(std::string_view bytes);
// Byte offset of character `index` (clamped to the end).
size_t Cp932ByteOffset(std::string_view bytes, size_t index);

// The hash of every engine name table: h = rotl(h, 2) xor byte, over the CP932 bytes.
inline uint32_t KeyHash(std::string_view key) {
  uint32_t h = 0;
  for (unsigned char c : key) h = ((h << 2) | (h >> 30)) ^ c;
  return h;
}

// Longest script string; longer results raise a script error instead of exhausting memory.
inline constexpr size_t kMaxStringBytes = size_t{1} << 30;

// Heap cell of a string. Allocated with room for `cap` bytes after the header.
struct Str : RcHeader {
  uint32_t len = 0;
  uint32_t cap = 0;
  int32_t nchars = -1;   // character count, computed on first use
  bool lone_tail = false;  // with nchars: the text ends in a lead byte without its trail
  uint32_t hash = 0;
  bool hash_valid = false;
  // The last character position looked up and its byte offset (a character start), so a
  // walk through the text by increasing positions costs its length once.
  uint32_t seek_char = 0;
  uint32_t seek_byte = 0;
  // Byte offsets of characters 0, 64, 128, ... of a long multi-byte text, made the first
  // time a look-up lies before the last position, so that no look-up walks more than 63
  // characters from then on.
  std::vector<uint32_t>* marks = nullptr;
  char* data() { return reinterpret_cast<char*>(this + 1); }
  const char* data() const { return reinterpret_cast<const char*>(this + 1); }
  static Str* Allocate(size_t cap);
  // The cell moved to room for `cap` bytes (at least its length), its text kept; a large
  // cell moves without its bytes being copied or touched. Only for a cell that no handle
  // holds yet (a text being built); throws std::bad_alloc, the old cell intact.
  static Str* Reallocate(Str* s, size_t cap);
  static void Free(Str* s);
};

// Counted handle of a script string. A null handle is the empty string.
class StrRef {
public:
  StrRef() = default;
  StrRef(std::string_view bytes);  // NOLINT: implicit from text is the common case
  StrRef(const char* bytes) : StrRef(std::string_view(bytes)) {}
  StrRef(const std::string& bytes) : StrRef(std::string_view(bytes)) {}
  StrRef(const StrRef& o) : s_(o.s_) { if (s_) ++s_->refs; }
  StrRef(StrRef&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
  StrRef& operator=(const StrRef& o) { StrRef t(o); swap(t); return *this; }
  StrRef& operator=(StrRef&& o) noexcept { StrRef t(std::move(o)); swap(t); return *this; }
  ~StrRef() { if (s_ && --s_->refs == 0) Str::Free(s_); }

  // Adopts a cell that already carries one count for this handle.
  static StrRef Adopt(Str* s) { StrRef r; r.s_ = s; return r; }
  Str* Release() { Str* s = s_; s_ = nullptr; return s; }
  Str* cell() const { return s_; }
  void swap(StrRef& o) noexcept { Str* t = s_; s_ = o.s_; o.s_ = t; }

  std::string_view view() const { return s_ ? std::string_view(s_->data(), s_->len) : std::string_view(); }
  std::string str() const { return std::string(view()); }
  const char* data() const { return s_ ? s_->data() : ""; }
  size_t size() const { return s_ ? s_->len : 0; }
  bool empty() const { return size() == 0; }
  size_t CharCount() const;
  // The key hash of the text, cached in the cell after the first call.
  uint32_t Hash() const { return s_ && s_->hash_valid ? s_->hash : HashSlow(); }
  // Byte offset of character `index` (the size past the last character), and the
  // character index of a byte offset that starts a character; both start from the last
  // position looked up when it lies before the one asked for.
  size_t ByteOffset(size_t index) const;
  size_t CharIndex(size_t byte_offset) const;

  // Appends in place when this handle is the only owner, else copies; grows geometrically.
  void Append(std::string_view more);
  // Replaces the text in place when this handle is the only owner and the cell is large
  // enough, else takes a new cell with room to spare: a text replaced again and again (a
  // line buffer that nobody else holds) costs no allocation.
  void Assign(std::string_view bytes);

  // The same cell, else: equal lengths, equal cached hashes when both are known, and the
  // same bytes (names differ mostly in length or hash, so few reach the byte compare).
  friend bool operator==(const StrRef& a, const StrRef& b) {
    if (a.s_ == b.s_) return true;
    if (!a.s_ || !b.s_) return a.size() == b.size();
    if (a.s_->len != b.s_->len) return false;
    if (a.s_->hash_valid && b.s_->hash_valid && a.s_->hash != b.s_->hash) return false;
    return a.view() == b.view();
  }
  friend bool operator==(const StrRef& a, std::string_view b) { return a.view() == b; }

private:
  uint32_t HashSlow() const;
  Str* s_ = nullptr;
};

StrRef Concat(std::string_view a, std::string_view b);

struct StrRefHash {
  size_t operator()(const StrRef& s) const { return s.Hash(); }
};

}  // namespace kestrin::script
