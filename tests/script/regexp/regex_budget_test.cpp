// Budgets and robustness: exponential patterns end with false or 1016 instead of freezing,
// linear ones run over megabytes without touching the C++ stack.
#include <gtest/gtest.h>

#include <chrono>

#include "script/regexp/regex.h"

namespace kestrin::test {
namespace {

using script::ERegex;
using script::TRegex;

// "match", "no match" or "1016"; anything else fails the test.
std::string Outcome(std::string_view pattern, const std::string& subject) {
  TRegex r;
  r.SetExpression(pattern);
  try {
    return r.Exec(subject) ? "match" : "no match";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1016) << e.what();
    EXPECT_STREQ(e.what(), "TRegex(exec): Match Too Complex");
    EXPECT_EQ(r.MatchPos(0), -1);  // nothing half-done is reported
    return std::to_string(e.ErrorCode());
  }
}

// The budget ends these runaway searches; the wall-clock bound only guards against a
// budget that grows far too large (the sanitizer build is several times slower).
TEST(RegexBudget, ExponentialBacktrackingEndsEarly) {
  const struct {
    const char* pattern;
    std::string subject;
  } rows[] = {
      {"(a+)+b", std::string(30, 'a')},
      {"^(\\w+\\s?)+$", std::string(30, 'a') + "!"},
      {"(x+x+)+y", std::string(30, 'x')},
      {"(a+)+b", std::string(30, 'a') + "!b"},  // the required b is there: the search runs
      {"^(.*)\\1y$", std::string(199999, 'a') + "y"},  // quadratic work in back-reference compares
  };
  for (const auto& row : rows) {
    const auto start = std::chrono::steady_clock::now();
    const std::string outcome = Outcome(row.pattern, row.subject);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(outcome == "no match" || outcome == "1016" || outcome == "match") << row.pattern;
    EXPECT_LT(seconds, 60.0) << row.pattern;  // bounds a runaway search, not its speed
  }
  EXPECT_EQ(Outcome("(a+)+b", std::string(30, 'a') + "!b"), "1016");
}

TEST(RegexBudget, LinearPatternsRunOverMegabytes) {
  std::string ab;
  for (int k = 0; k < 500000; ++k) ab += "ab";
  TRegex r;
  r.SetExpression("(ab)*");
  ASSERT_TRUE(r.Exec(ab));
  EXPECT_EQ(r.MatchLen(0), 1000000);
  EXPECT_EQ(r.MatchPos(1), 999999);
  ab.resize(200000);
  for (const char* pattern : {"^(a|b)*$", "(?-g)(ab)*$", ".*", "(.)*?$", "[ab]+?$", "(a(b))+"}) {
    r.SetExpression(pattern);
    ASSERT_TRUE(r.Exec(ab)) << pattern;
    EXPECT_EQ(r.MatchLen(0), 200000) << pattern;
  }
  // Script mode over double-byte text.
  std::string kana;
  for (int k = 0; k < 100000; ++k) kana += "\x83\x41";
  r.SetScriptMode(true);
  r.SetExpression("(\x83\x41)*$");
  ASSERT_TRUE(r.Exec(kana));
  EXPECT_EQ(r.MatchLen(0), 200000);
}

// Backtracking state that would outgrow its memory budget ends in 1016, not in a crash.
TEST(RegexBudget, StackBudgetEndsInAnError) {
  EXPECT_EQ(Outcome("((((((a))))))*", std::string(400000, 'a')), "1016");
  EXPECT_EQ(Outcome("((((((a))))))*", std::string(1000, 'a')), "match");
}

// Odd and large patterns compile in bounded time and space.
TEST(RegexBudget, LargePatternsCompile) {
  std::string alternatives = "z";
  for (int k = 0; k < 20000; ++k) alternatives += "|" + std::to_string(k) + "x";
  TRegex r;
  r.SetExpression(alternatives);
  ASSERT_TRUE(r.Exec("yy19999x"));
  EXPECT_EQ(r.MatchLen(0), 6);
  r.SetExpression(std::string(200000, 'q') + "+");
  EXPECT_TRUE(r.Exec(std::string(200010, 'q')));
  std::string deep;
  for (int k = 0; k < 100000; ++k) deep += "(";
  r.SetExpression(deep);
  EXPECT_THROW(r.Compile(), ERegex);  // the 15th group stops it
}

}  // namespace
}  // namespace kestrin::test
