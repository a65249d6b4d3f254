// The pattern syntax: what compiles into what, and every compile error with its message and
// position.
#include <gtest/gtest.h>

#include <memory>

#include "script/regexp/regex.h"
#include "script/regexp/regex_test_util.h"

namespace kestrin::test {
namespace {

using script::ERegex;
using script::TRegex;

struct SyntaxRow {
  const char* pattern;
  const char* subject;
  const char* expected;  // FirstMatch of the pattern in the subject
  const char* modifiers = "";
};

// One row per rule of the syntax; the subject is chosen so a wrong reading would show.
TEST(RegexSyntax, PatternsMatchAsTheSyntaxSays) {
  const SyntaxRow rows[] = {
      {"a{,3}", "aaa a{,3}", "5,5"},             // not a quantifier: literal
      {"a{2", "aa a{2", "4,3"},
      {"a{2}{", "aa{", "1,3"},                   // a '{' after a quantifier that is none is literal
      {"a{2,}", "aaaa", "1,4"},
      {"a{0}b", "ab", "2,1"},
      {"abc*", "abcabccc", "1,3"},               // the quantifier takes the last character only
      {"abc+", "ababcc", "3,4"},
      {"ab{2}", "abab abb", "6,3"},
      {"a]b}", "a]b}", "1,4"},                   // ']' and '}' are literal
      {"[]a]+", "x]a]", "2,3"},                  // ']' first is a member
      {"[^]a]", "]ab", "3,1"},
      {"[a-]+", "-a-b", "1,3"},                  // '-' last is literal
      {"[-a]+", "a-b", "1,2"},
      {"[a-c-e]+", "a-ed", "1,3"},               // '-' after a range is literal
      {"[\\d-z]+", "1-z_", "1,3"},               // '-' after a class is literal
      {"[+-\\d]+", "+-5x", "1,3"},               // '-' before a class escape is literal
      {"[\\D]", "dxD", "3,1"},                   // \D, \S, \W in a set are letters
      {"[\\S\\W]+", "aSW", "2,2"},
      {"[\\b]", "\bb", "2,1"},
      {"[\\x41-\\x43]+", "ABCD", "1,3"},
      {"[\\n\\t]+", "a\t\nb", "2,2"},
      {"(?i)abc", "xABC", "2,3"},
      {"(a(?i)b)c", "aBc aBC", "1,3"},           // an inline modifier ends with its group
      {"(a(?i)b)c", "aBC", "none"},
      {"(?i)a(?-i)b", "AB Ab", "4,2"},
      {"(?i)[a-c]+", "xAbC", "2,3"},
      {"(?i)[^a]", "Ab", "2,1"},
      {"(?#note)ab", "ab", "1,2"},
      {"(?x) a b  # comment\n c", "abc", "1,3"},
      {"(?x)a b +", "abbb", "1,4"},
      {"(?x)[ ]", "a b", "2,1"},                 // x mode stops at sets
      {"\\x41\\x{42}\\x{4}", "AB\x04", "1,3"},
      {"\\0", "a0", "2,1"},                      // \0 is the digit 0
      {"(a)\\10", "aa0 a10", "1,3"},             // \10 is \1 and a 0
      {"\\t\\n\\r\\f\\a\\e", "\t\n\r\f\a\x1B", "1,6"},
      {"\\Q", "Q", "1,1"},                       // other escapes stand for themselves
      {"\\2(a)(b)", "abab", "none"},             // a later group: compiles, never matches
      {"(a)|\\1b", "b", "none"},
      {"a+", "aaa", "1,1", "G"},                 // g off: every quantifier lazy
      {"a{2,3}", "aaa", "1,2", "G"},
      {"(ab)+", "ababab", "1,2", "G"},
      {"a*?b", "aab", "1,3", "G"},
      {"a.c", "a\nc", "1,3"},                    // s on by default
      {"a.c", "a\nc", "none", "S"},
      {"^b", "a\nb", "none"},
      {"^b", "a\nb", "3,1", "m"},
      {"(?m)^b", "a\nb", "3,1"},
  };
  for (const SyntaxRow& row : rows) {
    EXPECT_EQ(FirstMatch(row.pattern, row.subject, false, row.modifiers), row.expected)
        << "pattern " << row.pattern << " modifiers '" << row.modifiers << "'";
  }
}

TEST(RegexSyntax, CyrillicRangesFollowModifierRInByteModeOnly) {
  // а-я (E0-FF) also takes ё (B8); А-Я (C0-DF) also takes Ё (A8); the reversed range both.
  EXPECT_EQ(FirstMatch("[\\xE0-\\xFF]", "\xB8"), "1,1");
  EXPECT_EQ(FirstMatch("[\\xC0-\\xDF]", "\xA8"), "1,1");
  EXPECT_EQ(FirstMatch("[\\xE0-\\xDF]+", "\xC0\xFF\xA8\xB8"), "1,4");
  EXPECT_EQ(FirstMatch("[\\xE0-\\xFF]", "\xB8", false, "R"), "none");
  EXPECT_EQ(FirstMatch("[\\xE0-\\xDF]", "\xA8", false, "R"), "E109");
  EXPECT_EQ(FirstMatch("[\\xE0-\\xDF]", "\xA8", true), "E109");  // script mode: no Cyrillic
}

TEST(RegexSyntax, FourteenGroupsAndEightDigitBoundsAreTheLimits) {
  std::string fourteen;
  for (int k = 0; k < 14; ++k) fourteen += "(a)";
  EXPECT_EQ(FirstMatch(fourteen, std::string(14, 'a')), "1,14");
  EXPECT_EQ(FirstMatch("a{0,12345678}", "aa"), "1,2");
  EXPECT_EQ(FirstMatch("a{00000001}", "aa"), "1,1");
}

TEST(RegexSyntax, ModifierIndicesAndDefaults) {
  TRegex r;
  const bool defaults[] = {false, true, true, true, false, false};  // i r s g m x
  for (int index = 1; index <= 6; ++index) EXPECT_EQ(r.GetModifier(index), defaults[index - 1]) << index;
  r.SetModifier(1, true);
  EXPECT_TRUE(r.GetModifier(1));
  for (int index : {0, 7, -1}) {
    try {
      r.SetModifier(index, true);
      ADD_FAILURE() << "index " << index << " accepted";
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), 1013);
      EXPECT_STREQ(e.what(), "Unknown error");
    }
    EXPECT_THROW(r.GetModifier(index), ERegex);
  }
}

