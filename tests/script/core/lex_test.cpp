// Lexer: token codes, sub-codes, values and lines for the language's literal and operator rules.
#include <gtest/gtest.h>

#include <charconv>

#include "script/core/lex.h"
#include "script/core/source_text.h"

namespace kestrin::script {
namespace {

std::string Escaped(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 32 || c >= 127) {
      static const char hex[] = "0123456789ABCDEF";
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Tokens as "code" plus 'sub', =value or ="text", and @line when not on line 1.
std::string Lex(std::string_view source) {
  TJLex lex;
  lex.SetSource(DecodeScriptSource(source));
  std::string out;
  while (lex.Next()) {
    if (!out.empty()) out += ' ';
    out += std::to_string(lex.Token);
    if (lex.Token >= tkAdditive && lex.Token <= tkNot) out += std::string("'") + lex.SubCode + "'";
    if (lex.Token == tkInteger) out += "=" + std::to_string(lex.IntValue);
    if (lex.Token == tkFloat) {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, lex.FloatValue);
      out += "=" + std::string(buf, r.ptr);
    }
    if (lex.Token == tkString || lex.Token == tkIdentifier || lex.Token == tkRegExp)
      out += "=\"" + Escaped(lex.TokenText) + "\"";
    if (lex.Line != 1) out += "@" + std::to_string(lex.Line);
  }
  return out;
}

struct LexCase {
  const char* source;
  const char* tokens;
};

class LexTable : public testing::TestWithParam<LexCase> {};

TEST_P(LexTable, GivesTokens) { EXPECT_EQ(Lex(GetParam().source), GetParam().tokens) << GetParam().source; }

INSTANTIATE_TEST_SUITE_P(Numbers, LexTable, testing::Values(
    LexCase{"0 42 010", "296=0 296=42 296=10"},
    LexCase{"1.5e3 2.25 1E-2 3e+1", "297=1500 297=2.25 297=0.01 297=30"},
    LexCase{"1.toString", "296=1 324 295=\"toString\""},
    LexCase{"1e", "296=1 295=\"e\""},
    LexCase{"1.5.3", "502"},
    LexCase{"0x1F 0XfF 0x", "296=31 296=255 502"},
    LexCase{"0x7FFFFFFF 0x80000000 0xFFFFFFFF", "296=2147483647 296=-2147483648 296=-1"},
    LexCase{"0x100000000 0xFFFFFFFFFFFFFFFF 0x10000000000000000", "297=4294967296 297=-1 502"},
    LexCase{"2147483647 2147483648 99999999999", "296=2147483647 297=2147483648 297=99999999999"},
    LexCase{"99999999999999999999", "297=1e+20"},
    LexCase{"1e400 1e308 1e-400", "502 297=1e+308 297=0"},
    LexCase{"12x34 1ex 1e+", "502 296=1 295=\"ex\" 502"},
    LexCase{"NaN .5", "502 324 296=5"}));

INSTANTIATE_TEST_SUITE_P(Strings, LexTable, testing::Values(
    LexCase{R"("a\nb")", R"(294="a\x0D\x0Ab")"},
    LexCase{R"("\\ \b \f \r \t \"")", R"(294="\ \x08 \x0C \x0D \x09 "")"},
    LexCase{R"("x\q\'\u0041\x41\0y")", R"(294="x004141y")"},
    LexCase{R"('a\nb' 'it"s')", R"(294="a\nb" 294="it"s")"},
    LexCase{"\"two\nlines\" x", "294=\"two\\x0Alines\"@2 295=\"x\"@2"},
    LexCase{"x \"unterminated", "295=\"x\""},
    LexCase{"'unterminated", ""}));

INSTANTIATE_TEST_SUITE_P(RegExpOrDivision, LexTable, testing::Values(
    LexCase{"a/b/c", "295=\"a\" 310'/' 295=\"b\" 310'/' 295=\"c\""},
    LexCase{"x = /b/g", "295=\"x\" 316 325=\"b\\x00g\""},
    LexCase{"(a)/2 ]/2 = /r/ / 2", "299 295=\"a\" 300 310'/' 296=2 304 310'/' 296=2 316 325=\"r\\x00\" 310'/' 296=2"},
    LexCase{"1/2 \"s\"/2 null/2 true/2 NaN/2", "296=1 310'/' 296=2 294=\"s\" 310'/' 296=2 269 310'/' 296=2 270 310'/' 296=2 502 310'/' 296=2"},
    LexCase{"i++ / 2; x/", "295=\"i\" 314'+' 325=\" 2; x\\x00\""},
    LexCase{"this /x/ } /y/ a /= 2", "268 325=\"x\\x00\" 302 325=\"y\\x00\" 295=\"a\" 313'/' 296=2"},
    LexCase{R"(/a\/b\n\t\r\f\0\d\./gimx)", R"(325="a/b\x0D\x0A\x09\x0D\x0C\d\.\x00gim" 295="x")"},
    // \b is a word boundary for the engine, and the backspace character inside a set,
    // where a ']' right after "[" or "[^" is a member.
    LexCase{R"(/\bw\b[\b][]\b][^]\b]\[\b/)", R"(325="\bw\b[\x08][]\x08][^]\x08]\[\b\x00")"},
    LexCase{"/abc", ""},
    LexCase{"( /=/ )", "299 325=\"=\\x00\" 300"}));

INSTANTIATE_TEST_SUITE_P(Operators, LexTable, testing::Values(
    LexCase{"( ) { } [ ] ; , ? : . @ =", "299 300 301 302 303 304 305 306 317 318 324 327 316"},
    LexCase{"+ - * % ++ -- ! ~", "308'+' 308'-' 310'*' 310'%' 314'+' 314'-' 315'!' 315'~'"},
    LexCase{"<< >> >>> < > <= >=", "309'<' 309'>' 309'3' 311'<' 311'>' 311'(' 311')'"},
    LexCase{"== != === !==", "312'=' 312'!' 312'3' 312'2'"},
    LexCase{"+= -= *= %= &= |= ^= <<= >>= >>>= a /=",
         "313'+' 313'-' 313'*' 313'%' 313'&' 313'|' 313'^' 313'<' 313'>' 313'3' 295=\"a\" 313'/'"},
    LexCase{"|| && | ^ &", "319 320 321 322 323"},
    LexCase{"a # \\ ` b", "295=\"a\" 295=\"b\""},
    LexCase{"a // line\nb /* block\n */ c /*/ still comment */ d", "295=\"a\" 295=\"b\"@2 295=\"c\"@3 295=\"d\"@3"},
    LexCase{"a /* unterminated", "295=\"a\""}));

INSTANTIATE_TEST_SUITE_P(Names, LexTable, testing::Values(
    LexCase{"var function if else while for continue break return with this null true false",
         "257 258 260 261 262 263 264 265 266 267 268 269 270 271"},
    LexCase{"new delete void typeof try catch finally throw undefined infinity in case class",
         "272 273 274 275 276 277 278 279 280 281 282 283 284"},
    LexCase{"const debugger do enum export extends import super switch default static global",
         "285 286 287 288 289 290 291 292 293 326 328 329"},
    LexCase{"Infinity NULL $a _b9", "295=\"Infinity\" 295=\"NULL\" 295=\"$a\" 295=\"_b9\""},
    LexCase{"a.delete.new.NaN", "295=\"a\" 324 295=\"delete\" 324 295=\"new\" 324 295=\"NaN\""},
    LexCase{"r.$_ r.$* r.$& r.$+ r.$` r.$\" r.$1 $_",
         "295=\"r\" 324 295=\"input\" 295=\"r\" 324 295=\"multiline\" 295=\"r\" 324 295=\"lastMatch\" "
         "295=\"r\" 324 295=\"lastParen\" 295=\"r\" 324 295=\"leftContext\" 295=\"r\" 324 "
         "295=\"rightContext\" 295=\"r\" 324 295=\"$1\" 295=\"$_\""},
    // Characters above 126 outside strings are skipped: a name written with them splits.
    LexCase{"ab\xC3\xA9" "cd \xE3\x80\x80 e", "295=\"ab\" 295=\"cd\" 295=\"e\""}));

TEST(Lex, CountsEveryLineFeedOnce) {
  EXPECT_EQ(Lex("a\nb\n\n12\nx.y\n"), "295=\"a\" 295=\"b\"@2 296=12@4 295=\"x\"@5 324@5 295=\"y\"@5");
  EXPECT_EQ(Lex("1\n+\n'x'\n"), "296=1 308'+'@2 294=\"x\"@3");
}

TEST(Lex, Cp932TrailByteIsNeverABackslash) {
  // 0x95 0x5C is one character (a kanji); the 0x5C must not escape the closing quote.
  std::string source = "\"\x95\x5C\" + 1";
  EXPECT_EQ(Lex(source), "294=\"\\x95\\\" 308'+' 296=1");
  // Invalid UTF-8 is read as CP932 and round-trips byte for byte.
  EXPECT_EQ(Lex("'\x82\xA0\xFF\x81'"), "294=\"\\x82\\xA0\\xFF\\x81\"");
}

TEST(Lex, Utf8StringLiteralsBecomeCp932) {
  // U+3042 (hiragana a) is 0x82 0xA0 in CP932; a character CP932 lacks becomes '?'.
  EXPECT_EQ(Lex("\"\xE3\x81\x82\" \"\xF0\x9F\x98\x80\""), "294=\"\\x82\\xA0\" 294=\"?\"");
}

// The source is kept packed, one to four bytes a character: characters of every width,
// read and put back (a number's look-ahead puts two back), keep their text and lines.
TEST(Lex, CharactersOfEveryWidthAreReadAndPutBack) {
  // U+00E9, U+3042 and U+1F600 in UTF-8, then a CP932 source with a two-byte character.
  // Characters that start no token are skipped.
  EXPECT_EQ(Lex("x\xC3\xA9 1.\xE3\x81\x82\n'\xF0\x9F\x98\x80' 2e\xC3\xA9"),
            "295=\"x\" 296=1 324 294=\"?\"@2 296=2@2 295=\"e\"@2");
  EXPECT_EQ(Lex("1.\x82\xA0 '\x82\xA0\xFF'\n2"), "296=1 324 294=\"\\x82\\xA0\\xFF\" 296=2@2");
}

TEST(Lex, InsertSourceIsReadNext) {
  TJLex lex;
  lex.SetSource(U"a; b");
  ASSERT_TRUE(lex.Next());
  ASSERT_TRUE(lex.Next());
  ASSERT_EQ(lex.Token, tkSemicolon);
  lex.InsertSource(U" x\n");
  ASSERT_TRUE(lex.Next());
  EXPECT_EQ(lex.TokenText, "x");
  ASSERT_TRUE(lex.Next());
  EXPECT_EQ(lex.TokenText, "b");
  EXPECT_EQ(lex.Line, 2);
  EXPECT_FALSE(lex.Next());
  EXPECT_EQ(lex.Token, 0);
  EXPECT_FALSE(lex.Next());
}

TEST(Lex, TraceGivesCodeAndText) {
  TJLex lex;
  std::string trace;
  lex.OnTrace = [&](const std::string& t) { trace += t + ";"; };
  lex.SetSource(U"x = 'a';");
  while (lex.Next()) {
  }
  EXPECT_EQ(trace, "295( x );316( = );294( a );305( ; );");
}

}  // namespace
}  // namespace kestrin::script
