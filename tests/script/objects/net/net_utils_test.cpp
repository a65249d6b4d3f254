// The network library's helpers: wildcards, numbered and random names, quoting, separators
// and addresses.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <unistd.h>

#include <set>

#include "base/paths.h"
#include "platform/net/resolver.h"
#include "script/objects/net/net_utils.h"

namespace kestrin::script {
namespace {

TEST(NetUtils, MatchesWildcards) {
  const struct {
    const char *name, *mask;
    bool ignore_case, match;
  } cases[] = {
      {"data.txt", "*.txt", false, true},  {"data.txt", "*.TXT", false, false}, {"data.txt", "*.TXT", true, true},
      {"data.txt", "d?ta.*", false, true}, {"data.txt", "*", false, true},      {"", "*", false, true},
      {"", "", false, true},               {"a", "", false, false},             {"abc", "a*c*", false, true},
      {"abc", "a*b", false, false},        {"aXbXc", "*X*X*", false, true},     {"ab", "a?b", false, false},
      {"\x82\xa0x", "?x", false, true},    // a two-byte character is one character
      {"\x82\x61", "\x82\x41", true, false},  // a trail byte is not a letter
  };
  for (const auto& c : cases) EXPECT_EQ(MatchWildcard(c.name, c.mask, c.ignore_case), c.match) << c.name << " " << c.mask;
  // Many stars over a long name stay quick (no backtracking explosion).
  EXPECT_FALSE(MatchWildcard(std::string(5000, 'a'), std::string(50, '*') + "b", false));
}

TEST(NetUtils, NamesAndTexts) {
  const struct {
    const char *in, *out;
  } numbered[] = {{"data.txt", "data_000.txt"}, {"data_000.txt", "data_001.txt"}, {"data_999.txt", "data_1000.txt"},
                  {"a_b.txt", "a_b_000.txt"},   {"/x_1/data", "/x_1/data_000"},  {"/d/f_7", "/d/f_008"},
                  {"f_.txt", "f__000.txt"}};
  for (const auto& c : numbered) EXPECT_EQ(NextNumberedName(c.in), c.out) << c.in;
  EXPECT_EQ(ControlCharsToBlanks("a\rb\nc\td"), "a b c d");
  EXPECT_EQ(RemoveCommas("1,234,5"), "12345");
  EXPECT_EQ(Dequote("\"a\"\"b\" rest", '"'), "a\"b");
  EXPECT_EQ(Dequote("plain", '"'), "plain");
  EXPECT_EQ(Dequote("\"open", '"'), "open");
  EXPECT_EQ(IncludeTrailingSeparator("/pub", 0), "/pub/");
  EXPECT_EQ(IncludeTrailingSeparator("C:\\dir", 0), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingSeparator("dir\\", 0), "dir\\");
  EXPECT_EQ(IncludeTrailingSeparator("", 0), "/");
  EXPECT_EQ(IncludeTrailingSeparator("", 1), "");
  EXPECT_EQ(TrimText(" \t a b \r\n"), "a b");

  const std::string r = RandomString(40);
  ASSERT_EQ(r.size(), 40u);
  EXPECT_EQ(r.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
  EXPECT_NE(RandomString(40), r);

  const std::string temp = MakeTempFileName("kestrin");
  ASSERT_FALSE(temp.empty());
  EXPECT_TRUE(file_exists(temp));
  EXPECT_EQ(file_name_of(temp).substr(0, 3), "kes");
  EXPECT_NE(MakeTempFileName("kestrin"), temp);
  ::unlink(temp.c_str());
}

TEST(NetUtils, AddressesGoThroughTheResolver) {
  EXPECT_EQ(AddressToText(htonl(0xC0A80005)), "192.168.0.5");
  EXPECT_EQ(ResolveAddress("10.1.2.3"), htonl(0x0A010203));
  int error = 0;
  EXPECT_EQ(ResolveAddress("", &error), kNoAddress);
  EXPECT_EQ(ResolveAddress("missing.test", &error), kNoAddress);
  EXPECT_EQ(error, net::WSAHOST_NOT_FOUND);
  EXPECT_EQ(ResolveAddress("kestrin.test"), htonl(INADDR_LOOPBACK));
  // This machine's name is not in the test resolver: the loopback address stands in.
  EXPECT_EQ(AddressToText(GetLocalHostAddress()), "127.0.0.1");
  EXPECT_EQ(GetWSAErrorText(10061), "WSAECONNREFUSED");
}

}  // namespace
}  // namespace kestrin::script
