// Base64 coding against Python's base64 module and the decoder's tolerance rules.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/base64.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

TEST(Base64, EncodesAndDecodes) {
  const struct {
    const char* plain;
    const char* coded;
  } cases[] = {{"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"user:pass", "dXNlcjpwYXNz"},
               // RFC 4648, section 10
               {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"}};
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeBase64(c.plain), c.coded);
    EXPECT_EQ(DecodeBase64(c.coded), c.plain);
  }
}

TEST(Base64, DecoderSkipsLineEndsAndEndsGroupsAtPadding) {
  EXPECT_EQ(DecodeBase64("YW\r\nJj\n"), "abc");
  EXPECT_EQ(DecodeBase64("YQ==YWJj"), "aabc");
  EXPECT_EQ(DecodeBase64("YQ"), "a");           // padding may be missing
  EXPECT_EQ(DecodeBase64("Y"), "");             // one character gives no byte
  EXPECT_EQ(DecodeBase64("===="), "");
  EXPECT_EQ(DecodeBase64("YW*Jj"), "abc");      // a foreign character is skipped
  EXPECT_EQ(DecodeBase64(" Y W J j !"), "abc");
  EXPECT_EQ(DecodeBase64("YWJjZ"), "abc");       // a lone last character gives nothing
  EXPECT_EQ(DecodeBase64("YWJjZA=\x80\xff"), "abcd");
}

TEST(Base64, AgreesWithPythonOnRandomData) {
  KESTRIN_REQUIRE_PEER("base64");
  std::mt19937 gen(1);
  for (size_t n : {1, 2, 3, 298, 299, 300}) {
    std::string bytes;
    for (size_t i = 0; i < n; ++i) bytes += static_cast<char>(gen() & 255);
    std::string hex;
    for (unsigned char c : bytes) {
      static const char* digits = "0123456789abcdef";
      hex += digits[c >> 4];
      hex += digits[c & 15];
    }
    std::string out;
    ASSERT_EQ(test::run_command(std::string(test::kPeerPython) +
                                    " -c \"import base64,sys; sys.stdout.write(base64.b64encode(bytes.fromhex('" + hex +
                                    "')).decode())\"",
                                &out),
              0);
    EXPECT_EQ(EncodeBase64(bytes), out);
    EXPECT_EQ(DecodeBase64(out), bytes);
    // Python's MIME line breaks decode the same.
    std::string wrapped;
    for (size_t i = 0; i < out.size(); i += 76) wrapped += out.substr(i, 76) + "\r\n";
    EXPECT_EQ(DecodeBase64(wrapped), bytes);
  }
}

}  // namespace
}  // namespace kestrin
