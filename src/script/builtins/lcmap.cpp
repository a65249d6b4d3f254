// Width, kana and case mapping: each character is taken to its code point, mapped, and
// written back in CP932 when the result has a code there.
#include "script/builtins/lcmap.h"

#include "script/builtins/cp932_chars.h"
#include "script/core/script_string.h"

namespace kestrin::script {
namespace {

// Full-width forms of the half-width katakana U+FF61..FF9F, in order.
constexpr uint16_t kFullKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr uint32_t kHalfKanaFirst = 0xFF61, kHalfKanaLast = 0xFF9F;
constexpr uint32_t kHalfVoiced = 0xFF9E, kHalfSemiVoiced = 0xFF9F;

// The voiced and semi-voiced forms of a full-width katakana; 0 when it has none.
uint32_t VoicedOf(uint32_t base) {
  switch (base) {
    case 0x30A6: return 0x30F4;  // ウ -> ヴ
    case 0x30EF: return 0x30F7;  // ワ -> ヷ
    case 0x30F0: return 0x30F8;
    case 0x30F1: return 0x30F9;
    case 0x30F2: return 0x30FA;
    default: break;
  }
  const bool ka_to = (base >= 0x30AB && base <= 0x30C1 && (base - 0x30AB) % 2 == 0) || base == 0x30C4 ||
                     base == 0x30C6 || base == 0x30C8;
  const bool ha_ho = base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0;
  return ka_to || ha_ho ? base + 1 : 0;
}

uint32_t SemiVoicedOf(uint32_t base) {
  return base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0 ? base + 2 : 0;
}

uint32_t FullOfHalfKana(uint32_t cp) { return kFullKana[cp - kHalfKanaFirst]; }

// The half-width katakana of a full-width form; 0 when it has none.
uint32_t HalfOfFullKana(uint32_t cp) {
  for (uint32_t i = 0; i < std::size(kFullKana); ++i)
    if (kFullKana[i] == cp) return kHalfKanaFirst + i;
  return 0;
}

// Maps each character by f(out, character); characters without a code point (malformed
// or unmapped bytes) are copied as they are.
template <class F>
std::string EachChar(std::string_view s, F f) {
  std::string out;
  out.reserve(s.size());
  ForEachCp932Char(s, [&](const Cp932Char& c) {
    if (c.mapped()) f(out, c);
    else out.append(c.bytes);
  });
  return out;
}

// Writes the code point in CP932, or the original character when it has no code there.
void PutMapped(std::string& out, uint32_t cp, uint32_t original_code) {
  const uint32_t code = UnicodeToCp932(cp);
  AppendCp932(out, code != 0 || cp == 0 ? code : original_code);
}

// Maps each character by a code point function.
template <class Map>
std::string MapEach(std::string_view s, Map map) {
  return EachChar(s, [&](std::string& out, const Cp932Char& c) {
    const uint32_t mapped = map(c.code_point);
    if (mapped == c.code_point) out.append(c.bytes);
    else PutMapped(out, mapped, c.code);
  });
}

uint32_t Hiragana(uint32_t cp) {
  if ((cp >= 0x30A1 && cp <= 0x30F6) || cp == 0x30FD || cp == 0x30FE) return cp - 0x60;
  return cp;
}

uint32_t Katakana(uint32_t cp) {
  if ((cp >= 0x3041 && cp <= 0x3096) || cp == 0x309D || cp == 0x309E) return cp + 0x60;
  return cp;
}

}  // namespace

uint32_t LowerCodePoint(uint32_t cp) {
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xFF21 && cp <= 0xFF3A)) return cp + 0x20;
  if ((cp >= 0x0391 && cp <= 0x03A9 && cp != 0x03A2) || (cp >= 0x0410 && cp <= 0x042F)) return cp + 0x20;
  if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;
  return cp;
}

uint32_t UpperCodePoint(uint32_t cp) {
  if ((cp >= 'a' && cp <= 'z') || (cp >= 0xFF41 && cp <= 0xFF5A)) return cp - 0x20;
  if ((cp >= 0x03B1 && cp <= 0x03C9 && cp != 0x03C2) || (cp >= 0x0430 && cp <= 0x044F)) return cp - 0x20;
  if (cp >= 0x0450 && cp <= 0x045F) return cp - 0x50;
  return cp;
}

