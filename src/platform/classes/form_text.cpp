// Form text: a recursive-descent parser over the bytes of the text into a FormNode tree,
// and the writer of such a tree. Each parse function opens with the rule it reads.
#include "platform/classes/form_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/cp932.h"
#include "platform/classes/persistent.h"

namespace kgui {

using kestrin::append_utf8;
using kestrin::cp932_to_utf8;
using kestrin::utf8_to_cp932;

bool FormValue::operator==(const FormValue& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Integer: return integer == o.integer;
    case Kind::Float: return number == o.number || (std::isnan(number) && std::isnan(o.number));
    case Kind::String: return text == o.text;
    case Kind::Ident: return text == o.text;
    case Kind::Set: return names == o.names;
    case Kind::List: return list == o.list;
    case Kind::Collection: return items == o.items;
    case Kind::Binary: return bytes == o.bytes;
  }
  return false;
}

bool FormNode::operator==(const FormNode& o) const {
  return kind == o.kind && name == o.name && class_name == o.class_name && properties == o.properties &&
         children == o.children;
}

namespace {

// Objects, lists and collections nest; input deeper than this is refused.
constexpr int kMaxDepth = 64;

struct ParseError {
  std::string message;
};

// One piece of a string literal: bytes from inside quotes, or a #n code.
struct StringPiece {
  bool raw = false;
  std::string bytes;
  uint32_t code = 0;
};

class Parser {
public:
  Parser(std::string_view text, RawText raw)
      : s_(text), raw_utf8_(raw == RawText::Detect && kestrin::is_valid_utf8(text)) {}

  // text := object {blank}
  FormNode parseAll() {
    skipBlanks();
    FormNode root = parseObject(0);
    skipBlanks();
    if (pos_ < s_.size()) fail("End of file expected");
    return root;
  }

private:
  [[noreturn]] void fail(const std::string& what) {
    throw ParseError{what + " on line " + std::to_string(line_)};
  }

  bool atEnd() const { return pos_ >= s_.size(); }
  char peek(size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }

  void skipBlanks() {
    while (!atEnd()) {
      char c = s_[pos_];
      if (c == '\n') ++line_;
      else if (c == '\r') {
        if (peek(1) != '\n') ++line_;
      } else if (c != ' ' && c != '\t' && c != '\f' && c != '\v' && c != '\0') {
        return;
      }
      ++pos_;
    }
  }

  static bool identStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool identChar(char c) { return identStart(c) || (c >= '0' && c <= '9'); }
  static bool digit(char c) { return c >= '0' && c <= '9'; }

  bool atIdent() {
    skipBlanks();
    return identStart(peek());
  }