// A modifier changed after compiling takes effect at the next match.
TEST(RegexSyntax, ChangedModifiersRecompileAtTheNextMatch) {
  TRegex r;
  r.SetExpression("ab");
  EXPECT_FALSE(r.Exec("AB"));
  r.SetModifier(1, true);
  EXPECT_TRUE(r.Exec("AB"));
  r.SetModifier(1, false);
  EXPECT_FALSE(r.Exec("AB"));
  r.SetWordChars("ab");
  r.SetExpression("\\w+");
  ASSERT_TRUE(r.Exec("xxabc"));
  EXPECT_EQ(r.Match(0), "ab");
}

struct ErrorRow {
  std::string pattern;
  int code;
  const char* message;  // with the position
};

TEST(RegexErrors, EachCompileErrorHasItsMessageAndPosition) {
  std::string fifteen;
  for (int k = 0; k < 15; ++k) fifteen += "(a)";
  const ErrorRow rows[] = {
      {fifteen, 102, "TRegex(comp): ParseReg Too Many () (pos 43)"},
      {"(ab", 103, "TRegex(comp): ParseReg Unmatched () (pos 3)"},
      {"ab)c", 104, "TRegex(comp): ParseReg Unmatched () (pos 3)"},
      {"(a*)*", 106, "TRegex(comp): *+ Operand Could Be Empty (pos 5)"},
      {"(a|)+", 106, "TRegex(comp): *+ Operand Could Be Empty (pos 5)"},
      {"(\\b)*", 106, "TRegex(comp): *+ Operand Could Be Empty (pos 5)"},
      {"(a?){2}", 106, "TRegex(comp): *+ Operand Could Be Empty (pos 5)"},
      {"(a{0,2})*", 106, "TRegex(comp): *+ Operand Could Be Empty (pos 9)"},
      {"a**", 107, "TRegex(comp): Nested *?+ (pos 3)"},
      {"a*?+", 107, "TRegex(comp): Nested *?+ (pos 4)"},
      {"a{2}{3}", 107, "TRegex(comp): Nested *?+ (pos 5)"},
      {"\\xg1", 108, "TRegex(comp): Bad Hex Digit (pos 3)"},
      {"\\x{4g}", 108, "TRegex(comp): Bad Hex Digit (pos 5)"},
      {"[z-a]", 109, "TRegex(comp): Invalid [] Range (pos 4)"},
      {"[a\\", 110, "TRegex(comp): Parse Atom Trailing \\ (pos 3)"},
      {"\\x4", 111, "TRegex(comp): No Hex Code After \\x (pos 3)"},
      {"\\x{41", 111, "TRegex(comp): No Hex Code After \\x (pos 5)"},
      {"\\x{}", 111, "TRegex(comp): No Hex Code After \\x (pos 4)"},
      {"\\x{123}", 112, "TRegex(comp): Hex Code After \\x Is Too Big (pos 6)"},
      {"[abc", 113, "TRegex(comp): Unmatched [] (pos 4)"},
      {"*a", 115, "TRegex(comp): ?+*{ Follows Nothing (pos 1)"},
      {"a|+", 115, "TRegex(comp): ?+*{ Follows Nothing (pos 3)"},
      {"ab\\", 116, "TRegex(comp): Trailing \\ (pos 3)"},
      {"a{123456789}", 122, "TRegex(comp): BRACES Argument Too Big (pos 11)"},
      {"x{2,1}", 124, "TRegex(comp): BRACE Min Param Greater then Max (pos 6)"},
      {"(?#note", 125, "TRegex(comp): Unclosed (?#Comment) (pos 7)"},
      {"(?:a)", 127, "TRegex(comp): Urecognized Modifier (pos 3)"},
      {"(?i", 127, "TRegex(comp): Urecognized Modifier (pos 3)"},
      {"(?=a)", 127, "TRegex(comp): Urecognized Modifier (pos 3)"},
  };
  for (const ErrorRow& row : rows) {
    TRegex r;
    r.SetExpression(row.pattern);
    try {
      r.Compile();
      ADD_FAILURE() << row.pattern << " compiled";
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), row.code) << row.pattern;
      EXPECT_STREQ(e.what(), row.message) << row.pattern;
      EXPECT_EQ(r.LastError(), row.code);
      EXPECT_EQ(r.CompilerErrorPos(), e.CompilerErrorPos());
    }
    // A failed compile leaves no program: the next match compiles, and fails, again.
    EXPECT_THROW(r.Exec("a"), ERegex) << row.pattern;
  }
}

