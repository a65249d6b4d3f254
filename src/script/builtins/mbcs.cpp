// CP932 character positions: byte offsets come from the string's own position cache, so a
// walk by increasing positions is linear; searches skip matches that begin on a trail byte.
#include "script/builtins/mbcs.h"

#include <algorithm>
#include <string>

namespace kestrin::script {
namespace {

size_t CharSize(std::string_view s, size_t at) {
  return IsLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
}

// Byte offset of the 1-based character position (the size past the end).
size_t ByteOf(const StrRef& s, int64_t position) {
  if (position < 1) return 0;
  if (static_cast<uint64_t>(position - 1) >= s.CharCount()) return s.size();
  return s.ByteOffset(static_cast<size_t>(position - 1));
}

StrRef Join(std::string_view a, std::string_view b, std::string_view c) {
  std::string out;
  out.reserve(a.size() + b.size() + c.size());
  out.append(a).append(b).append(c);
  return StrRef(out);
}

// Walks character starts forward from a known one, counting characters.
class Walker {
public:
  Walker(std::string_view s, size_t byte, int64_t chars) : s_(s), byte_(byte), chars_(chars) {}
  // Advances to the first character start at or after `target`; true when it is `target`.
  bool ReachStart(size_t target) {
    while (byte_ < target) {
      byte_ += IsLeadByte(static_cast<unsigned char>(s_[byte_])) ? 2 : 1;
      ++chars_;
    }
    return byte_ == target;
  }
  int64_t chars() const { return chars_; }

private:
  std::string_view s_;
  size_t byte_;
  int64_t chars_;
};

bool SingleByte(const StrRef& s) { return s.CharCount() == s.size(); }

}  // namespace

int64_t MbcsLength(const StrRef& s) { return static_cast<int64_t>(s.CharCount()); }

StrRef MbcsCopy(const StrRef& s, int64_t index, int64_t count) {
  if (count < 1) return StrRef();
  if (index < 1) index = 1;
  const int64_t length = MbcsLength(s);
  if (index > length) return StrRef();
  const size_t from = ByteOf(s, index);
  const size_t to = count > length - index ? s.size() : ByteOf(s, index + count);
  if (from == 0 && to == s.size()) return s;
  return StrRef(s.view().substr(from, to - from));
}

StrRef MbcsCharAt(const StrRef& s, int64_t index) {
  if (index < 1 || index > MbcsLength(s)) return StrRef();
  const size_t at = ByteOf(s, index);
  return StrRef(s.view().substr(at, CharSize(s.view(), at)));
}

void MbcsInsert(const StrRef& sub, StrRef& s, int64_t index) {
  if (index < 1) index = 1;
  const int64_t length = MbcsLength(s);
  if (index > length + 1) return;
  const size_t at = ByteOf(s, index);
  const std::string_view text = s.view();
  s = Join(text.substr(0, at), sub.view(), text.substr(at));
}

void MbcsDelete(StrRef& s, int64_t index, int64_t count) {
  const int64_t length = MbcsLength(s);
  if (count < 1 || index < 1 || index > length) return;
  const size_t from = ByteOf(s, index);
  const size_t to = count > length - index ? s.size() : ByteOf(s, index + count);
  const std::string_view text = s.view();
  s = Join(text.substr(0, from), {}, text.substr(to));
}

void MbcsReplaceChar(const StrRef& sub, StrRef& s, int64_t index) {
  MbcsDelete(s, index, 1);
  MbcsInsert(sub, s, index);
}

namespace {

// The start and count that a slice of `length` characters copies.
void SliceRange(int64_t length, int64_t& start, int64_t end, int64_t& count) {
  if (start < 1) start = std::max<int64_t>(start + length, 1);
  if (end < 1) end += length;
  count = end - start;
}

}  // namespace

StrRef MbcsSlice(const StrRef& s, int64_t start, int64_t end) {
  int64_t count = 0;
  SliceRange(MbcsLength(s), start, end, count);
  return MbcsCopy(s, start, count);
}

void MbcsSplice(const StrRef& sub, StrRef& s, int64_t start, int64_t end) {
  int64_t count = 0;
  SliceRange(MbcsLength(s), start, end, count);
  MbcsDelete(s, start, count);
  MbcsInsert(sub, s, start);
}

int64_t MbcsPos(const StrRef& sub, const StrRef& s, int64_t offset) {
  if (sub.empty()) return 0;
  if (offset < 1) offset = 1;
  if (offset > MbcsLength(s)) return 0;
  const std::string_view text = s.view(), needle = sub.view();
  const size_t start = ByteOf(s, offset);
  if (SingleByte(s)) {
    const size_t p = text.find(needle, start);
    return p == std::string_view::npos ? 0 : static_cast<int64_t>(p) + 1;
  }
  Walker walk(text, start, offset - 1);
  for (size_t from = start;;) {
    const size_t p = text.find(needle, from);
    if (p == std::string_view::npos) return 0;
    if (walk.ReachStart(p)) return walk.chars() + 1;
    from = p + 1;
  }
}

int64_t MbcsLastPos(const StrRef& sub, const StrRef& s, int64_t index) {
  if (sub.empty()) return 0;
  const int64_t length = MbcsLength(s);
  if (index < 1 || index > length) index = length;
  if (index < 1) return 0;
  const std::string_view text = s.view(), needle = sub.view();
  const size_t limit = ByteOf(s, index);
  if (SingleByte(s)) {
    const size_t p = text.rfind(needle, limit);
    return p == std::string_view::npos ? 0 : static_cast<int64_t>(p) + 1;
  }
  Walker walk(text, 0, 0);
  int64_t last = 0;
  for (size_t from = 0;;) {
    const size_t p = text.find(needle, from);
    if (p == std::string_view::npos || p > limit) return last;
    if (walk.ReachStart(p)) last = walk.chars() + 1;
    from = p + 1;
  }
}

StrRef MbcsReverse(const StrRef& s) {
  const std::string_view text = s.view();
  std::string out(text.size(), '\0');
  size_t write = text.size();
  for (size_t at = 0; at < text.size();) {
    const size_t n = CharSize(text, at);
    write -= n;
    out.replace(write, n, text.substr(at, n));
    at += n;
  }
  return StrRef(out);
}

int64_t PosEx(std::string_view sub, std::string_view s, int64_t offset) {
  if (sub.empty()) return 0;
  if (offset < 1) offset = 1;
  if (static_cast<uint64_t>(offset - 1) >= s.size()) return 0;
  const size_t p = s.find(sub, static_cast<size_t>(offset - 1));
  return p == std::string_view::npos ? 0 : static_cast<int64_t>(p) + 1;
}

int64_t LastPos(std::string_view sub, std::string_view s, int64_t index) {
  if (sub.empty() || s.empty()) return 0;
  const size_t from = index < 1 || static_cast<uint64_t>(index) > s.size() ? std::string_view::npos
                                                                          : static_cast<size_t>(index - 1);
  const size_t p = s.rfind(sub, from);
  return p == std::string_view::npos ? 0 : static_cast<int64_t>(p) + 1;
}

}  // namespace kestrin::script
