// Matching: positions and sub-matches, stepping from match to match, line ends, classes,
// NUL bytes, and the table of the places where TRegex differs from Perl by design.
#include <gtest/gtest.h>

#include "script/regexp/regex.h"
#include "script/regexp/regex_test_util.h"

namespace kestrin::test {
namespace {

using script::TRegex;

// Every sub-match as "pos,len" (1-based), "-" for one that did not take part, up to the
// highest that did.
std::string Groups(const TRegex& r) {
  std::string out;
  for (int n = 0; n <= r.SubExprMatchCount(); ++n) {
    if (n > 0) out += ' ';
    out += r.MatchPos(n) < 0 ? std::string("-") : std::to_string(r.MatchPos(n)) + "," + std::to_string(r.MatchLen(n));
  }
  return out;
}

std::string AllMatches(TRegex& r, std::string_view subject) {
  std::string out;
  for (bool found = r.Exec(subject); found; found = r.ExecNext()) out += "[" + r.Match(0) + "]";
  return out;
}

TEST(RegexMatch, SubMatchesReportPositionsLengthsAndTexts) {
  TRegex r;
  r.SetExpression("(a)(x)?(b+)");
  ASSERT_TRUE(r.Exec("zzabbc"));
  EXPECT_EQ(Groups(r), "3,3 3,1 - 4,2");
  EXPECT_EQ(r.SubExprMatchCount(), 3);
  EXPECT_EQ(r.Match(3), "bb");
  EXPECT_EQ(r.Match(2), "");
  EXPECT_EQ(r.MatchPos(2), -1);
  EXPECT_EQ(r.MatchLen(2), -1);
  for (int n : {-1, 15, 100}) {
    EXPECT_EQ(r.MatchPos(n), -1);
    EXPECT_EQ(r.MatchLen(n), -1);
    EXPECT_EQ(r.Match(n), "");
  }
  r.SetExpression("abc");
  ASSERT_TRUE(r.Exec("abc"));
  EXPECT_EQ(r.SubExprMatchCount(), 0);
  r.SetInputString("other");  // a new input clears the match
  EXPECT_EQ(r.MatchPos(0), -1);
  EXPECT_EQ(r.SubExprMatchCount(), 0);
}

TEST(RegexMatch, RepeatedGroupsReportTheirLastIteration) {
  TRegex r;
  r.SetExpression("(a|b)+");
  ASSERT_TRUE(r.Exec("xabba"));
  EXPECT_EQ(Groups(r), "2,4 5,1");
  // A group that took part in an earlier iteration only keeps that iteration.
  r.SetExpression("((a)|b)+");
  ASSERT_TRUE(r.Exec("ab"));
  EXPECT_EQ(Groups(r), "1,2 2,1 1,1");
  // Positions set on a path that failed are put back.
  r.SetExpression("(a)(b)?(c)|(a)(b)d");
  ASSERT_TRUE(r.Exec("abd"));
  EXPECT_EQ(Groups(r), "1,3 - - - 1,1 2,1");
}

TEST(RegexMatch, OffsetsAndSteppingFromMatchToMatch) {
  TRegex r;
  r.SetExpression("^$");
  ASSERT_TRUE(r.Exec(""));
  EXPECT_EQ(r.MatchPos(0), 1);
  EXPECT_EQ(r.MatchLen(0), 0);
  r.SetExpression("b");
  r.SetInputString("abcb");
  EXPECT_TRUE(r.ExecPos(3));
  EXPECT_EQ(r.MatchPos(0), 4);
  EXPECT_FALSE(r.ExecPos(5));   // length + 1: tried, nothing there
  EXPECT_FALSE(r.ExecPos(6));   // beyond: false, no error
  r.SetExpression("x*");
  r.SetInputString("ab");
  EXPECT_TRUE(r.ExecPos(3));    // an empty match at the very end
  EXPECT_EQ(r.MatchPos(0), 3);
  // '^' is the input start even for later offsets, and an anchored program is tried once.
  r.SetExpression("^a");
  r.SetInputString("aaa");
  EXPECT_FALSE(r.ExecPos(2));
  r.SetExpression("\\Aa");
  EXPECT_FALSE(r.ExecPos(2));
  // After an empty match the next search starts one character later; after a non-empty one
  // at its end.
  r.SetExpression("a*");
  EXPECT_EQ(AllMatches(r, "baab"), "[][aa][][]");
  r.SetExpression("\\d+");
  EXPECT_EQ(AllMatches(r, "1 22 333"), "[1][22][333]");
}

TEST(RegexMatch, AlternativesAndQuantifiersBacktrackInOrder) {
  const struct {
    const char* pattern;
    const char* subject;
    const char* match;
  } rows[] = {
      {"a|ab", "ab", "1,1"},             // the first alternative that succeeds wins
      {"(a|ab)c", "abc", "1,3"},
      {"a.*b", "a1b2b3", "1,5"},         // greedy: the longest
      {"a.*?b", "a1b2b3", "1,3"},        // lazy: the shortest
      {"a.+?b", "abab", "1,4"},
      {"a{2,3}?", "aaaa", "1,2"},
      {"(ab){2,}", "abababx", "1,6"},
      {"(ab){1,2}?c", "ababc", "1,5"},
      {"(ab)*?c", "c", "1,1"},
      {"(a|b){2}c", "abbc", "2,3"},
      {"x(a|bc)*y", "xabcay", "1,6"},
      {"[abc]+?c", "abcc", "1,3"},
      {"\\d{2}-\\d{3}", "1-23-456", "3,6"},
      {"(a+)b\\1", "aab aaba", "6,3"},
      {"(a+)\\1+", "aaaaaa", "1,6"},
      {"(\\w)\\1{2}", "abbbc", "2,3"},
  };
  for (const auto& row : rows) EXPECT_EQ(FirstMatch(row.pattern, row.subject), row.match) << row.pattern;
}

TEST(RegexMatch, ClassesBoundariesAndCaseAreAscii) {
  const struct {
    const char* pattern;
    std::string subject;
    const char* match;
    const char* modifiers;
  } rows[] = {
      {"\\s+", "a \t\n\r\fb", "2,5", ""},
      {"\\s", "\v", "none", ""},          // no vertical tab
      {"\\S+", " a\v ", "2,2", ""},
      {"\\w+", "\xE9t\xE9 abc_9", "2,1", ""},
      {"\\d+", "\xB2 12", "3,2", ""},
      {"\\bab\\b", "cab ab", "5,2", ""},
      {"\\Bb", "ab b", "2,1", ""},
      {"\\b", "", "none", ""},
      {"(a)\\1", "aA", "1,2", "i"},       // a back-reference ignores case with i
      {"\xE9", "\xC9", "none", "i"},      // case folding is ASCII
      {"[a-z]+", "ABC", "1,3", "i"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FirstMatch(row.pattern, row.subject, false, row.modifiers), row.match) << row.pattern;
  TRegex r;
  r.SetWordChars("ab");
  r.SetExpression("\\bb");
  ASSERT_TRUE(r.Exec("cb ab b"));
  EXPECT_EQ(r.MatchPos(0), 2);
  r.SetSpaceChars("_");
  r.SetExpression("\\s");
  ASSERT_TRUE(r.Exec("a b_"));
  EXPECT_EQ(r.MatchPos(0), 4);
}

// Line ends: CR, LF and CR LF in m mode; '$' and \Z only at the absolute end; '.' with s off.
TEST(RegexMatch, LineSeparatorsAndPairs) {
  const struct {
    const char* pattern;
    const char* subject;
    const char* match;
    const char* modifiers;
  } rows[] = {
      {"^b", "a\r\nb", "4,1", "m"},
      {"^b", "a\rb", "3,1", "m"},
      {"^b", "a\nb", "3,1", "m"},
      {"\r^\n", "\r\n", "none", "m"},     // no line start inside the pair
      {"a$", "a\r\nb", "1,1", "m"},
      {"a$", "a\rb", "1,1", "m"},
      {"\r$", "\r\n", "none", "m"},       // no line end inside the pair
      {"b$", "b\n", "none", ""},          // without m only at the absolute end
      {"b\\Z", "b\n", "none", ""},
      {"b\\Z", "b\n", "none", "m"},
      {"a.b", "a\rb", "1,3", ""},
      {"a.b", "a\rb", "none", "S"},
      {"a..", "a\r\n", "none", "S"},
      {"a.", "a\x0B", "1,2", "S"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FirstMatch(row.pattern, row.subject, false, row.modifiers), row.match) << row.pattern;
  TRegex r;
  r.SetModifier(5, true);
  r.SetLinePairedSeparator("");
  r.SetExpression("^b");
  ASSERT_TRUE(r.Exec("a\r\nb"));
  EXPECT_EQ(r.MatchPos(0), 4);
  r.SetExpression("\r^");  // without the pair, CR alone ends a line
  EXPECT_TRUE(r.Exec("\r\n"));
  r.SetLineSeparators("");
  r.SetExpression("^b");  // neither separators nor pair: '^' is the input start
  EXPECT_FALSE(r.Exec("a\nb"));
  r.SetLineSeparators(";");
  r.SetModifier(3, false);
  r.SetExpression("^b.");
  ASSERT_TRUE(r.Exec("a;bc;b;"));
  EXPECT_EQ(r.MatchPos(0), 3);
}

// Subjects and patterns carry explicit lengths: NUL is a character like any other.
TEST(RegexMatch, NulBytesAreOrdinaryCharacters) {
  const std::string subject("a\0b\0", 4);
  TRegex r;
  r.SetExpression("b");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.MatchPos(0), 3);
  r.SetExpression("\\x00b\\x00$");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.MatchPos(0), 2);
  r.SetExpression(".+");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.MatchLen(0), 4);
  r.SetExpression(std::string("a\0b", 3));
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.MatchLen(0), 3);
  r.SetExpression("a$");
  EXPECT_FALSE(r.Exec(std::string("a\0", 2)));
}