  std::string ident() {
    skipBlanks();
    if (!identStart(peek())) fail("Identifier expected");
    size_t start = pos_;
    while (!atEnd() && identChar(s_[pos_])) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  // Whether the next word is the keyword (without case); takes it when it is.
  bool keyword(std::string_view word) {
    skipBlanks();
    size_t n = word.size();
    if (pos_ + n > s_.size() || !sameText(s_.substr(pos_, n), word)) return false;
    if (pos_ + n < s_.size() && identChar(s_[pos_ + n])) return false;
    pos_ += n;
    return true;
  }

  void expect(char c) {
    skipBlanks();
    if (peek() != c) fail(std::string("'") + c + "' expected");
    ++pos_;
  }

  bool take(char c) {
    skipBlanks();
    if (peek() != c) return false;
    ++pos_;
    return true;
  }

  // object := ("object" | "inherited" | "inline") [Name ":"] Class {property} {object} "end"
  FormNode parseObject(int depth) {
    if (depth > kMaxDepth) fail("Objects nested too deeply");
    FormNode node;
    node.line = line_;
    if (keyword("object")) node.kind = FormNode::Kind::Object;
    else if (keyword("inherited")) node.kind = FormNode::Kind::Inherited;
    else if (keyword("inline")) node.kind = FormNode::Kind::Inline;
    else fail("'object' expected");
    std::string first = ident();
    if (take(':')) {
      node.name = std::move(first);
      node.class_name = ident();
    } else {
      node.class_name = std::move(first);
    }
    for (;;) {
      skipBlanks();
      if (atEnd()) fail("'end' expected");
      if (keyword("end")) break;
      if (startsObject()) {
        node.children.push_back(parseObject(depth + 1));
      } else {
        if (!node.children.empty()) fail("'end' expected");
        node.properties.push_back(parseProperty(depth));
      }
    }
    return node;
  }

  bool startsObject() {
    size_t save = pos_;
    int save_line = line_;
    bool yes = keyword("object") || keyword("inherited") || keyword("inline");
    pos_ = save;
    line_ = save_line;
    return yes;
  }

  // property := Name {"." Name} "=" value
  FormProperty parseProperty(int depth) {
    FormProperty p;
    p.line = line_;
    p.path = ident();
    while (take('.')) p.path += "." + ident();
    expect('=');
    p.value = parseValue(depth);
    return p;
  }

  // value := number | string | Name | set | list | collection | binary
  FormValue parseValue(int depth) {
    if (depth > kMaxDepth) fail("Values nested too deeply");
    skipBlanks();
    FormValue v;
    v.line = line_;
    char c = peek();
    if (digit(c) || c == '-' || c == '$') return parseNumber(v);
    if (c == '\'' || c == '#') return parseString(v);
    if (identStart(c)) {
      // A name, or a reference to another form's component (Form2.Button1).
      v.kind = FormValue::Kind::Ident;
      v.text = ident();
      while (take('.')) v.text += "." + ident();
      return v;
    }
    ++pos_;
    switch (c) {
      case '[': return parseSet(v);
      case '(': return parseList(v, depth);
      case '<': return parseCollection(v, depth);
      case '{': return parseBinary(v);
      default: --pos_; fail("Invalid property value");
    }
  }

  // number := ["-"] (digits ["." digits] [("e"|"E") ["+"|"-"] digits] | "$" hexdigits)
  FormValue parseNumber(FormValue& v) {
    size_t start = pos_;
    bool negative = take('-');
    if (peek() == '$') {
      ++pos_;
      uint64_t u = 0;
      size_t digits = 0;
      for (; !atEnd() && std::isxdigit(static_cast<unsigned char>(s_[pos_])); ++pos_, ++digits) {
        if (u >> 60) fail("Number out of range");
        char h = s_[pos_];
        u = u * 16 + static_cast<uint64_t>(digit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
      }
      if (digits == 0) fail("Number expected");
      v.kind = FormValue::Kind::Integer;
      // $FFFFFFFF and the like are 32-bit values written as unsigned, as the platform writes them.
      int64_t value = digits <= 8 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(u)))
                                  : static_cast<int64_t>(u);
      v.integer = negative ? -value : value;
      return v;
    }
    size_t digits_start = pos_;
    while (digit(peek())) ++pos_;
    if (pos_ == digits_start) fail("Number expected");
    bool is_float = false;
    if (peek() == '.' && digit(peek(1))) {
      is_float = true;
      ++pos_;
      while (digit(peek())) ++pos_;
    }
    if ((peek() == 'e' || peek() == 'E') &&
        (digit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && digit(peek(2))))) {
      is_float = true;
      pos_ += 2;
      while (digit(peek())) ++pos_;
    }
    if (identChar(peek())) fail("Number expected");
    std::string_view token = s_.substr(start, pos_ - start);
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (is_float) {
      v.kind = FormValue::Kind::Float;
      auto [p, ec] = std::from_chars(first, last, v.number);
      if (ec != std::errc() || p != last) fail("Invalid floating point value");
    } else {
      v.kind = FormValue::Kind::Integer;
      auto [p, ec] = std::from_chars(first, last, v.integer);
      if (ec != std::errc() || p != last) fail("Number out of range");
    }
    return v;
  }

  // string := part {part} {"+" part {part}};  part := "'" {char | "''"} "'" | "#" number
  FormValue parseString(FormValue& v) {
    std::vector<StringPiece> pieces;
    for (;;) {
      readParts(pieces);
      if (!take('+')) break;
      skipBlanks();
      if (peek() != '\'' && peek() != '#') fail("String expected");
    }
    v.kind = FormValue::Kind::String;
    v.text = decode(pieces);
    return v;
  }

