// Japanese code conversion between Shift-JIS, EUC-JP and ISO-2022-JP ("JIS"), code
// guessing, and MIME header words. Byte strings in, byte strings out; no state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/base64.h"

namespace kestrin::script {

// Results of DetectJapaneseCode and targets of ConvertJapanese.
enum JapaneseCode : int {
  jcASCII = 0,      // nothing decisive found
  jcBinary = 1,
  jcJIS = 2,        // ESC $ B
  jcOldJIS = 3,     // ESC $ @
  jcEUC = 4,
  jcSJIS = 5,
  jcUndecided = 6,  // EUC-JP or Shift-JIS
};

// Guesses the code of `s`. A byte below 8 or 255 among the first 512 bytes (before the
// last byte) makes it binary; otherwise the bytes are scanned until something decides.
int DetectJapaneseCode(std::string_view s);
// `s` converted to JIS (2), EUC-JP (4) or Shift-JIS (5) from the detected code; unchanged
// when the detection is plain, binary, undecided or already the target.
std::string ConvertJapanese(std::string_view s, int target);

// Pairwise converters. JIS output enters double-byte mode with ESC $ B, leaves it with
// ESC ( J before every byte below 0x80, and ends without an escape. A lead byte at the end
// of the text is copied alone.
std::string JISToSJIS(std::string_view s);
std::string JISToEUC(std::string_view s);
std::string SJISToJIS(std::string_view s);
std::string SJISToEUC(std::string_view s);
std::string EUCToJIS(std::string_view s);
std::string EUCToSJIS(std::string_view s);

// One JIS X 0208 pair to Shift-JIS and back, by the standard arithmetic.
struct BytePair {
  unsigned char first;
  unsigned char second;
};
BytePair JISPairToSJIS(unsigned char j1, unsigned char j2);
BytePair SJISPairToJIS(unsigned char s1, unsigned char s2);

// The half-width katakana at s[at] (Shift-JIS A1-DF; EUC-JP 8E and the kana byte) as a
// full-width JIS pair; a following voiced or semi-voiced mark that combines with it is
// merged. `at` moves past what was used.
BytePair SJISKanaToJIS(std::string_view s, size_t& at);
BytePair EUCKanaToJIS(std::string_view s, size_t& at);

// MIME encoded words of a mail header. Encoding takes Shift-JIS text and writes each run of
// double-byte characters as "=?ISO-2022-JP?B?...?="; decoding replaces each such word
// (prefix found without regard to case) by its JIS bytes followed by ESC ( J.
std::string EncodeMimeHeader(std::string_view s);
std::string DecodeMimeHeader(std::string_view s);

using kestrin::DecodeBase64;
using kestrin::EncodeBase64;

}  // namespace kestrin::script