TEST(RegexErrors, SettingsAndMatchTimeErrors) {
  const auto code_of = [](auto&& action) {
    try {
      action();
    } catch (const ERegex& e) {
      return std::to_string(e.ErrorCode()) + " " + e.what();
    }
    return std::string("no error");
  };
  TRegex r;
  EXPECT_EQ(code_of([&] { r.SetLinePairedSeparator("x"); }),
            "128 TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all (pos 0)");
  EXPECT_EQ(code_of([&] { r.SetLinePairedSeparator("aa"); }).substr(0, 3), "128");
  EXPECT_EQ(code_of([&] { r.SetLinePairedSeparator(""); }), "no error");
  EXPECT_EQ(code_of([&] { r.Exec("a"); }), "1003 TRegex(exec): Not Assigned Expression Property");
  EXPECT_EQ(code_of([&] { r.Compile(); }), "1003 TRegex(exec): Not Assigned Expression Property");
  r.SetExpression("a");
  TRegex fresh;  // r has an input: Exec set it before compiling failed
  fresh.SetExpression("a");
  EXPECT_EQ(code_of([&] { fresh.ExecPos(1); }), "1005 TRegex(exec): No Input String Specified");
  EXPECT_EQ(code_of([&] { fresh.Substitute("$&"); }), "1005 TRegex(exec): No Input String Specified");
  EXPECT_EQ(fresh.SubExprMatchCount(), -1);
  r.SetInputString("ab");
  EXPECT_EQ(code_of([&] { r.ExecPos(0); }), "1006 TRegex(exec): Offset Must Be Greater Then 0");
  EXPECT_EQ(code_of([&] { r.ExecNext(); }), "1007 TRegex(exec): ExecNext Without Exec[Pos]");
  EXPECT_TRUE(r.ExecPos(1));
  EXPECT_FALSE(r.ExecNext());
  EXPECT_EQ(code_of([&] { r.ExecNext(); }), "1007 TRegex(exec): ExecNext Without Exec[Pos]");
  EXPECT_EQ(r.LastError(), 1007);
}