  void readParts(std::vector<StringPiece>& pieces) {
    for (;;) {
      char c = peek();
      if (c == '\'') {
        ++pos_;
        StringPiece piece{true, {}, 0};
        for (;;) {
          if (atEnd() || s_[pos_] == '\r' || s_[pos_] == '\n') fail("Unterminated string");
          char ch = s_[pos_++];
          if (ch == '\'') {
            if (peek() != '\'') break;
            ++pos_;
          }
          piece.bytes += ch;
        }
        pieces.push_back(std::move(piece));
      } else if (c == '#') {
        ++pos_;
        pieces.push_back(StringPiece{false, {}, charCode()});
      } else {
        return;
      }
    }
  }

  // "#" (digits | "$" hexdigits): a byte, or a UTF-16 unit above 255
  uint32_t charCode() {
    uint32_t code = 0;
    size_t digits = 0;
    if (peek() == '$') {
      ++pos_;
      for (; std::isxdigit(static_cast<unsigned char>(peek())); ++pos_, ++digits) {
        char h = s_[pos_];
        code = code * 16 + static_cast<uint32_t>(digit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
        if (code > 0xFFFF) fail("Invalid character code");
      }
    } else {
      for (; digit(peek()); ++pos_, ++digits) {
        code = code * 10 + static_cast<uint32_t>(s_[pos_] - '0');
        if (code > 0xFFFF) fail("Invalid character code");
      }
    }
    if (digits == 0) fail("Number expected");
    return code;
  }

  // Raw bytes from quotes, as UTF-8.
  std::string rawText(const std::string& bytes) const { return raw_utf8_ ? bytes : cp932_to_utf8(bytes); }

  // A #n above 255 anywhere makes the literal wide: every #n is then a UTF-16 unit.
  // Otherwise the codes are CP932 bytes.
  std::string decode(const std::vector<StringPiece>& pieces) const {
    bool wide = false;
    for (const auto& p : pieces) wide = wide || (!p.raw && p.code > 255);
    std::string out;
    std::string bytes;  // a run of CP932 bytes not yet decoded
    auto flush = [&] {
      if (!bytes.empty()) out += cp932_to_utf8(bytes);
      bytes.clear();
    };
    for (size_t i = 0; i < pieces.size(); ++i) {
      const StringPiece& p = pieces[i];
      if (p.raw) {
        if (!wide && !raw_utf8_) {
          bytes += p.bytes;  // raw CP932 text and #n bytes may share a character
          continue;
        }
        flush();
        out += rawText(p.bytes);
      } else if (!wide) {
        bytes += static_cast<char>(p.code);
      } else {
        uint32_t cp = p.code;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < pieces.size() && !pieces[i + 1].raw &&
            pieces[i + 1].code >= 0xDC00 && pieces[i + 1].code <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (pieces[++i].code - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
          cp = 0xFFFD;
        }
        append_utf8(out, cp);
      }
    }
    flush();
    return out;
  }

  // set := "[" [Name {"," Name}] "]"
  FormValue parseSet(FormValue& v) {
    v.kind = FormValue::Kind::Set;
    if (take(']')) return v;
    for (;;) {
      v.names.push_back(ident());
      if (take(']')) return v;
      expect(',');
    }
  }

  // list := "(" {value} ")"
  FormValue parseList(FormValue& v, int depth) {
    v.kind = FormValue::Kind::List;
    while (!take(')')) {
      if (atEnd()) fail("')' expected");
      v.list.push_back(parseValue(depth + 1));
    }
    return v;
  }

  // collection := "<" {"item" {property} "end"} ">"
  FormValue parseCollection(FormValue& v, int depth) {
    v.kind = FormValue::Kind::Collection;
    while (!take('>')) {
      if (!keyword("item")) fail("'item' expected");
      std::vector<FormProperty> props;
      while (!keyword("end")) {
        if (atEnd()) fail("'end' expected");
        props.push_back(parseProperty(depth + 1));
      }
      v.items.push_back(std::move(props));
    }
    return v;
  }

  // binary := "{" {hexdigit hexdigit | blank} "}"
  FormValue parseBinary(FormValue& v) {
    v.kind = FormValue::Kind::Binary;
    int high = -1;
    for (;;) {
      skipBlanks();
      if (atEnd()) fail("'}' expected");
      char c = s_[pos_++];
      if (c == '}') break;
      if (!std::isxdigit(static_cast<unsigned char>(c))) fail("Invalid binary value");
      int nibble = digit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
      if (high < 0) {
        high = nibble;
      } else {
        v.bytes += static_cast<char>(high * 16 + nibble);
        high = -1;
      }
    }
    if (high >= 0) fail("Invalid binary value");
    return v;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
  bool raw_utf8_;
};

// ---- Writing ----

void indent(std::string& out, int level) { out.append(static_cast<size_t>(level) * 2, ' '); }

// Decodes one UTF-8 character at s[i]; an invalid byte reads as U+FFFD, one byte long.
uint32_t nextChar(std::string_view s, size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + static_cast<size_t>(len) > s.size() || !kestrin::is_valid_utf8(s.substr(i, static_cast<size_t>(len)))) {
    ++i;
    return 0xFFFD;
  }
  uint32_t cp = len == 1 ? b : b & (0x7F >> len);
  for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
  i += static_cast<size_t>(len);
  return cp;
}

// What one character of a string becomes: a printable byte in quotes, or #n codes.
struct Atom {
  bool quoted;
  std::string text;  // quoted: the character's bytes; else "#n"
};

std::vector<Atom> stringAtoms(std::string_view utf8) {
  struct Ch {
    uint32_t cp;
    std::string bytes;  // UTF-8
    std::string cp932;  // empty when CP932 cannot hold it
  };
  std::vector<Ch> chars;
  bool wide = false;
  for (size_t i = 0; i < utf8.size();) {
    Ch ch;
    ch.cp = nextChar(utf8, i);
    append_utf8(ch.bytes, ch.cp);
    if (ch.cp >= 0x80) {
      std::string enc = utf8_to_cp932(ch.bytes);
      if (cp932_to_utf8(enc) == ch.bytes) ch.cp932 = std::move(enc);
      else if (ch.cp > 0xFF) wide = true;
    }
    chars.push_back(std::move(ch));
  }
  std::vector<Atom> atoms;
  for (const Ch& ch : chars) {
    if (ch.cp >= 0x20 && ch.cp < 0x7F) {
      atoms.push_back({true, ch.bytes});
    } else if (ch.cp < 0x80) {
      atoms.push_back({false, "#" + std::to_string(ch.cp)});
    } else if (wide) {
      // Every code of a wide literal is a UTF-16 unit.
      if (ch.cp >= 0x10000) {
        uint32_t v = ch.cp - 0x10000;
        atoms.push_back({false, "#" + std::to_string(0xD800 + (v >> 10))});
        atoms.push_back({false, "#" + std::to_string(0xDC00 + (v & 0x3FF))});
      } else {
        atoms.push_back({false, "#" + std::to_string(ch.cp)});
      }
    } else if (!ch.cp932.empty()) {
      for (unsigned char b : ch.cp932) atoms.push_back({false, "#" + std::to_string(b)});
    } else {
      // Neither CP932 nor wide (U+0080..U+00FF): as #n it would read back as a CP932 byte,
      // so it stays UTF-8 inside the quotes, which a UTF-8 file reads as written.
      atoms.push_back({true, ch.bytes});
    }
  }
  return atoms;
}

// The literal in pieces of about max_len characters, each a complete literal.
std::vector<std::string> stringPieces(std::string_view utf8, size_t max_len) {
  std::vector<std::string> pieces;
  std::string cur;
  bool in_quote = false;
  auto close = [&] {
    if (in_quote) cur += '\'';
    in_quote = false;
  };
  for (const Atom& a : stringAtoms(utf8)) {
    size_t add = a.text.size() + (a.quoted ? (a.text == "'" ? 2 : 1) + (in_quote ? 0 : 1) : (in_quote ? 1 : 0));
    if (!cur.empty() && cur.size() + add > max_len) {
      close();
      pieces.push_back(std::move(cur));
      cur.clear();
    }
    if (a.quoted) {
      if (!in_quote) cur += '\'';
      in_quote = true;
      cur += a.text == "'" ? "''" : a.text;
    } else {
      close();
      cur += a.text;
    }
  }
  close();
  if (cur.empty() && pieces.empty()) cur = "''";
  if (!cur.empty()) pieces.push_back(std::move(cur));
  return pieces;
}

std::string floatText(double d) {
  if (!std::isfinite(d)) return "0.0";
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, d);
  std::string s(buf, res.ptr);
  size_t e = s.find('e');
  if (s.find('.') == std::string::npos) s.insert(e == std::string::npos ? s.size() : e, ".0");
  return s;
}

