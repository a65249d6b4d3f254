// Form text: values of every kind as the reader takes them, the encoding of strings both
// ways (CP932 bytes, UTF-16 units, raw bytes in UTF-8 or CP932 files), syntax errors with
// their lines, and write-read-write stability.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/form_text.h"

namespace kgui {
namespace {

// The value of "P = <value>" inside a one-property object.
FormValue valueOf(const std::string& value_text, RawText raw = RawText::Detect) {
  FormParseResult r = parseFormText("object F: TForm\r\n  P = " + value_text + "\r\nend\r\n", raw);
  EXPECT_TRUE(r.ok()) << value_text << ": " << r.error;
  if (!r.ok() || r.root.properties.size() != 1) return {};
  return r.root.properties[0].value;
}

TEST(FormText, NumbersAndNames) {
  using K = FormValue::Kind;
  struct Case {
    const char* text;
    K kind;
    int64_t integer;
    double number;
    const char* name;
  };
  const Case cases[] = {
      {"42", K::Integer, 42, 0, ""},
      {"-7", K::Integer, -7, 0, ""},
      {"$FF", K::Integer, 255, 0, ""},
      {"$80000000", K::Integer, INT32_MIN, 0, ""},  // a 32-bit value written unsigned
      {"-$10", K::Integer, -16, 0, ""},
      {"1.500000000000000000", K::Float, 0, 1.5, ""},  // the 18-decimal fixed form
      {"1.5", K::Float, 0, 1.5, ""},
      {"-2.5E-3", K::Float, 0, -0.0025, ""},
      {"1e+20", K::Float, 0, 1e20, ""},
      {"clBtnFace", K::Ident, 0, 0, "clBtnFace"},
      {"True", K::Ident, 0, 0, "True"},
      {"Form2.Button1", K::Ident, 0, 0, "Form2.Button1"},
  };
  for (const Case& c : cases) {
    FormValue v = valueOf(c.text);
    EXPECT_EQ(v.kind, c.kind) << c.text;
    if (c.kind == K::Integer) {
      EXPECT_EQ(v.integer, c.integer) << c.text;
    } else if (c.kind == K::Float) {
      EXPECT_DOUBLE_EQ(v.number, c.number) << c.text;
    } else {
      EXPECT_EQ(v.text, c.name) << c.text;
    }
  }
}

TEST(FormText, StringsAsTheReaderDecodesThem) {
  struct Case {
    const char* text;
    std::string expected;
  };
  const Case cases[] = {
      {"'It''s'", "It's"},
      {"''", ""},
      {"'a'#13#10'b'", "a\r\nb"},
      {"#$41#66", "AB"},
      {"'one' +\r\n    'two'", "onetwo"},
      {"#130#160", "\xE3\x81\x82"},            // CP932 bytes of HIRAGANA A
      {"#176", "\xEF\xBD\xB0"},                // alone, 0xB0 is a half-width katakana byte
      {"#176#12354", "\xC2\xB0\xE3\x81\x82"},  // wide: every code a UTF-16 unit
      {"#55357#56832", "\xF0\x9F\x98\x80"},    // a surrogate pair
      {"#55357'x'", "\xEF\xBF\xBDx"},          // a lone surrogate
      {"'\xC3\xA9t\xC3\xA9'", "\xC3\xA9t\xC3\xA9"},  // raw UTF-8 in a UTF-8 text
  };
  for (const Case& c : cases) EXPECT_EQ(valueOf(c.text).text, c.expected) << c.text;
  // Raw bytes in a text that is not UTF-8 are CP932, a trail byte 0x5C included.
  EXPECT_EQ(valueOf("'\x83\x5C\x83\x74\x83\x67'").text, "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88");
  // A script string is CP932 even where its bytes happen to be valid UTF-8.
  EXPECT_EQ(valueOf("'\xC3\xA9'", RawText::Cp932).text, "\xEF\xBE\x83\xEF\xBD\xA9");
}

TEST(FormText, StringsAsTheWriterWritesThem) {
  struct Case {
    std::string text;
    const char* literal;
  };
  const Case cases[] = {
      {"plain", "'plain'"},
      {"", "''"},
      {"It's", "'It''s'"},
      {"a\r\nb", "'a'#13#10'b'"},
      {"\xC2\xB0", "#129#139"},                       // CP932 holds the degree sign
      {"\xE3\x82\xBD", "#131#92"},                    // its trail byte 0x5C as a code too
      {"\xED\x95\x9C", "#54620"},                     // Hangul: CP932 cannot hold it
      {"\xC2\xB0\xED\x95\x9C", "#176#54620"},         // then the whole literal is wide
      {"\xC3\xA9", "'\xC3\xA9'"},                     // not CP932, below 256: raw UTF-8
      {"\xF0\x9F\x98\x80", "#55357#56832"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formStringLiteral(c.text), c.literal) << c.text;
    EXPECT_EQ(valueOf(formStringLiteral(c.text)).text, c.text) << c.literal;
  }
}

TEST(FormText, SetsListsCollectionsAndBinary) {
  FormValue set = valueOf("[akLeft, akTop]");
  EXPECT_EQ(set.kind, FormValue::Kind::Set);
  EXPECT_EQ(set.names, (std::vector<std::string>{"akLeft", "akTop"}));
  EXPECT_TRUE(valueOf("[]").names.empty());

  FormValue list = valueOf("(\r\n    'a'\r\n    'b' + 'c')");
  ASSERT_EQ(list.list.size(), 2u);
  EXPECT_EQ(list.list[1].text, "bc");

  FormValue coll = valueOf("<\r\n    item\r\n      Width = 50\r\n    end\r\n    item\r\n    end>");
  ASSERT_EQ(coll.items.size(), 2u);
  EXPECT_EQ(coll.items[0][0].path, "Width");
  EXPECT_TRUE(coll.items[1].empty());

  FormValue bin = valueOf("{\r\n    0A0b\r\n    FF}");
  EXPECT_EQ(bin.bytes, std::string("\x0A\x0B\xFF", 3));
}

TEST(FormText, HeadersKeywordsAndChildren) {
  FormParseResult r = parseFormText(
      "OBJECT Form1: TForm\n  Caption = 'x'\n  Object TButton\n  End\n  inherited B: TButton\n  end\n"
      "  inline C: TFrame\n  end\nend");
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.root.name, "Form1");
  ASSERT_EQ(r.root.children.size(), 3u);
  EXPECT_EQ(r.root.children[0].name, "");
  EXPECT_EQ(r.root.children[0].class_name, "TButton");
  EXPECT_EQ(r.root.children[1].kind, FormNode::Kind::Inherited);
  EXPECT_EQ(r.root.children[2].kind, FormNode::Kind::Inline);
  EXPECT_EQ(r.root.children[2].line, 7);
}

TEST(FormText, SyntaxErrorsNameWhatWasExpectedAndTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"object F: TForm\r\n  Caption = 'a' +\r\n    5\r\nend", "String expected on line 3"},
      {"object F: TForm\r\n  Caption 'a'\r\nend", "'=' expected on line 2"},
      {"object F: TForm\r\n  Caption = 'a", "Unterminated string on line 2"},
      {"F: TForm\r\nend", "'object' expected on line 1"},
      {"object F: TForm\r\n  Left = 1", "'end' expected on line 2"},
      {"object F: TForm\r\nend\r\nend", "End of file expected on line 3"},
      {"object F: TForm\r\n  A = [x y]\r\nend", "',' expected on line 2"},
      {"object F: TForm\r\n  A = [1]\r\nend", "Identifier expected on line 2"},
      {"object F: TForm\r\n  A = {0G}\r\nend", "Invalid binary value on line 2"},
      {"object F: TForm\r\n  A = {0}\r\nend", "Invalid binary value on line 2"},
      {"object F: TForm\r\n  A = <x>\r\nend", "'item' expected on line 2"},
      {"object F: TForm\r\n  A = 12x\r\nend", "Number expected on line 2"},
      {"object F: TForm\r\n  A = 99999999999999999999\r\nend", "Number out of range on line 2"},
      {"object F: TForm\r\n  A = #70000\r\nend", "Invalid character code on line 2"},
      {"object F: TForm\r\n  A = )\r\nend", "Invalid property value on line 2"},
      {"object F: TForm\r\n  object B: TButton\r\n  end\r\n  Left = 1\r\nend", "'end' expected on line 4"},
      {"", "'object' expected on line 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(parseFormText(c.text).error, c.message) << c.text;
}

TEST(FormText, DeepNestingIsRefusedNotACrash) {
  std::string objects;
  for (int i = 0; i < 100; ++i) objects += "object A: T\n";
  EXPECT_EQ(parseFormText(objects).error, "Objects nested too deeply on line 66");
  std::string lists = "object F: T\n P = " + std::string(100000, '(');
  EXPECT_EQ(parseFormText(lists).error, "Values nested too deeply on line 2");
}

TEST(FormText, WriteReadWriteIsStable) {
  const char* text =
      "object Form1: TForm\r\n"
      "  Caption = 'A long caption that goes well past the sixty-four characters of one line' +\r\n"
      "    ' of text, with '#12354' in it'\r\n"
      "  Anchors = [akLeft, akTop]\r\n"
      "  Ratio = 0.1\r\n"
      "  Whole = 2.000000000000000000\r\n"
      "  Lines.Strings = (\r\n"
      "    'one'\r\n"
      "    '')\r\n"
      "  Panels = <\r\n"
      "    item\r\n"
      "      Text = 'p'\r\n"
      "    end>\r\n"
      "  Data = {0102}\r\n"
      "  object Button1: TButton\r\n"
      "    Tag = -5\r\n"
      "  end\r\n"
      "end\r\n";
  FormParseResult first = parseFormText(text);
  ASSERT_TRUE(first.ok()) << first.error;
  const std::string written = formatFormText(first.root);
  FormParseResult second = parseFormText(written);
  ASSERT_TRUE(second.ok()) << second.error << "\n" << written;
  EXPECT_EQ(second.root, first.root);
  EXPECT_EQ(formatFormText(second.root), written);
  EXPECT_NE(written.find("  Whole = 2.0\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("  Caption =\r\n    '"), std::string::npos) << written;
  for (size_t start = 0, end; (end = written.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 80u) << written.substr(start, end - start);
}

}  // namespace
}  // namespace kgui
