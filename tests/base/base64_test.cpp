// Base64 coding against Python's base64 module and the decoder's tolerance rules.
#include <gtest/gtest.h>

#include <string>

#include "base/base64.h"
#include "support/temp_dir.h"

namespace kestrin {
namespace {

TEST(Base64, EncodesAndDecodes) {
  const struct {
    const char* plain;
    const char* coded;
  } cases[] = {{"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"user:pass", "dXNlcjpwYXNz"}};
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
  EXPECT_EQ(DecodeBase64("YW*j").size(), 3u);   // a foreign character counts as zero bits
}

TEST(Base64, AgreesWithPython) {
  KESTRIN_REQUIRE_PEER("base64");
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>((i * 37 + 11) & 255);
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
}

}  // namespace
}  // namespace kestrin
