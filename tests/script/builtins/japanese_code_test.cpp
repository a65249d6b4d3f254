// Japanese code conversion: the detector's table, the converters' edges, every defined
// JIS X 0208 character against iconv, half-width katakana against nkf, and MIME words
// against Python's email.header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_file.h"
#include "script/builtins/japanese_code.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

const std::string kEnter = "\x1B$B";
const std::string kLeave = "\x1B(J";

// Fails under CI, else skips, when a peer program is missing.
#define REQUIRE_PROGRAM(path)                                                      \
  do {                                                                             \
    if (test::run_command(std::string("test -x ") + (path)) != 0) {                \
      const char* ci = std::getenv("CI");                                          \
      if (ci && std::string(ci) == "true") FAIL() << "peer " << (path) << " missing"; \
      GTEST_SKIP() << (path) << " not installed";                                  \
    }                                                                              \
  } while (0)

// The standard output of `command` run with `input` as its standard input.
std::string Filter(const std::string& command, const std::string& input) {
  test::TempDir dir;
  const std::string in = dir.file("in");
  EXPECT_TRUE(write_file_bytes(in, input));
  std::string out;
  test::run_command(command + " < " + in, &out);
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) lines.push_back(text.substr(at, nl - at));
  return lines;
}

std::string Hex(std::string_view s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Unhex(std::string_view hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return out;
}

// The double-byte payload of JIS text: the escapes removed.
std::string WithoutEscapes(std::string_view jis) {
  std::string out;
  for (size_t i = 0; i < jis.size(); ++i) {
    if (jis[i] == '\x1B') i += 2;
    else out += jis[i];
  }
  return out;
}

TEST(JapaneseCode, DetectionTable) {
  const struct {
    const char* text;
    int code;
  } cases[] = {
      {"plain ASCII text", jcASCII},
      {"\x1B$B4A;z\x1B(B.", jcJIS},
      {"\x1B$@4A;z\x1B(B.", jcOldJIS},
      {"\xB4\xC1\xBB\xFA.", jcEUC},        // 漢字 in EUC-JP
      {"\x8A\xBF\x8E\x9A.", jcSJIS},       // 漢字 in Shift-JIS
      {"\xB6\xC0\xB6\xC5.", jcUndecided},  // half-width katakana only
      {"\xA5\xA2\xA5\xA4.", jcUndecided},  // EUC-JP katakana alone
      {"ab\x01" "cd", jcBinary},
      {"ab\xFF" "cd", jcBinary},
      {"abc\x01", jcASCII},                // the last byte is not inspected
      {"\xB6" "a.", jcSJIS},               // half-width kana before ASCII
      {"\xE0\x40.", jcSJIS},
      {"\xE0\xFD.", jcEUC},
      {"\xB6\xE0\x41\x81.", jcSJIS},       // kana, E0-EF, then the following bytes decide
      {"\x8E\xB6\x8E\xB6.", jcUndecided},
      {"", jcASCII},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectJapaneseCode(c.text), c.code) << Hex(c.text);
  std::string late(600, 'a');
  late[550] = '\x01';
  EXPECT_EQ(DetectJapaneseCode(late), jcBinary);  // found by the scan past the first 512 bytes
}

TEST(JapaneseCode, ConvertJapaneseFollowsTheDetector) {
  const std::string sjis = "\x8A\xBF\x8E\x9A", euc = "\xB4\xC1\xBB\xFA", jis = kEnter + "4A;z";
  EXPECT_EQ(ConvertJapanese(sjis, jcEUC), euc);
  EXPECT_EQ(ConvertJapanese(sjis + ".", jcJIS), jis + kLeave + ".");
  EXPECT_EQ(ConvertJapanese(euc + ".", jcSJIS), sjis + ".");
  EXPECT_EQ(ConvertJapanese(jis + "\x1B(B", jcSJIS), sjis);  // nothing appended for the last escape
  EXPECT_EQ(ConvertJapanese(jis + "\x1B(B", jcEUC), euc);
  for (int target : {jcJIS, jcEUC, jcSJIS}) {
    EXPECT_EQ(ConvertJapanese("plain", target), "plain");
    EXPECT_EQ(ConvertJapanese("\xA5\xA2\xA5\xA4.", target), "\xA5\xA2\xA5\xA4.");  // undecided stays
    EXPECT_EQ(ConvertJapanese("a\x02" "b\x8A\xBF", target), "a\x02" "b\x8A\xBF");  // binary stays
  }
  EXPECT_EQ(ConvertJapanese("\x1B$@4A\x1B(J", jcJIS), "\x1B$@4A\x1B(J");  // old JIS counts as JIS
  EXPECT_EQ(ConvertJapanese(sjis, 7), sjis);
}

TEST(JapaneseCode, ConverterEdges) {
  // A lead byte at the end is copied alone.
  EXPECT_EQ(SJISToJIS("a\x8A"), "a" + kEnter + "\x8A");
  EXPECT_EQ(SJISToEUC("a\x8A"), "a\x8A");
  EXPECT_EQ(EUCToSJIS("a\xB4"), "a\xB4");
  EXPECT_EQ(EUCToJIS("a\x8E"), "a" + kEnter + "\x8E");
  EXPECT_EQ(JISToSJIS(kEnter + "4A4"), "\x8A\xBF" "4");
  EXPECT_EQ(JISToEUC(kEnter + "4A4"), "\xB4\xC1" "4");
  // Bytes outside 21-7E in double-byte mode are copied, so CR LF stays CR LF.
  EXPECT_EQ(JISToSJIS(kEnter + "4A\r\n4A\x1B(B"), "\x8A\xBF\r\n\x8A\xBF");
  EXPECT_EQ(JISToEUC(kEnter + "4A\r\n4A\x1B(B"), "\xB4\xC1\r\n\xB4\xC1");
  // To JIS: leave double-byte mode before every byte below 0x80, nothing at the end.
  EXPECT_EQ(SJISToJIS("\x8A\xBF\r\n\x8A\xBF"), kEnter + "4A" + kLeave + "\r\n" + kEnter + "4A");
  EXPECT_EQ(EUCToJIS("x\xB4\xC1y"), "x" + kEnter + "4A" + kLeave + "y");
  // A four-byte escape reads as a three-byte escape and a data byte.
  EXPECT_EQ(JISToSJIS("\x1B$(D4A"), "\x92\xB2" "A");
  // Escapes cut short at the end.
  EXPECT_EQ(JISToSJIS("ab\x1B$"), "ab");
  EXPECT_EQ(JISToEUC("\x1B"), "");
  // EUC-JP: JIS X 0212 is taken as a pair; half-width katakana as 8E and its byte.
  EXPECT_EQ(SJISToEUC("\xB6" "a"), "\x8E\xB6" "a");
  EXPECT_EQ(EUCToSJIS("\x8E\xB6" "a"), "\xB6" "a");
  EXPECT_EQ(EUCToSJIS("\xFF" "a\x80"), "\xFF" "a\x80");
}

TEST(JapaneseCode, HalfWidthKatakanaBecomeFullWidthInJIS) {
  // ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ; ｱﾞ keeps its mark as a character of its own.
  EXPECT_EQ(SJISToJIS("\xB6\xDE\xCA\xDF\xB3\xDE\xB1\xDE"), kEnter + "%,%Q%t%\"!+");
  EXPECT_EQ(EUCToJIS("\x8E\xB6\x8E\xDE\x8E\xCA\x8E\xDF\x8E\xB3\x8E\xDE\x8E\xB1\x8E\xDE"), kEnter + "%,%Q%t%\"!+");
  size_t at = 0;
  const BytePair ka = SJISKanaToJIS("\xB6\xDF", at);  // the semi-voiced mark does not combine with KA
  EXPECT_EQ(ka.first, 0x25);
  EXPECT_EQ(ka.second, 0x2B);
  EXPECT_EQ(at, 1u);
}

TEST(JapaneseCode, PairFormulasRoundTripOverEveryCell) {
  for (unsigned j1 = 0x21; j1 <= 0x7E; ++j1) {
    for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
      const BytePair s = JISPairToSJIS(static_cast<unsigned char>(j1), static_cast<unsigned char>(j2));
      const BytePair j = SJISPairToJIS(s.first, s.second);
      ASSERT_EQ(j.first, j1);
      ASSERT_EQ(j.second, j2);
    }
  }
}