TEST(RegexErrors, MessagesOfCodesWithoutAPath) {
  EXPECT_EQ(script::RegexErrorMessage(0), "No errors");
  EXPECT_EQ(script::RegexErrorMessage(100), "TRegex(comp): Null Argument");
  EXPECT_EQ(script::RegexErrorMessage(119), "TRegex(comp): RarseAtom Internal Disaster");
  EXPECT_EQ(script::RegexErrorMessage(126),
            "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and non-greedy ops '*?', '+?', "
            "'?\?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}");
  EXPECT_EQ(script::RegexErrorMessage(1001), "TRegex(exec): MatchPrim Memory Corruption");
  EXPECT_EQ(script::RegexErrorMessage(1015), "TRegex(exec): Loop Without LoopEntry !");
  EXPECT_EQ(script::RegexErrorMessage(1016), "TRegex(exec): Match Too Complex");
  EXPECT_EQ(script::RegexErrorMessage(2000), "TRegex(misc): Bad p-code imported");
  EXPECT_EQ(script::RegexErrorMessage(1013), "Unknown error");
  EXPECT_EQ(script::RegexErrorMessage(117), "Unknown error");
}

// Ten nested counted loops run; an eleventh raises 1014 when matching reaches it, and the
// pattern compiles.
TEST(RegexErrors, LoopStackIsCheckedWhenMatching) {
  const auto nested = [](int depth) {
    std::string p = "a";
    for (int k = 0; k < depth; ++k) p = "(" + p + "){1,2}";
    return p;
  };
  EXPECT_EQ(FirstMatch(nested(10), "aa"), "1,2");
  TRegex r;
  r.SetExpression(nested(11));
  EXPECT_NO_THROW(r.Compile());
  EXPECT_FALSE(r.Exec("bbb"));  // never reaches the loops
  try {
    r.Exec("aa");
    ADD_FAILURE() << "no error";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1014);
    EXPECT_STREQ(e.what(), "TRegex(exec): Loop Stack Exceeded");
  }
  // Loops one after the other do not add up.
  std::string row;
  for (int k = 0; k < 12; ++k) row += "(a){1,2}";
  EXPECT_EQ(FirstMatch(row, std::string(12, 'a')), "1,12");
  std::string lazy;
  for (int k = 0; k < 12; ++k) lazy += "(a)*?";  // with g off, twelve counted loops in a row
  EXPECT_EQ(FirstMatch(lazy + "b", "aaab", false, "G"), "1,4");
  EXPECT_EQ(FirstMatch("(a)*?(a)+?(a)?\?(a){2}", std::string(5, 'a'), false, "G"), "1,3");
}

// Programs are shared through a cache keyed by every setting.
TEST(RegexProgramCache, SharesProgramsOfEqualSettingsOnly) {
  auto cache = std::make_shared<script::RegexProgramCache>(2);
  TRegex a, b, c;
  for (TRegex* r : {&a, &b, &c}) r->SetProgramCache(cache);
  a.SetExpression("x+");
  b.SetExpression("x+");
  ASSERT_TRUE(a.Exec("axx"));
  ASSERT_TRUE(b.Exec("bxxx"));
  EXPECT_EQ(cache->size(), 1u);
  EXPECT_EQ(a.MatchLen(0), 2);  // each keeps its own match
  EXPECT_EQ(b.MatchLen(0), 3);
  c.SetExpression("x+");
  c.SetModifier(4, false);      // g off: another program
  ASSERT_TRUE(c.Exec("xxx"));
  EXPECT_EQ(c.MatchLen(0), 1);
  EXPECT_EQ(cache->size(), 2u);
  c.SetExpression("y");
  c.Compile();
  EXPECT_EQ(cache->size(), 2u);  // bounded: the least recently used went
}

}  // namespace
}  // namespace kestrin::test
