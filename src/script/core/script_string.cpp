// Script string cells: allocation, character counts and in-place appending.
#include "script/core/script_string.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <cstring>
#include <new>

#include "script/core/error_table.h"
#include "script/core/errors.h"

namespace kestrin::script {

// Counts characters; `lone_tail` tells whether the last one is a lead byte alone.
static size_t CountChars(std::string_view bytes, bool& lone_tail) {
  size_t n = 0, i = 0;
  const size_t size = bytes.size();
  while (i < size) {
    // Runs of plain ASCII, eight bytes at a time.
    for (uint64_t word; i + 8 <= size; i += 8, n += 8) {
      std::memcpy(&word, bytes.data() + i, 8);
      if (word & 0x8080808080808080ull) break;
    }
    if (i >= size) break;
    i += IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    ++n;
  }
  lone_tail = i > size;
  return n;
}

size_t Cp932CharCount(std::string_view bytes) {
  bool lone_tail = false;
  return CountChars(bytes, lone_tail);
}

size_t Cp932ByteOffset(std::string_view bytes, size_t index) {
  size_t i = 0;
  for (size_t n = 0; n < index && i < bytes.size(); ++n) i += IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
  return i < bytes.size() ? i : bytes.size();
}

static void CheckLength(size_t n) {
  if (n > kMaxStringBytes) RaiseError(ScriptError::StringTooLong);
}

// Cells come from malloc, so that Reallocate can move a large one by remapping its pages.
Str* Str::Allocate(size_t cap) {
  CheckLength(cap);
  void* mem = std::malloc(sizeof(Str) + cap + 1);
  if (!mem) throw std::bad_alloc();
  Str* s = new (mem) Str();
  s->cap = static_cast<uint32_t>(cap);
  s->refs = 1;
  return s;
}

Str* Str::Reallocate(Str* s, size_t cap) {
  CheckLength(cap);
  if (cap < s->len) cap = s->len;
  void* mem = std::realloc(s, sizeof(Str) + cap + 1);
  if (!mem) throw std::bad_alloc();
  s = static_cast<Str*>(mem);
  s->cap = static_cast<uint32_t>(cap);
  return s;
}

void Str::Free(Str* s) {
  delete s->marks;
  s->~Str();
  std::free(s);
}

static Str* MakeCell(std::string_view bytes, size_t cap) {
  Str* s = Str::Allocate(cap);
  if (!bytes.empty()) std::memcpy(s->data(), bytes.data(), bytes.size());
  s->len = static_cast<uint32_t>(bytes.size());
  s->data()[s->len] = '\0';
  return s;
}

StrRef::StrRef(std::string_view bytes) {
  if (!bytes.empty()) s_ = MakeCell(bytes, bytes.size());
}

size_t StrRef::CharCount() const {
  if (!s_) return 0;
  if (s_->nchars < 0) s_->nchars = static_cast<int32_t>(CountChars(view(), s_->lone_tail));
  return static_cast<size_t>(s_->nchars);
}

namespace {

constexpr unsigned kMarkShift = 6;      // a mark every 64 characters
constexpr size_t kMarkedTextBytes = 512;  // shorter texts walk from their start

// The marks of a multi-byte text, made on first use.
const std::vector<uint32_t>& MarksOf(Str& s) {
  if (!s.marks) {
    auto marks = std::make_unique<std::vector<uint32_t>>();
    const char* p = s.data();
    size_t n = 0;
    for (size_t i = 0; i < s.len; ++n) {
      if ((n & ((1u << kMarkShift) - 1)) == 0) marks->push_back(static_cast<uint32_t>(i));
      i += IsLeadByte(static_cast<unsigned char>(p[i])) ? 2 : 1;
    }
    s.marks = marks.release();
  }
  return *s.marks;
}

// The known character start nearest before character `index`: the last position looked
// up, a mark, or the start of the text.
void NearestStart(Str& s, size_t index, size_t& n, size_t& i) {
  n = i = 0;
  if (index >= s.seek_char) {
    n = s.seek_char;
    i = s.seek_byte;
  }
  if (index - n < (size_t{1} << kMarkShift) || s.len < kMarkedTextBytes) return;
  const std::vector<uint32_t>& marks = MarksOf(s);
  const size_t k = std::min(index >> kMarkShift, marks.size() - 1);
  if ((k << kMarkShift) > n) {
    n = k << kMarkShift;
    i = marks[k];
  }
}

void ForgetPositions(Str& s) {
  s.seek_char = s.seek_byte = 0;
  delete s.marks;
  s.marks = nullptr;
}

}  // namespace

size_t StrRef::ByteOffset(size_t index) const {
  const size_t size = this->size();
  if (CharCount() == size) return index < size ? index : size;  // one byte per character
  size_t n = 0, i = 0;
  NearestStart(*s_, index, n, i);
  const char* p = s_->data();
  while (n < index && i < size) {
    i += IsLeadByte(static_cast<unsigned char>(p[i])) ? 2 : 1;
    ++n;
  }
  if (i >= size) return size;
  s_->seek_char = static_cast<uint32_t>(n);
  s_->seek_byte = static_cast<uint32_t>(i);
  return i;
}

size_t StrRef::CharIndex(size_t byte_offset) const {
  const size_t size = this->size();
  if (byte_offset > size) byte_offset = size;
  if (CharCount() == size) return byte_offset;
  size_t n = 0, i = 0;
  if (byte_offset >= s_->seek_byte) {
    n = s_->seek_char;
    i = s_->seek_byte;
  }
  if (byte_offset - i >= (size_t{1} << kMarkShift) && size >= kMarkedTextBytes) {
    const std::vector<uint32_t>& marks = MarksOf(*s_);
    const size_t k = static_cast<size_t>(std::upper_bound(marks.begin(), marks.end(), byte_offset) - marks.begin()) - 1;
    if (marks[k] > i) {
      n = k << kMarkShift;
      i = marks[k];
    }
  }
  const char* p = s_->data();
  while (i < byte_offset) {
    i += IsLeadByte(static_cast<unsigned char>(p[i])) ? 2 : 1;
    ++n;
  }
  if (i < size) {
    s_->seek_char = static_cast<uint32_t>(n);
    s_->seek_byte = static_cast<uint32_t>(i);
  }
  return n;
}

uint32_t StrRef::HashSlow() const {
  if (!s_) return 0;
  if (!s_->hash_valid) {
    s_->hash = KeyHash(view());
    s_->hash_valid = true;
  }
  return s_->hash;
}

void StrRef::Assign(std::string_view bytes) {
  if (!s_ || s_->refs != 1 || bytes.size() > s_->cap) {
    CheckLength(bytes.size());
    const size_t cap = bytes.size() < 64 ? 64 : bytes.size() + bytes.size() / 2;
    *this = Adopt(MakeCell(bytes, cap > kMaxStringBytes ? bytes.size() : cap));
    return;
  }
  std::memmove(s_->data(), bytes.data(), bytes.size());
  s_->len = static_cast<uint32_t>(bytes.size());
  s_->data()[s_->len] = '\0';
  s_->nchars = -1;
  s_->lone_tail = false;
  s_->hash_valid = false;
  ForgetPositions(*s_);
}

void StrRef::Append(std::string_view more) {
  if (more.empty()) return;
  size_t need = size() + more.size();
  CheckLength(need);
  // A known count grows by the appended characters, so a text built by appending is never
  // counted again from its start; a lead byte alone at the old end would pair anew.
  const bool known = !s_ || (s_->nchars >= 0 && !s_->lone_tail);
  bool lone_tail = false;
  const int32_t nchars = known ? static_cast<int32_t>((s_ ? s_->nchars : 0) + CountChars(more, lone_tail)) : -1;
  const bool in_place = s_ && s_->refs == 1 && need <= s_->cap;
  Str* s = s_;
  if (!in_place) {
    size_t cap = need < 16 ? 16 : need + need / 2;
    if (cap > kMaxStringBytes) cap = need;
    s = MakeCell(view(), cap);
    if (s_) {
      s->seek_char = s_->seek_char;
      s->seek_byte = s_->seek_byte;
    }
  }
  // `more` may lie in the old text: it is copied before the old cell can go.
  std::memcpy(s->data() + s->len, more.data(), more.size());
  s->len = static_cast<uint32_t>(need);
  s->data()[need] = '\0';
  s->nchars = nchars;
  s->lone_tail = lone_tail;
  s->hash_valid = false;
  // Appending keeps the last position, unless the old last byte was a lead byte alone
  // that now pairs with the new text; marks are made anew for the longer text.
  if (!known) ForgetPositions(*s);
  delete s->marks;
  s->marks = nullptr;
  if (!in_place) *this = Adopt(s);
}

StrRef Concat(std::string_view a, std::string_view b) {
  size_t n = a.size() + b.size();
  if (n == 0) return StrRef();
  Str* s = MakeCell(a, n);
  if (!b.empty()) std::memcpy(s->data() + a.size(), b.data(), b.size());
  s->len = static_cast<uint32_t>(n);
  s->data()[n] = '\0';
  return StrRef::Adopt(s);
}

}  // namespace kestrin::script
