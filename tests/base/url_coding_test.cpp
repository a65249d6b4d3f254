// Percent-coding: the six script codings over one encoder and one decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "base/url_coding.h"
#include "support/temp_dir.h"

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
      {std::string("ab\0c d", 6), "ab%00c+d", "ab%00c%20d", "ab%00c%20d"},  // NUL is a byte like any other
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
      {"%41%zz!", "A%zz!", "A%zz!"},    // a "%" without two hex digits stays
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
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(UnescapeString(EscapeString(all)), all);
  EXPECT_EQ(DecodeURIComponent(EncodeURIComponent(all)), all);
  EXPECT_TRUE(HasPercentEscape("x%aF"));
  EXPECT_FALSE(HasPercentEscape("x%aG%"));
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// Every byte value through the six codings, against a Python model of their rules.
TEST(UrlCoding, EveryByteAgreesWithTheModel) {
  std::string table;
  ASSERT_EQ(test::run_command(std::string(test::kPeerPython) + " " KESTRIN_SOURCE_DIR "/tests/peers/percent_coding.py",
                              &table), 0);
  using Coding = std::string (*)(std::string_view);
  const std::pair<std::string, Coding> codings[] = {
      {"escape", EscapeString}, {"encodeURI", EncodeURI}, {"encodeURIComponent", EncodeURIComponent},
      {"unescape", UnescapeString}, {"decodeURI", DecodeURI}, {"decodeURIComponent", DecodeURIComponent}};
  std::istringstream lines(table);
  std::string name, in, expected;
  int count = 0;
  while (std::getline(lines, name, '\t') && std::getline(lines, in, '\t') && std::getline(lines, expected)) {
    const auto coding = std::find_if(std::begin(codings), std::end(codings), [&](const auto& c) { return c.first == name; });
    ASSERT_NE(coding, std::end(codings)) << name;
    EXPECT_EQ(coding->second(FromHex(in)), FromHex(expected)) << name << "(" << in << ")";
    ++count;
  }
  EXPECT_GT(count, 6 * 256);
}

}  // namespace
}  // namespace kestrin
