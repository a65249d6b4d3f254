// Code page 932 <-> UTF-8: round trips, the 0x5C trail byte, half-width katakana and
// damaged input.
#include <gtest/gtest.h>

#include <string>

#include "base/cp932.h"

namespace kestrin {
namespace {

TEST(Cp932, RoundTripsJapaneseText) {
  const struct {
    const char* utf8;
    const char* cp932;
  } cases[] = {
      {"abc\\~", "abc\\~"},
      {"表", "\x95\x5C"},
      {"ソ", "\x83\x5C"},
      {"能", "\x94\x5C"},
      {"ｱｲｳ", "\xB1\xB2\xB3"},
      {"表示C:\\a", "\x95\x5C\x8E\xA6" "C:\\a"},
      {"①～", "\x87\x40\x81\x60"},  // NEC special and the Windows wave dash mapping
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8_to_cp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(cp932_to_utf8(c.cp932), c.utf8) << c.utf8;
  }
}

// Text of bytes below 0x80 alone is taken as it is; beside other characters it goes through
// the converter: both give the same bytes.
TEST(Cp932, BytesBelow0x80AreTheSameAloneAndBesideOtherCharacters) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(utf8_to_cp932(ascii), ascii);
  EXPECT_EQ(cp932_to_utf8(ascii), ascii);
  EXPECT_EQ(utf8_to_cp932(ascii + "表"), ascii + "\x95\x5C");
  EXPECT_EQ(cp932_to_utf8(ascii + "\x95\x5C"), ascii + "表");
}

TEST(Cp932, DamagedInputBecomesQuestionMarks) {
  EXPECT_EQ(cp932_to_utf8("ab\x95"), "ab?");            // lead byte cut off at the end
  EXPECT_EQ(cp932_to_utf8("\x95"), "?");
  EXPECT_EQ(cp932_to_utf8("a\xA0z"), "a?z");           // byte with no character
  EXPECT_EQ(cp932_to_utf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(utf8_to_cp932("a\xFF" "b"), "a?b");        // not UTF-8
  EXPECT_EQ(utf8_to_cp932("a\xE8\xA1"), "a?");         // cut-off UTF-8
  EXPECT_EQ(utf8_to_cp932("x😀y表"), "x?y\x95\x5C");    // no CP932 character
}

TEST(Cp932, RecognisesValidUtf8) {
  for (const char* s : {"", "abc", "表ｱ", "😀"}) EXPECT_TRUE(is_valid_utf8(s)) << s;
  for (const char* s : {"\x95\x5C", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE8\xA1"})
    EXPECT_FALSE(is_valid_utf8(s));
  EXPECT_TRUE(is_cp932_lead(0x81));
  EXPECT_TRUE(is_cp932_lead(0xFC));
  EXPECT_FALSE(is_cp932_lead(0xB1));
  EXPECT_FALSE(is_cp932_lead(0x5C));
}

TEST(Utf8, CodePointsOfEveryLengthAndNoneThatIsNotOne) {
  const struct {
    uint32_t cp;
    const char* bytes;
  } cases[] = {
      {0x41, "A"},          {0xE9, "\xC3\xA9"},       {0x3042, "\xE3\x81\x82"},
      {0x1F600, "\xF0\x9F\x98\x80"}, {0xD800, "?"},   {0xDFFF, "?"},
      {0x110000, "?"},      {0xFFFFFFFF, "?"},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    append_utf8(out, c.cp);
    EXPECT_EQ(out, std::string("x") + c.bytes) << c.cp;
    EXPECT_TRUE(is_valid_utf8(out)) << c.cp;
  }
}

}  // namespace
}  // namespace kestrin