void writeProperties(std::string& out, const std::vector<FormProperty>& props, int level);

// Pieces of one string joined by "+" at the ends of lines indented one level deeper.
std::string joinPieces(const std::vector<std::string>& pieces, int level) {
  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      out += " +\r\n";
      indent(out, level + 1);
    }
    out += pieces[i];
  }
  return out;
}

void writeObject(std::string& out, const FormNode& node, int level) {
  indent(out, level);
  out += node.kind == FormNode::Kind::Inherited ? "inherited " : node.kind == FormNode::Kind::Inline ? "inline " : "object ";
  if (!node.name.empty()) out += node.name + ": ";
  out += node.class_name + "\r\n";
  writeProperties(out, node.properties, level + 1);
  for (const FormNode& child : node.children) writeObject(out, child, level + 1);
  indent(out, level);
  out += "end\r\n";
}

void writeProperties(std::string& out, const std::vector<FormProperty>& props, int level) {
  for (const FormProperty& p : props) {
    indent(out, level);
    std::string value = formatFormValue(p.value, level);
    out += p.path + (value.starts_with("\r\n") ? " =" : " = ") + value + "\r\n";
  }
}

}  // namespace

std::string formStringLiteral(std::string_view utf8) {
  return stringPieces(utf8, std::numeric_limits<size_t>::max()).front();
}