// Where Perl gives another answer, TRegex keeps its own rules. One row per difference.
TEST(RegexMatch, DifferencesFromPerlByDesign) {
  const struct {
    const char* pattern;
    std::string subject;
    const char* modifiers;
    const char* groups;  // Groups() of the first match, or "none"
  } rows[] = {
      {"a$", "a\n", "", "none"},                 // '$' and \Z: only the absolute end
      {"a\\Z", "a\n", "", "none"},
      {"\\n^", "a\n", "m", "2,1"},               // a line start after a final newline
      {"^b", "a\rb", "m", "3,1"},                // CR alone ends a line
      {"a{,3}", "a{,3}", "", "1,5"},             // not a quantifier: literal
      {"a{2", "aa{2", "", "2,3"},
      {"a+", "aaa", "G", "1,1"},                 // g off: every quantifier lazy
      {"\\0", std::string("\0" "0", 2), "", "2,1"},   // \0 is the digit
      {"(a)\\10", "aa0", "", "1,3 1,1"},         // \10 is \1 and 0
      {"[\\D]", "1D", "", "2,1"},                // \D in a set is the letter
      {"[\\b]", "\bb", "", "2,1"},
      {"\\s", "\v", "", "none"},                 // no vertical tab in \s
      // A group inside a repeated group keeps its last participating iteration, and a
      // failed later iteration gives its positions back.
      {"((\\s){0,2}?.{1,3}){0,2}1", "\n0Ab\xB1\xB1" "A1", "m", "1,8 5,3 1,1"},
      {"($?(.{2}){2})+.{1,}?", "b\xB1\xB1" "10BA\xB1", "", "1,5 1,4 3,2"},
  };
  for (const auto& row : rows) {
    TRegex r;
    for (char c : std::string_view(row.modifiers)) r.SetModifier(c == 'm' ? 5 : 4, c == 'm');
    r.SetExpression(row.pattern);
    EXPECT_EQ(r.Exec(row.subject) ? Groups(r) : std::string("none"), row.groups) << row.pattern;
  }
}

// A copy keeps its own sub-matches: a caller can run a second search on the same pattern
// while it walks the matches of the first.
TEST(RegexMatch, CopiesMatchIndependently) {
  TRegex outer;
  outer.SetExpression("(\\w)\\w*");
  ASSERT_TRUE(outer.Exec("ab cd"));
  TRegex inner(outer);
  ASSERT_TRUE(inner.Exec("xyz"));
  EXPECT_EQ(inner.Match(1), "x");
  EXPECT_EQ(outer.Match(0), "ab");
  ASSERT_TRUE(outer.ExecNext());
  EXPECT_EQ(outer.Match(1), "c");
  inner = outer;
  EXPECT_EQ(inner.Match(0), "cd");
}

}  // namespace
}  // namespace kestrin::test
