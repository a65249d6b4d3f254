// Replacement templates, splitting, and the one-shot helpers of the protocol code.
#include <gtest/gtest.h>

#include "script/regexp/regex.h"

namespace kestrin::test {
namespace {

using script::ERegex;
using script::TRegex;

std::string Joined(const std::vector<std::string>& pieces) {
  std::string out;
  for (const std::string& p : pieces) out += "[" + p + "]";
  return out;
}

TEST(RegexSubstitute, TemplatesInsertSubMatches) {
  TRegex r;
  r.SetExpression("(b)(c)?(x)?");
  ASSERT_TRUE(r.Exec("abcd"));
  const struct {
    const char* tmpl;
    const char* result;
  } rows[] = {
      {"$1-$&", "b-bc"},
      {"${1}${2}", "bc"},
      {"${&}|${}", "bc|bc"},
      {"$0", "bc"},
      {"$3.", "."},                 // a group that did not take part inserts nothing
      {"$12 ${12}", " "},            // nor does a group number beyond the pattern's
      {"$14$15$99", ""},
      {"$123456789012345678901234567890x", "x"},  // however many digits: no overflow
      {"$01", "b"},
      {"$x $", "$x $"},              // '$' without a reference is literal
      {"${1", "${1"},                // '${' without '}' too
      {"${a}", "${a}"},
      {"${1&}", "${1&}"},
      {"$$1", "$b"},
      {"\\$1", "$1"},                // a backslash copies the next character
      {"\\\\$1", "\\b"},
      {"a\\", "a\\"},                // and is copied at the very end
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(r.Substitute(row.tmpl), row.result) << row.tmpl;
  r.SetExpression("zzz");
  EXPECT_FALSE(r.Exec("abc"));
  EXPECT_EQ(r.Substitute("[$&$1]"), "[]");
}

// In script mode a template character is read whole: a trail byte 5C is not a backslash.
TEST(RegexSubstitute, ScriptModeTemplatesKeepDoubleByteCharacters) {
  TRegex r;
  r.SetScriptMode(true);
  r.SetExpression("(\\d+)");
  ASSERT_TRUE(r.Exec("x12"));
  EXPECT_EQ(r.Substitute("\x95\x5C$1"), "\x95\x5C" "12");
  EXPECT_EQ(r.Substitute("\\\x95\x5C"), "\x95\x5C");
  r.SetScriptMode(false);
  ASSERT_TRUE(r.Exec("x12"));
  EXPECT_EQ(r.Substitute("\x95\x5C$1"), "\x95$1");
}

TEST(RegexSplit, PiecesBetweenMatches) {
  const struct {
    const char* pattern;
    const char* input;
    const char* pieces;
  } rows[] = {
      {",", "a,b,,c", "[a][b][][c]"},
      {",", ",a,", "[][a][]"},          // empty ends are kept
      {",", "abc", "[abc]"},            // no match: the whole text
      {",", "", "[]"},
      {"x*", "abc", "[][a][b][c][]"},   // an empty match steps one character
      {"(,)", "a,b", "[a][b]"},         // groups are not pieces
      {"\\s*;\\s*", "a ; b;c", "[a][b][c]"},
      {"^", "ab", "[][ab]"},
      {".", "ab", "[][][]"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> pieces;
    script::SplitRegex(row.pattern, row.input, pieces);
    EXPECT_EQ(Joined(pieces), row.pieces) << row.pattern << " on " << row.input;
  }
}

TEST(RegexSplit, AppendsAndSplitsScriptTextByCharacter) {
  TRegex r;
  r.SetExpression("A");
  std::vector<std::string> pieces{"kept"};
  r.Split("xAy", pieces);
  EXPECT_EQ(Joined(pieces), "[kept][x][y]");  // Split appends; SplitRegex clears first
  script::SplitRegex("A", "\x83\x41" "A\x83\x41", pieces);
  EXPECT_EQ(Joined(pieces), "[\x83][][\x83][]");  // byte mode cuts ア in half
  r.SetScriptMode(true);
  pieces.clear();
  r.Split("\x83\x41" "A\x83\x41", pieces);
  EXPECT_EQ(Joined(pieces), "[\x83\x41][\x83\x41]");
  r.SetExpression("x*");
  pieces.clear();
  r.Split("\x83\x41\x83\x43", pieces);
  EXPECT_EQ(Joined(pieces), "[][\x83\x41][\x83\x43][]");
}

TEST(RegexOneShot, ExecRegexAndSplitRegexUseByteModeAndPassErrorsOn) {
  EXPECT_TRUE(script::ExecRegex("^HTTP/1\\.[01] (\\d{3})", "HTTP/1.1 200 OK"));
  EXPECT_FALSE(script::ExecRegex("^\\d+$", "12a"));
  EXPECT_TRUE(script::ExecRegex("A", "\x83\x41"));  // byte mode: the trail byte is a letter
  std::vector<std::string> pieces;
  script::SplitRegex("\\r\\n", "a\r\nb", pieces);
  EXPECT_EQ(Joined(pieces), "[a][b]");
  EXPECT_THROW(script::ExecRegex("(", "x"), ERegex);
  EXPECT_THROW(script::ExecRegex("", "x"), ERegex);
  EXPECT_THROW(script::SplitRegex("[", "x", pieces), ERegex);
}

}  // namespace
}  // namespace kestrin::test
