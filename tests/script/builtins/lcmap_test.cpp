// Width, kana and case mapping on CP932 text (the whole tables are compared with Python's
// unicodedata by tests/peers/cp932_tables.py).
#include <gtest/gtest.h>

#include "base/cp932.h"
#include "script/builtins/lcmap.h"

namespace kestrin::script {
namespace {

std::string Sjis(const char* utf8) { return kestrin::utf8_to_cp932(utf8); }

TEST(LCMap, WidthKanaAndCase) {
  const struct {
    std::string (*map)(std::string_view);
    const char* in;
    const char* out;
  } cases[] = {
      {ToZenkaku, "Ab 1~\\", "Ａｂ　１～＼"},
      {ToZenkaku, "ｶﾞｷﾟﾊﾟｳﾞﾜﾞ", "ガキ゜パヴワ゛"},  // joined where the pair has a code
      {ToZenkaku, "ｶ", "カ"},
      {ToZenkaku, "ﾞｱ", "゛ア"},
      {ToHankaku, "Ａｂ　１～＼", "Ab 1~\\"},
      {ToHankaku, "ガパヴ。「ー」", "ｶﾞﾊﾟｳﾞ｡｢ｰ｣"},
      {ToHankaku, "ひらがな漢字ヵ", "ひらがな漢字ヵ"},  // no half-width forms
      {ToHiragana, "カタカナヴヽ", "かたかなヴゝ"},
      {ToKatakana, "ひらがなゝ", "ヒラガナヽ"},
      {ToUpperText, "abｱａαя", "ABｱＡΑЯ"},
      {ToLowerText, "ABＡΣЁ表", "abａσё表"},
  };
  for (const auto& c : cases) EXPECT_EQ(kestrin::cp932_to_utf8(c.map(Sjis(c.in))), c.out) << c.in;
}

TEST(LCMap, TrailBytesAndMalformedTextStayAsTheyAre) {
  // ア is 0x83 0x41: its trail byte looks like "A" and must not be lowered.
  EXPECT_EQ(ToLowerText("\x83\x41"), "\x83\x41");
  EXPECT_EQ(ToZenkaku("a\x83"), Sjis("ａ") + "\x83");  // a lone lead byte at the end
  EXPECT_EQ(ToHankaku(std::string("\xff\x80", 2)), std::string("\xff\x80", 2));
}

TEST(LCMap, FlagsApplyWidthThenKanaThenCase) {
  EXPECT_EQ(kestrin::cp932_to_utf8(LCMapText(Sjis("ｶa"), kLcmapFullwidth | kLcmapHiragana)), "かａ");
  EXPECT_EQ(kestrin::cp932_to_utf8(LCMapText(Sjis("かＡ"), kLcmapKatakana | kLcmapHalfwidth | kLcmapLowercase)), "ｶa");
}

}  // namespace
}  // namespace kestrin::script
