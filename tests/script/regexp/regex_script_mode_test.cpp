// Script mode: CP932 text, where a lead byte and the byte after it are one character in the
// pattern and in the subject. Positions stay byte offsets.
#include <gtest/gtest.h>

#include "script/regexp/regex.h"
#include "script/regexp/regex_test_util.h"

namespace kestrin::test {
namespace {

using script::TRegex;

// CP932 characters whose trail byte is an ASCII metacharacter or letter.
#define HYO "\x95\x5C"   // 表, trail '\'
#define JI "\x8E\xA6"    // 示
#define SO "\x83\x5C"    // ソ, trail '\'
#define A_KANA "\x83\x41"  // ア, trail 'A'
#define I_KANA "\x83\x43"  // イ
#define YA "\x83\x61"    // ャ, trail 'a'
#define N_KANA "\x83\x93"  // ン
#define ZEN1 "\x82\x50"  // １
#define ZEN9 "\x82\x58"  // ９
#define HAN_A "\xB1"     // ｱ, one byte

TEST(RegexScriptMode, DoubleByteCharactersAreOneCharacter) {
  const struct {
    const char* pattern;
    const char* subject;
    const char* script;  // FirstMatch in script mode
    const char* bytes;   // and in byte mode, for contrast
  } rows[] = {
      {HYO JI, "x" HYO JI, "2,4", "none"},               // trail 5C is no escape
      {SO "d", SO "1" SO "d", "4,3", "none"},            // ソd is not ソ and \d
      {A_KANA "+", A_KANA A_KANA "A", "1,4", "1,2"},     // the quantifier repeats the character
      {A_KANA "{2}", A_KANA A_KANA, "1,4", "none"},
      {"A", A_KANA "A", "3,1", "2,1"},                   // never the trail byte of ア
      {"a", YA, "none", "2,1"},
      {".x", A_KANA "x", "1,3", "2,2"},                  // '.' takes the whole character
      {"[^a]x", YA "x", "1,3", "none"},
      {"\\Dx", A_KANA "x", "1,3", "2,2"},
      {"\\Sx", A_KANA "x", "1,3", "2,2"},
      {"\\Wx", A_KANA "x", "1,3", "none"},
      {"\\w", A_KANA, "none", "2,1"},
      {"[" A_KANA "-" N_KANA "]+", "x" A_KANA I_KANA N_KANA "y", "2,6", "1,8"},  // [ア-ン]
      {"[" ZEN1 "-" ZEN9 "]+", "1" ZEN1 ZEN9, "2,4", "2,4"},
      {"[" HYO "]", "\\" HYO, "2,2", "E113"},            // a set member, not '\' and ']'
      {"[^" A_KANA "]", A_KANA I_KANA, "3,2", "4,1"},
      {"\\BA", A_KANA "A", "none", "3,1"},              // the trail byte of ア is no word character
      {"\\bx", A_KANA "x", "3,1", "none"},
      {"(" SO ")\\1", SO SO, "1,4", "E103"},
      {".$", "a" HAN_A, "2,1", "2,1"},                   // ｱ is one byte
      {"\\" A_KANA, A_KANA, "1,2", "1,2"},               // an escaped character stands for itself
      {"\\x83", A_KANA, "none", "1,1"},                  // an escape is one byte, never half a character
      {"\x83", A_KANA "\x83", "3,1", "1,1"},             // a lone lead byte at the end is one character
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FirstMatch(row.pattern, row.subject, true), row.script) << "script mode, pattern " << row.pattern;
    EXPECT_EQ(FirstMatch(row.pattern, row.subject, false), row.bytes) << "byte mode, pattern " << row.pattern;
  }
}

TEST(RegexScriptMode, CaseFoldingIsAsciiOnSingleBytes) {
  EXPECT_EQ(FirstMatch(A_KANA, "\x83\x61", true, "i"), "none");  // trail bytes are not folded
  EXPECT_EQ(FirstMatch("[" A_KANA "]", "\x83\x61", true, "i"), "none");
  EXPECT_EQ(FirstMatch("a" A_KANA, "A" A_KANA, true, "i"), "1,3");
  EXPECT_EQ(FirstMatch("(" A_KANA "b)\\1", A_KANA "b" A_KANA "B", true, "i"), "1,6");
  EXPECT_EQ(FirstMatch("(" A_KANA ")\\1", A_KANA YA, true, "i"), "none");
}

TEST(RegexScriptMode, MatchesStartAndStepAtCharacterStarts) {
  TRegex r;
  r.SetScriptMode(true);
  r.SetExpression("x*");
  std::string found;
  for (bool ok = r.Exec(A_KANA I_KANA); ok; ok = r.ExecNext()) found += std::to_string(r.MatchPos(0)) + " ";
  EXPECT_EQ(found, "1 3 5 ");  // an empty match steps a whole character
  r.SetExpression("A");
  r.SetInputString(A_KANA "A" A_KANA);
  ASSERT_TRUE(r.ExecPos(2));  // from the middle of ア: the next character start
  EXPECT_EQ(r.MatchPos(0), 3);
  r.SetExpression("(?m)^" A_KANA);
  ASSERT_TRUE(r.Exec("\r\n" A_KANA));
  EXPECT_EQ(r.MatchPos(0), 3);
  r.SetExpression("(?m)" A_KANA "$");
  EXPECT_TRUE(r.Exec(A_KANA "\n"));
  // The mode can be switched; the program is compiled again.
  r.SetScriptMode(false);
  r.SetExpression("A");
  ASSERT_TRUE(r.Exec(A_KANA "A"));
  EXPECT_EQ(r.MatchPos(0), 2);
}

TEST(RegexScriptMode, RepeatsCountCharacters) {
  const struct {
    const char* pattern;
    const char* subject;
    const char* match;
  } rows[] = {
      {".{2}x", "a" A_KANA I_KANA "x", "2,5"},
      {".*x", A_KANA "x" I_KANA, "1,3"},
      {".*?" I_KANA, A_KANA "A" I_KANA, "1,5"},
      {"[^x]+" A_KANA, I_KANA A_KANA A_KANA, "1,6"},
      {"\\W{2}", "a" A_KANA YA "b", "2,4"},
      {"(" A_KANA "|b)+$", "a" A_KANA "b" A_KANA, "2,5"},
  };
  for (const auto& row : rows) EXPECT_EQ(FirstMatch(row.pattern, row.subject, true), row.match) << row.pattern;
}

}  // namespace
}  // namespace kestrin::test

#undef HYO
#undef JI
#undef SO
#undef A_KANA
#undef I_KANA
#undef YA
#undef N_KANA
#undef ZEN1
#undef ZEN9
#undef HAN_A
