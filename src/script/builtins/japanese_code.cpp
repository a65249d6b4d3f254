// Shift-JIS, EUC-JP and JIS conversions by the standard JIS X 0208 arithmetic, the code
// guesser, half-width katakana through the JIS X 0201 table, and MIME header words.
#include "script/builtins/japanese_code.h"

#include <algorithm>

#include "base/cp932.h"
#include "base/paths.h"

namespace kestrin::script {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr std::string_view kEnterDouble = "\x1B$B";
constexpr std::string_view kLeaveDouble = "\x1B(J";
constexpr std::string_view kMimePrefix = "=?ISO-2022-JP?B?";
constexpr std::string_view kMimeSuffix = "?=";

// JIS X 0208 cells of the half-width katakana A1 .. DF.
constexpr unsigned char kKanaCells[63] = {
    0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, 0x3C,
    0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, 0x3F,
    0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C};
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
constexpr BytePair kGeta = {0x22, 0x2E};  // the JIS "undefined character" mark

inline unsigned char At(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }
inline bool In(unsigned c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; }
inline bool IsKana(unsigned char c) { return In(c, 0xA1, 0xDF); }
inline bool IsMark(unsigned char c) { return c == kVoicedMark || c == kSemiVoicedMark; }
inline void PutPair(std::string& out, BytePair p) {
  out += static_cast<char>(p.first);
  out += static_cast<char>(p.second);
}
inline BytePair Shift(unsigned char a, unsigned char b, int by) {
  return {static_cast<unsigned char>(a + by), static_cast<unsigned char>(b + by)};
}

// The full-width pair of a kana, with `mark` (0 when none follows) merged when it combines:
// the voiced mark after KA .. TO and HA .. HO takes the next cell, after U the cell of VU;
// the semi-voiced mark after HA .. HO takes the cell two further.
BytePair KanaPair(unsigned char kana, unsigned char mark, bool& merged) {
  merged = false;
  if (!IsKana(kana)) return kGeta;
  const unsigned char row = (kana <= 0xA5 || kana == 0xB0 || kana == 0xDE || kana == 0xDF) ? 0x21 : 0x25;
  unsigned char cell = kKanaCells[kana - 0xA1];
  if (mark == kVoicedMark && (In(kana, 0xB6, 0xC4) || In(kana, 0xCA, 0xCE))) {
    cell += 1;
    merged = true;
  } else if (mark == kVoicedMark && kana == 0xB3) {
    cell = 0x74;
    merged = true;
  } else if (mark == kSemiVoicedMark && In(kana, 0xCA, 0xCE)) {
    cell += 2;
    merged = true;
  }
  return {row, cell};
}

// JIS to Shift-JIS or EUC-JP. An escape (ESC and the two bytes after it) switches the mode;
// in double-byte mode two bytes of 21-7E make a character and any other byte is copied.
std::string FromJIS(std::string_view s, bool to_sjis) {
  std::string out;
  out.reserve(s.size());
  bool dbl = false;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = At(s, i);
    if (c == kEsc) {
      if (i + 1 < s.size() && s[i + 1] == '$') dbl = true;
      else if (i + 1 < s.size() && s[i + 1] == '(') dbl = false;
      i = std::min(i + 3, s.size());
      continue;
    }
    if (!dbl || !In(c, 0x21, 0x7E) || i + 1 >= s.size() || !In(At(s, i + 1), 0x21, 0x7E)) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    PutPair(out, to_sjis ? JISPairToSJIS(c, At(s, i + 1)) : Shift(c, At(s, i + 1), 0x80));
    i += 2;
  }
  return out;
}

// Shift-JIS or EUC-JP to JIS: bytes below 0x80 leave double-byte mode first, others enter
// it; half-width katakana become full width.
std::string ToJIS(std::string_view s, bool from_sjis) {
  std::string out;
  out.reserve(s.size() + s.size() / 2);
  bool dbl = false;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = At(s, i);
    if (c < 0x80) {
      if (dbl) out += kLeaveDouble;
      dbl = false;
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (!dbl) out += kEnterDouble;
    dbl = true;
    if (from_sjis && IsKana(c)) {
      PutPair(out, SJISKanaToJIS(s, i));
    } else if (!from_sjis && c == 0x8E && i + 1 < s.size() && IsKana(At(s, i + 1))) {
      PutPair(out, EUCKanaToJIS(s, i));
    } else if (i + 1 < s.size()) {
      PutPair(out, from_sjis ? SJISPairToJIS(c, At(s, i + 1)) : Shift(c, At(s, i + 1), -0x80));
      i += 2;
    } else {
      out += static_cast<char>(c);
      ++i;
    }
  }
  return out;
}