// Every defined JIS X 0208 character: iconv finds the defined cells of EUC-JP and gives
// their CP932 and ISO-2022-JP forms; each converter must agree.
TEST(JapaneseCode, EveryDefinedCharacterAgreesWithIconv) {
  REQUIRE_PROGRAM("/usr/bin/iconv");
  std::string cells;
  for (int a = 0xA1; a <= 0xFE; ++a)
    for (int b = 0xA1; b <= 0xFE; ++b) cells += std::string{static_cast<char>(a), static_cast<char>(b), '\n'};
  const std::vector<std::string> all = Lines(cells);
  const std::vector<std::string> utf8 = Lines(Filter("/usr/bin/iconv -c -f EUC-JP -t UTF-8", cells));
  ASSERT_EQ(utf8.size(), all.size());
  std::string euc, text;
  for (size_t i = 0; i < all.size(); ++i) {
    if (utf8[i].empty()) continue;
    euc += all[i];
    text += utf8[i];
  }
  ASSERT_EQ(euc.size(), 2u * 6879u);
  const std::string sjis = Filter("/usr/bin/iconv -f UTF-8 -t CP932", text);
  const std::string jis = Filter("/usr/bin/iconv -f UTF-8 -t ISO-2022-JP", text);
  ASSERT_EQ(sjis.size(), euc.size());
  EXPECT_EQ(EUCToSJIS(euc), sjis);
  EXPECT_EQ(SJISToEUC(sjis), euc);
  // iconv leaves with ESC ( B; ours ends in double-byte mode.
  ASSERT_EQ(jis.substr(jis.size() - 3), "\x1B(B");
  EXPECT_EQ(SJISToJIS(sjis), jis.substr(0, jis.size() - 3));
  EXPECT_EQ(EUCToJIS(euc), jis.substr(0, jis.size() - 3));
  EXPECT_EQ(JISToSJIS(jis), sjis);
  EXPECT_EQ(JISToEUC(jis), euc);
  EXPECT_EQ(WithoutEscapes(SJISToJIS(sjis + "a" + sjis)), WithoutEscapes(jis) + "a" + WithoutEscapes(jis));
}

