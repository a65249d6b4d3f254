// crypt(3): pinned vectors, the salt and key rules, and the system's crypt through Perl
// over every valid salt.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/builtins/crypt3.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

constexpr char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool PerlAvailable() { return test::run_command("/usr/bin/perl -e 1 2>/dev/null") == 0; }

TEST(Crypt3, PinnedVectors) {
  TCrypt3 c;
  EXPECT_EQ(c.Crypt("test", "ab"), "abgOeLfPimXQo");
  EXPECT_EQ(c.Crypt("", ".."), "..X8NBuQ4l6uQ");
  EXPECT_EQ(c.Crypt("password", "Zz"), "ZziFATVXHo2.6");
}

TEST(Crypt3, KeyAndSaltRules) {
  TCrypt3 c;
  const std::string base = c.Crypt("abcdefgh", "xy");
  EXPECT_EQ(base.size(), 13u);
  EXPECT_EQ(base.substr(0, 2), "xy");
  EXPECT_EQ(c.Crypt("abcdefghIJKLMN", "xy"), base);                   // only 8 key characters count
  EXPECT_EQ(c.Crypt("\xE1\xE2\xE3" "defgh", "xy"), base);                // bytes above 127 by their low 7 bits
  EXPECT_NE(c.Crypt("abcdefgi", "xy"), base);
  EXPECT_EQ(c.Crypt("key", "a"), c.Crypt("key", "aa"));                // one salt character counts twice
  EXPECT_EQ(c.Crypt("key", "!b"), "!" + c.Crypt("key", ".b").substr(1));  // invalid: hashed as '.', echoed
  EXPECT_EQ(c.Crypt("key", "b\x82"), "b\x82" + c.Crypt("key", "b.").substr(2));
  EXPECT_EQ(c.Crypt("key", ""), "");
  EXPECT_EQ(c.Crypt("key", std::string("\0b", 2)), "");                // the result ends at a zero byte
  EXPECT_EQ(c.Crypt("key", "abcdef"), c.Crypt("key", "ab"));            // the salt's first two characters
}

TEST(Crypt3, AgreesWithSystemCryptOverEverySalt) {
  if (!PerlAvailable()) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "peer perl missing";
    GTEST_SKIP() << "perl not installed";
  }
  const std::vector<std::string> keys = {"test", "Kestrin!", "\xC1" "bc9"};
  std::string out;
  ASSERT_EQ(test::run_command(std::string("/usr/bin/perl -e '") +
                                  "my @a = split //, q(" + kAlphabet + ");"
                                  "for my $k (qq(test), qq(Kestrin!), qq(\\xC1bc9)) {"
                                  " for my $x (@a) { for my $y (@a) { print crypt($k, $x.$y), qq(\\n) } } }'",
                              &out),
            0);
  std::istringstream lines(out);
  TCrypt3 c;
  std::string expected;
  size_t mismatches = 0, count = 0;
  for (const std::string& key : keys) {
    for (int x = 0; x < 64; ++x) {
      for (int y = 0; y < 64; ++y) {
        ASSERT_TRUE(std::getline(lines, expected));
        const std::string salt{kAlphabet[x], kAlphabet[y]};
        if (c.Crypt(key, salt) != expected && ++mismatches < 5)
          ADD_FAILURE() << "key " << key << " salt " << salt << ": " << c.Crypt(key, salt) << " != " << expected;
        ++count;
      }
    }
  }
  EXPECT_EQ(count, 3u * 4096u);
  EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace kestrin::script