// The detector's rules for a byte of 0x80 or more at s[i] (i before the last byte): the
// verdict (0 when none yet); `i` moves past the bytes the rule inspected.
int JudgeHighByte(std::string_view s, size_t& i) {
  const unsigned char c = At(s, i);
  if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9F)) return ++i, jcSJIS;
  if (In(c, 0xF0, 0xFE)) return ++i, jcEUC;
  if (c != 0x8E && !IsKana(c) && !In(c, 0xE0, 0xEF)) return ++i, 0;  // 0x80 and 0xA0
  const unsigned char next = At(s, i + 1);
  i += 2;
  if (c == 0x8E) {
    if (In(next, 0x40, 0x7E) || In(next, 0x80, 0xA0) || In(next, 0xE0, 0xFC)) return jcSJIS;
    return IsKana(next) ? jcUndecided : 0;
  }
  if (In(c, 0xE0, 0xEF)) {
    if (In(next, 0x40, 0x7E) || In(next, 0x80, 0xA0)) return jcSJIS;
    if (In(next, 0xFD, 0xFE)) return jcEUC;
    return In(next, 0xA1, 0xFC) ? jcUndecided : 0;
  }
  // A half-width kana (Shift-JIS) or the first byte of an EUC-JP pair.
  if (In(next, 0xF0, 0xFE)) return jcEUC;
  if (IsKana(next)) return jcUndecided;
  if (next < 0xA0) return jcSJIS;
  if (!In(next, 0xE0, 0xEF)) return 0;
  // Then E0-EF: the bytes that follow, while 0x40 or more, may decide.
  for (; i < s.size() && At(s, i) >= 0x40; ++i) {
    const unsigned char d = At(s, i);
    if (In(d, 0x81, 0x8D) || In(d, 0x8F, 0x9C)) return ++i, jcSJIS;
    if (In(d, 0xFD, 0xFE)) return ++i, jcEUC;
  }
  return jcUndecided;
}

size_t FindNoCase(std::string_view s, size_t from, std::string_view word) {
  for (size_t at = from; at + word.size() <= s.size(); ++at)
    if (iequals(s.substr(at, word.size()), word)) return at;
  return std::string_view::npos;
}

}  // namespace

int DetectJapaneseCode(std::string_view s) {
  if (s.empty()) return jcASCII;
  const size_t last = s.size() - 1;
  for (size_t i = 0; i < std::min<size_t>(512, last); ++i)
    if (At(s, i) < 8 || At(s, i) == 0xFF) return jcBinary;
  int code = jcASCII;
  size_t i = 0;
  while ((code == jcASCII || code == jcUndecided) && i < last) {
    const unsigned char c = At(s, i);
    int verdict = 0;
    if (c == kEsc) {
      if (s[i + 1] == '$' && i + 2 < s.size() && s[i + 2] == 'B') verdict = jcJIS;
      else if (s[i + 1] == '$' && i + 2 < s.size() && s[i + 2] == '@') verdict = jcOldJIS;
      ++i;
    } else if (c < 8 || c == 0xFF) {
      verdict = jcBinary;
      ++i;
    } else if (c >= 0x80) {
      verdict = JudgeHighByte(s, i);
    } else {
      ++i;
    }
    if (verdict) code = verdict;
  }
  return code;
}

std::string ConvertJapanese(std::string_view s, int target) {
  const int code = DetectJapaneseCode(s);
  const bool jis = code == jcJIS || code == jcOldJIS;
  if (code < jcJIS || code == jcUndecided || code == target) return std::string(s);
  switch (target) {
    case jcJIS:
      if (code == jcEUC) return EUCToJIS(s);
      if (code == jcSJIS) return SJISToJIS(s);
      break;
    case jcEUC:
      if (jis) return JISToEUC(s);
      if (code == jcSJIS) return SJISToEUC(s);
      break;
    case jcSJIS:
      if (jis) return JISToSJIS(s);
      if (code == jcEUC) return EUCToSJIS(s);
      break;
    default:
      break;
  }
  return std::string(s);
}