std::string formatFormValue(const FormValue& v, int level) {
  std::string out;
  switch (v.kind) {
    case FormValue::Kind::Integer: return std::to_string(v.integer);
    case FormValue::Kind::Float: return floatText(v.number);
    case FormValue::Kind::Ident: return v.text;
    case FormValue::Kind::Set: {
      out = "[";
      for (size_t i = 0; i < v.names.size(); ++i) out += (i ? ", " : "") + v.names[i];
      return out + "]";
    }
    case FormValue::Kind::String: {
      std::vector<std::string> pieces = stringPieces(v.text, 64);
      if (pieces.size() == 1) return pieces.front();
      out = "\r\n";
      indent(out, level + 1);
      return out + joinPieces(pieces, level);
    }
    case FormValue::Kind::List: {
      out = "(";
      for (const FormValue& item : v.list) {
        out += "\r\n";
        indent(out, level + 1);
        // A long string item runs on over lines of the same indent.
        out += item.kind == FormValue::Kind::String ? joinPieces(stringPieces(item.text, 64), level)
                                                     : formatFormValue(item, level + 1);
      }
      return out + ")";
    }
    case FormValue::Kind::Collection: {
      out = "<";
      for (const auto& item : v.items) {
        out += "\r\n";
        indent(out, level + 1);
        out += "item\r\n";
        writeProperties(out, item, level + 2);
        indent(out, level + 1);
        out += "end";
      }
      return out + ">";
    }
    case FormValue::Kind::Binary: {
      static const char hex[] = "0123456789ABCDEF";
      out = "{";
      for (size_t i = 0; i < v.bytes.size(); ++i) {
        if (i % 32 == 0) {
          out += "\r\n";
          indent(out, level + 1);
        }
        auto b = static_cast<unsigned char>(v.bytes[i]);
        out += hex[b >> 4];
        out += hex[b & 15];
      }
      return out + "}";
    }
  }
  return out;
}

std::string formatFormText(const FormNode& root) {
  std::string out;
  writeObject(out, root, 0);
  return out;
}

FormParseResult parseFormText(std::string_view text, RawText raw) {
  FormParseResult result;
  try {
    Parser parser(text, raw);
    result.root = parser.parseAll();
  } catch (const ParseError& e) {
    result.error = e.message;
    result.root = FormNode();
  }
  return result;
}

}  // namespace kgui
