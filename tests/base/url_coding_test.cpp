// Percent-coding: the six script codings over one encoder and one decoder.
#include <gtest/gtest.h>

#include <string>

#include "base/url_coding.h"

namespace kestrin {
namespace {

TEST(UrlCoding, EncodersKeepTheirSafeSets) {
  const struct {
    std::string in, escape, uri, component;
  } cases[] = {
      {"a b", "a+b", "a%20b", "a%20b"},
      {"~", "%7e", "%7e", "%7e"},  // the tilde is always encoded
      {"AZaz09!'()*-._", "AZaz09!'()*-._", "AZaz09!'()*-._", "AZaz09!'()*-._"},
      {",", "%2c", ",", "%2c"},  // the comma is safe only for encodeURI
      {";/?:@&=+#", "%3b%2f%3f%3a%40%26%3d%2b%23", ";/?:@&=+#", "%3b%2f%3f%3a%40%26%3d%2b%23"},
      {"\x82\xa0", "%82%a0", "%82%a0", "%82%a0"},
      {std::string("ab\0cd", 5), "ab", "ab", "ab"},  // the text ends at NUL
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeString(c.in), c.escape) << c.in;
    EXPECT_EQ(EncodeURI(c.in), c.uri) << c.in;
    EXPECT_EQ(EncodeURIComponent(c.in), c.component) << c.in;
  }
}

TEST(UrlCoding, DecodersNeedOneValidEscape) {
  const struct {
    const char* in;
    std::string unescape, decode;
  } cases[] = {
      {"a+b", "a+b", "a+b"},            // no escape: unchanged even with plus-as-space
      {"a+b%20c", "a b c", "a+b c"},
      {"%41%42", "AB", "AB"},
      {"100%%25", "100%25", "100%25"},  // "%%" gives "%", the digits after it stay
      {"%41%zz", std::string("A\0", 2), std::string("A\0", 2)},  // a bad pair gives byte 0
      {"%41%", "A%", "A%"},             // a cut escape at the end is copied
      {"%41%4", "A%4", "A%4"},
      {"%4", "%4", "%4"},
      {"50%", "50%", "50%"},
      {"%7e%7E", "~~", "~~"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnescapeString(c.in), c.unescape) << c.in;
    EXPECT_EQ(DecodeURI(c.in), c.decode) << c.in;
    EXPECT_EQ(DecodeURIComponent(c.in), c.decode) << c.in;
  }
}

TEST(UrlCoding, EveryByteRoundTrips) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(UnescapeString(EscapeString(all)), all);
  EXPECT_EQ(DecodeURIComponent(EncodeURIComponent(all)), all);
  EXPECT_TRUE(HasPercentEscape("x%aF"));
  EXPECT_FALSE(HasPercentEscape("x%aG%"));
}

}  // namespace
}  // namespace kestrin