BytePair JISPairToSJIS(unsigned char j1, unsigned char j2) {
  unsigned second;
  if (j1 & 1) second = j2 < 96 ? j2 + 31u : j2 + 32u;
  else second = j2 + 126u;
  const unsigned first = (j1 + 1u) / 2 + (j1 < 95 ? 112u : 176u);
  return {static_cast<unsigned char>(first), static_cast<unsigned char>(second)};
}

BytePair SJISPairToJIS(unsigned char s1, unsigned char s2) {
  int j1 = s1 < 160 ? 2 * (s1 - 112) : 2 * (s1 - 176);
  int j2;
  if (s2 < 159) {
    j1 -= 1;
    j2 = s2 < 128 ? s2 - 31 : s2 - 32;
  } else {
    j2 = s2 - 126;
  }
  return {static_cast<unsigned char>(j1 & 0xFF), static_cast<unsigned char>(j2 & 0xFF)};
}

BytePair SJISKanaToJIS(std::string_view s, size_t& at) {
  const unsigned char kana = At(s, at++);
  const unsigned char mark = at < s.size() && IsMark(At(s, at)) ? At(s, at) : 0;
  bool merged;
  const BytePair p = KanaPair(kana, mark, merged);
  if (merged) ++at;
  return p;
}

BytePair EUCKanaToJIS(std::string_view s, size_t& at) {
  const unsigned char kana = at + 1 < s.size() ? At(s, at + 1) : 0;
  at = std::min(at + 2, s.size());
  const bool marked = at + 1 < s.size() && At(s, at) == 0x8E && IsMark(At(s, at + 1));
  bool merged;
  const BytePair p = KanaPair(kana, marked ? At(s, at + 1) : 0, merged);
  if (merged) at += 2;
  return p;
}

std::string JISToSJIS(std::string_view s) { return FromJIS(s, true); }
std::string JISToEUC(std::string_view s) { return FromJIS(s, false); }
std::string SJISToJIS(std::string_view s) { return ToJIS(s, true); }
std::string EUCToJIS(std::string_view s) { return ToJIS(s, false); }

std::string SJISToEUC(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 2);
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = At(s, i);
    if (IsKana(c)) {
      out += static_cast<char>(0x8E);
      out += static_cast<char>(c);
      ++i;
    } else if (c < 0x80 || i + 1 >= s.size()) {
      out += static_cast<char>(c);
      ++i;
    } else {
      const BytePair j = SJISPairToJIS(c, At(s, i + 1));
      PutPair(out, Shift(j.first, j.second, 0x80));
      i += 2;
    }
  }
  return out;
}

std::string EUCToSJIS(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = At(s, i);
    if (c < 0x81 || c == 0xFF || i + 1 >= s.size()) {
      out += static_cast<char>(c);
      ++i;
    } else if (c == 0x8E) {
      out += s[i + 1];
      i += 2;
    } else {
      const BytePair j = Shift(c, At(s, i + 1), -0x80);
      PutPair(out, JISPairToSJIS(j.first, j.second));
      i += 2;
    }
  }
  return out;
}

std::string EncodeMimeHeader(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    size_t end = i;
    while (end + 1 < s.size() && is_cp932_lead(At(s, end))) end += 2;
    if (end == i) {
      out += s[i++];
      continue;
    }
    out += kMimePrefix;
    out += EncodeBase64(SJISToJIS(s.substr(i, end - i)));
    out += kMimeSuffix;
    i = end;
  }
  return out;
}

std::string DecodeMimeHeader(std::string_view s) {
  std::string out;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t word = FindNoCase(s, pos, kMimePrefix);
    if (word == std::string_view::npos) break;
    out += s.substr(pos, word - pos);
    const size_t text = word + kMimePrefix.size();
    const size_t end = s.find(kMimeSuffix, text);
    if (end == std::string_view::npos) {  // an unclosed word loses only its prefix
      pos = text;
      break;
    }
    out += DecodeBase64(s.substr(text, end - text));
    out += kLeaveDouble;
    pos = end + kMimeSuffix.size();
  }
  if (pos < s.size()) out += s.substr(pos);
  return out;
}

}  // namespace kestrin::script