// A half-width kana waits for the next character: a voiced or semi-voiced mark after it
// joins it when the pair has a code.
std::string ToZenkaku(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  uint32_t held = 0, held_code = 0;  // a half-width kana's full form and its own code
  auto flush = [&] {
    if (held != 0) PutMapped(out, held, held_code);
    held = 0;
  };
  ForEachCp932Char(s, [&](const Cp932Char& c) {
    const uint32_t cp = c.mapped() ? c.code_point : 0;
    const uint32_t joined = held == 0 ? 0 : cp == kHalfVoiced ? VoicedOf(held) : cp == kHalfSemiVoiced ? SemiVoicedOf(held) : 0;
    if (joined != 0 && UnicodeToCp932(joined) != 0) {
      PutMapped(out, joined, held_code);
      held = 0;
      return;
    }
    flush();
    if (cp == ' ') PutMapped(out, 0x3000, c.code);
    else if (cp >= 0x21 && cp <= 0x7E) PutMapped(out, 0xFF01 + (cp - 0x21), c.code);
    else if (cp >= kHalfKanaFirst && cp <= kHalfKanaLast) held = FullOfHalfKana(cp), held_code = c.code;
    else out.append(c.bytes);
  });
  flush();
  return out;
}

std::string ToHankaku(std::string_view s) {
  return EachChar(s, [](std::string& out, const Cp932Char& c) {
    const uint32_t cp = c.code_point, code = c.code;
    if (cp == 0x3000) return AppendCp932(out, ' ');
    if (cp >= 0xFF01 && cp <= 0xFF5E) return AppendCp932(out, cp - 0xFF01 + 0x21);
    if (const uint32_t half = HalfOfFullKana(cp)) return PutMapped(out, half, code);
    if (cp < 0x30A1 || cp > 0x30FA) return AppendCp932(out, code);
    for (uint32_t i = 0; i < std::size(kFullKana); ++i) {
      const uint32_t base = kFullKana[i];
      const uint32_t mark = VoicedOf(base) == cp ? kHalfVoiced : SemiVoicedOf(base) == cp ? kHalfSemiVoiced : 0;
      if (mark != 0) {
        PutMapped(out, kHalfKanaFirst + i, code);
        PutMapped(out, mark, code);
        return;
      }
    }
    AppendCp932(out, code);
  });
}

std::string ToHiragana(std::string_view s) { return MapEach(s, Hiragana); }
std::string ToKatakana(std::string_view s) { return MapEach(s, Katakana); }
// Case mapping keeps ASCII on a byte path; only double-byte characters are looked up.
template <uint32_t (*Map)(uint32_t)>
std::string CaseMapped(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c < 0x80) {
      out[i] = static_cast<char>(Map(c));
    } else if (IsLeadByte(c) && i + 1 < out.size()) {
      const uint32_t code = c * 256u + static_cast<unsigned char>(out[i + 1]);
      const uint32_t cp = Cp932ToUnicode(code);
      const uint32_t mapped = cp != 0 && Map(cp) != cp ? UnicodeToCp932(Map(cp)) : 0;
      // The case partners of double-byte letters are double-byte letters too.
      if (mapped > 0xFF && mapped != code) {
        out[i] = static_cast<char>(mapped >> 8);
        out[i + 1] = static_cast<char>(mapped & 0xFF);
      }
      ++i;
    }
  }
  return out;
}

std::string ToLowerText(std::string_view s) { return CaseMapped<LowerCodePoint>(s); }
std::string ToUpperText(std::string_view s) { return CaseMapped<UpperCodePoint>(s); }

std::string LCMapText(std::string_view s, uint32_t flags) {
  std::string out(s);
  if (flags & kLcmapFullwidth) out = ToZenkaku(out);
  if (flags & kLcmapHiragana) out = ToHiragana(out);
  if (flags & kLcmapKatakana) out = ToKatakana(out);
  if (flags & kLcmapHalfwidth) out = ToHankaku(out);
  if (flags & kLcmapLowercase) out = ToLowerText(out);
  if (flags & kLcmapUppercase) out = ToUpperText(out);
  return out;
}

}  // namespace kestrin::script