TEST(JapaneseCode, HalfWidthKatakanaAgreeWithNkf) {
  REQUIRE_PROGRAM("/usr/bin/nkf");
  std::string kana;
  for (int k = 0xA1; k <= 0xDF; ++k) kana += static_cast<char>(k);
  // Every kana alone, then each followed by each mark.
  std::string text = kana + "\n";
  for (int k = 0xA1; k <= 0xDF; ++k) text += std::string{static_cast<char>(k), '\xDE', static_cast<char>(k), '\xDF'} + "\n";
  const std::string nkf = Filter("/usr/bin/nkf -S -j", text);
  const std::vector<std::string> expected = Lines(WithoutEscapes(nkf));
  const std::vector<std::string> ours = Lines(WithoutEscapes(SJISToJIS(text)));
  ASSERT_EQ(ours.size(), expected.size());
  for (size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(Hex(ours[i]), Hex(expected[i])) << "line " << i;
}

TEST(JapaneseCode, MimeHeaderWords) {
  const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
  const std::string encoded = EncodeMimeHeader("Re: " + sjis + " test");
  EXPECT_EQ(encoded, "Re: =?ISO-2022-JP?B?" + EncodeBase64(kEnter + "F|K\\8l") + "?= test");
  EXPECT_EQ(JISToSJIS(DecodeMimeHeader(encoded)), "Re: " + sjis + " test");
  EXPECT_EQ(DecodeMimeHeader("a =?iso-2022-jp?b?" + EncodeBase64(kEnter + "F|") + "?= b"), "a " + kEnter + "F|" + kLeave + " b");
  EXPECT_EQ(DecodeMimeHeader("a =?ISO-2022-JP?B?GyRC"), "a GyRC");  // an unclosed word loses its prefix
  EXPECT_EQ(DecodeMimeHeader("=?ISO-2022-JP?B?" "?="), kLeave);
  EXPECT_EQ(EncodeMimeHeader("plain \xB6"), "plain \xB6");  // half-width kana are single-byte characters
  EXPECT_EQ(EncodeMimeHeader("a\x8A"), "a\x8A");            // a lone lead byte at the end
}

TEST(JapaneseCode, MimeHeaderWordsAgreeWithPython) {
  KESTRIN_REQUIRE_PEER("email.header");
  const std::vector<std::string> texts = {"\x93\xFA\x96\x7B\x8C\xEA", "Subject \x8A\xBF\x8E\x9A and more",
                                          "\x83\x65\x83\x58\x83\x67 2 \x81\x40 x"};
  for (const std::string& sjis : texts) {
    SCOPED_TRACE(Hex(sjis));
    // Ours decoded by Python.
    std::string out;
    test::run_command(std::string(test::kPeerPython) +
                          " -c \"import sys; from email.header import decode_header, make_header;"
                          " print(str(make_header(decode_header(bytes.fromhex(sys.argv[1]).decode()))).encode('cp932').hex())\" " +
                          Hex(EncodeMimeHeader(sjis)),
                      &out);
    EXPECT_EQ(Unhex(out.substr(0, out.find('\n'))), sjis);
    // Python's words decoded by ours.
    out.clear();
    test::run_command(std::string(test::kPeerPython) +
                          " -c \"import sys; from email.header import Header;"
                          " print(Header(bytes.fromhex(sys.argv[1]).decode('cp932'), 'iso-2022-jp').encode().replace(chr(10)+' ', ''))\" " +
                          Hex(sjis),
                      &out);
    const std::string words = out.substr(0, out.find('\n'));
    EXPECT_EQ(JISToSJIS(DecodeMimeHeader(words)), sjis) << words;
  }
}

}  // namespace
}  // namespace kestrin::script

#undef REQUIRE_PROGRAM
