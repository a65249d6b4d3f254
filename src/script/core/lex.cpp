// The script lexer: characters to tokens, with one character of push-back.
#include "script/core/lex.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <unordered_map>

#include "script/core/source_text.h"

namespace kestrin::script {
namespace {

constexpr char32_t kEof = 0xFFFFFFFF;

// The lexer keeps its source packed: each character in one to four bytes, as UTF-8 lays
// out code points but up to 0x1FFFFF, so that the CP932 characters above U+10FFFF (see
// kCp932CharBase) fit too. A quarter of the memory of a character string, and read back
// forwards and backwards (trail bytes are 10xxxxxx, lead bytes never).
void PackChar(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[extra] | (c >> (6 * extra))));
  for (int k = extra - 1; k >= 0; --k) out.push_back(static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F)));
}

std::string PackSource(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) PackChar(c, out);
  return out;
}

bool IsTrailByte(char b) { return (static_cast<unsigned char>(b) & 0xC0) == 0x80; }

char32_t UnpackChar(std::string_view s, size_t& pos) {
  unsigned char b = static_cast<unsigned char>(s[pos++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
  char32_t c = b & (0x3F >> extra);
  while (extra-- > 0 && pos < s.size()) c = (c << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
  return c;
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char32_t c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$'; }
bool IsIdentChar(char32_t c) { return IsLetter(c) || IsDigit(c); }

const std::unordered_map<std::string_view, int>& Keywords() {
  static const std::unordered_map<std::string_view, int> table = {
      {"var", tkVar}, {"function", tkFunction}, {"if", tkIf}, {"else", tkElse},
      {"while", tkWhile}, {"for", tkFor}, {"continue", tkContinue}, {"break", tkBreak},
      {"return", tkReturn}, {"with", tkWith}, {"this", tkThis}, {"null", tkNull},
      {"true", tkTrue}, {"false", tkFalse}, {"new", tkNew}, {"delete", tkDelete},
      {"void", tkVoid}, {"typeof", tkTypeof}, {"try", tkTry}, {"catch", tkCatch},
      {"finally", tkFinally}, {"throw", tkThrow}, {"undefined", tkUndefined},
      {"infinity", tkInfinity}, {"in", tkIn}, {"case", tkCase}, {"class", tkClass},
      {"const", tkConst}, {"debugger", tkDebugger}, {"do", tkDo}, {"enum", tkEnum},
      {"export", tkExport}, {"extends", tkExtends}, {"import", tkImport}, {"super", tkSuper},
      {"switch", tkSwitch}, {"default", tkDefault}, {"static", tkStatic}, {"global", tkGlobal},
      {"NaN", tkNaN}};
  return table;
}

// The RegExp statics that a dollar sign and one character name after a dot.
const char* RegExpStaticName(char32_t c) {
  switch (c) {
    case '_': return "input";
    case '*': return "multiline";
    case '&': return "lastMatch";
    case '+': return "lastParen";
    case '`': return "leftContext";
    case '"': return "rightContext";
    default: return nullptr;
  }
}

// Decimal exponent of the leading significant digit of a float text ("0.05e-3" -> -5).
long LeadingExponent(std::string_view t) {
  size_t e = t.find_first_of("eE");
  long exp = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = t.substr(e + 1);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    for (char c : digits) exp = std::min(exp * 10 + (c - '0'), 1000000L);
    if (negative) exp = -exp;
  }
  std::string_view mant = t.substr(0, e);
  size_t dot = mant.find('.');
  std::string_view whole = mant.substr(0, dot);
  size_t first = whole.find_first_not_of('0');
  if (first != std::string_view::npos) return exp + static_cast<long>(whole.size() - first) - 1;
  if (dot == std::string_view::npos) return std::numeric_limits<long>::min();
  std::string_view frac = mant.substr(dot + 1);
  first = frac.find_first_not_of('0');
  if (first == std::string_view::npos) return std::numeric_limits<long>::min();
  return exp - static_cast<long>(first) - 1;
}

// Decimal float text to double; overflow fails, underflow gives zero.
bool ParseFloat(std::string_view t, double& out) {
  if (t.empty() || !IsDigit(static_cast<unsigned char>(t[0]))) return false;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), out, std::chars_format::general);
  if (ptr != t.data() + t.size()) return false;
  if (ec == std::errc::result_out_of_range) {
    if (LeadingExponent(t) >= 0) return false;
    out = 0;
    return true;
  }
  return ec == std::errc();
}

// Unsigned integer text (decimal, or hexadecimal after "0x") up to `max`.
bool ParseUnsigned(std::string_view t, uint64_t max, uint64_t& out) {
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return false;
  uint64_t v = 0;
  for (char c : t) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (v > (max - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return false;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  out = v;
  return true;
}

bool IsHexText(std::string_view t) { return t.size() > 1 && (t[1] == 'x' || t[1] == 'X'); }

}  // namespace

TJLex::TJLex() { Reset(); }

void TJLex::Reset() {
  Line = 1;
  owned_.clear();
  source_ = {};
  text_.clear();
  TokenText.clear();
  Token = 0;
  PrevToken = 0;
  pos_ = 0;
}

void TJLex::SetSource(std::u32string text) {
  Reset();
  owned_ = PackSource(text);
  source_ = owned_;
}

void TJLex::ViewSource(std::string_view utf8) {
  Reset();
  source_ = utf8;
}

void TJLex::ForgetViewedSource() {
  if (source_.data() != owned_.data()) source_ = {};
}

size_t TJLex::InsertSource(std::u32string_view text) {
  std::string packed = PackSource(text);
  if (source_.data() != owned_.data()) owned_.assign(source_);
  owned_.insert(std::min(pos_, owned_.size()), packed);
  source_ = owned_;
  return packed.size();
}

char32_t TJLex::ReadChar() {
  char32_t c = ReadContentChar();
  if (c != kEof) text_.push_back(c);
  return c;
}

char32_t TJLex::ReadContentChar() {
  if (pos_ >= source_.size()) {
    ++pos_;
    return kEof;
  }
  char32_t c = UnpackChar(source_, pos_);
  if (c == 10) ++Line;
  return c;
}

char32_t TJLex::PeekChar() const {
  size_t at = pos_;
  return at < source_.size() ? UnpackChar(source_, at) : 0;
}

// One character back: past the end by one step, else over the character's trail bytes.
void TJLex::UnreadChar() {
  if (pos_ > source_.size()) {
    --pos_;
    return;
  }
  if (pos_ == 0) return;
  do --pos_;
  while (pos_ > 0 && IsTrailByte(source_[pos_]));
  if (source_[pos_] == 10) --Line;
  if (!text_.empty()) text_.pop_back();
}

bool TJLex::Next() {
  PrevToken = Token;
  for (;;) {
    text_.clear();
    char32_t c = ReadChar();
    if (c == kEof) {
      pos_ = source_.size();  // stay at the end so that further reads end too
      Token = 0;
      TokenText.clear();
      return false;
    }
    int code = 0;
    if (IsDigit(c)) {
      UnreadChar();
      code = ReadNumber();
    } else if (IsLetter(c)) {
      UnreadChar();
      code = ReadIdentifier();
    } else if (c == '"' || c == '\'') {
      code = ReadString();
    } else if (c >= 33 && c <= 126 && c != '#' && c != '\\' && c != '`') {
      UnreadChar();
      code = ReadOperator();
    }
    if (code == 0) continue;
    Token = code;
    if (OnTrace) OnTrace(std::to_string(code) + "( " + TokenText + " )");
    return true;
  }
}

int TJLex::ReadIdentifier() {
  char32_t c = ReadChar();
  if (PrevToken == tkDot && c == '$') {
    if (const char* name = RegExpStaticName(PeekChar())) {
      ReadChar();
      TokenText = name;
      return tkIdentifier;
    }
  }
  while (IsIdentChar(c)) c = ReadChar();
  UnreadChar();
  TokenText = EncodeCp932(text_);
  if (PrevToken != tkDot) {
    auto it = Keywords().find(TokenText);
    if (it != Keywords().end()) return it->second;
  }
  return tkIdentifier;
}

// Digits, then a fraction ('.' and a digit), an exponent ('e' and a sign or digit) or
// hexadecimal digits after an 'x' anywhere.
int TJLex::ReadNumber() {
  bool is_float = false;
  for (;;) {
    char32_t c = ReadChar();
    if (IsDigit(c)) continue;
    if (c == '.' || c == 'e' || c == 'E') {
      char32_t d = ReadChar();
      bool go_on = c == '.' ? IsDigit(d) : (IsDigit(d) || d == '+' || d == '-');
      if (go_on) {
        is_float = true;
        continue;
      }
      UnreadChar();
      UnreadChar();
      break;
    }
    if (c == 'x' || c == 'X') {
      do c = ReadChar();
      while (IsHexDigit(c));
    }
    UnreadChar();
    break;
  }
  TokenText = EncodeCp932(text_);
  return ConvertNumber(TokenText, is_float);
}

// Float forms take the float conversion; integers try 32 bits, then 64 bits (kept as a
// double), then the float conversion. Hexadecimal literals are bit patterns: 0xFFFFFFFF is
// the integer -1, as the platform's 32-bit conversion gave.
int TJLex::ConvertNumber(const std::string& text, bool is_float) {
  if (!is_float) {
    uint64_t v = 0;
    bool hex = IsHexText(text);
    if (ParseUnsigned(text, hex ? 0xFFFFFFFFu : 0x7FFFFFFFu, v)) {
      IntValue = static_cast<int32_t>(static_cast<uint32_t>(v));
      return tkInteger;
    }
    if (ParseUnsigned(text, hex ? ~uint64_t{0} : 0x7FFFFFFFFFFFFFFFu, v)) {
      FloatValue = static_cast<double>(static_cast<int64_t>(v));
      return tkFloat;
    }
  }
  if (ParseFloat(text, FloatValue)) return tkFloat;
  return tkNaN;
}

// The contents go straight to TokenText as CP932 bytes (not through the token's
// characters), so a long literal costs its bytes once.
int TJLex::ReadString() {
  char32_t quote = text_.back();
  std::string value;
  for (;;) {
    char32_t c = ReadContentChar();
    if (c == kEof) return 0;
    if (c == quote) break;
    if (c != '\\' || quote != '"') {
      AppendCp932(c, value);
      continue;
    }
    c = ReadContentChar();
    switch (c) {
      case kEof: return 0;
      case '\\': value.push_back('\\'); break;
      case '"': value.push_back('"'); break;
      case 'b': value.push_back(8); break;
      case 'f': value.push_back(12); break;
      case 'n': value.append("\r\n"); break;
      case 'r': value.push_back(13); break;
      case 't': value.push_back(9); break;
      default: break;  // an unknown escape drops both characters
    }
  }
  TokenText = std::move(value);
  return tkString;
}

int TJLex::Op(int code, char sub) {
  SubCode = sub;
  TokenText = EncodeCp932(text_);
  return code;
}

// The operator table: the longest operator that starts with the character read.
int TJLex::ReadOperator() {
  char32_t c = ReadChar();
  auto next_is = [this](char32_t want) {
    if (ReadChar() == want) return true;
    UnreadChar();
    return false;
  };
  switch (c) {
    case '(': return Op(tkLParen);
    case ')': return Op(tkRParen);
    case '{': return Op(tkLBrace);
    case '}': return Op(tkRBrace);
    case '[': return Op(tkLBracket);
    case ']': return Op(tkRBracket);
    case ';': return Op(tkSemicolon);
    case ',': return Op(tkComma);
    case '?': return Op(tkQuestion);
    case ':': return Op(tkColon);
    case '.': return Op(tkDot);
    case '@': return Op(tkAt);
    case '~': return Op(tkNot, '~');
    case '+':
    case '-':
      if (next_is(c)) return Op(tkIncDec, static_cast<char>(c));
      if (next_is('=')) return Op(tkAssignOp, static_cast<char>(c));
      return Op(tkAdditive, static_cast<char>(c));
    case '*':
    case '%':
      if (next_is('=')) return Op(tkAssignOp, static_cast<char>(c));
      return Op(tkMultiplicative, static_cast<char>(c));
    case '/': return ReadSlash();
    case '<':
      if (next_is('<')) return next_is('=') ? Op(tkAssignOp, '<') : Op(tkShift, '<');
      return next_is('=') ? Op(tkRelational, '(') : Op(tkRelational, '<');
    case '>':
      if (next_is('>')) {
        if (next_is('>')) return next_is('=') ? Op(tkAssignOp, '3') : Op(tkShift, '3');
        return next_is('=') ? Op(tkAssignOp, '>') : Op(tkShift, '>');
      }
      return next_is('=') ? Op(tkRelational, ')') : Op(tkRelational, '>');
    case '=':
      if (next_is('=')) return next_is('=') ? Op(tkEquality, '3') : Op(tkEquality, '=');
      return Op(tkAssign);
    case '!':
      if (next_is('=')) return next_is('=') ? Op(tkEquality, '2') : Op(tkEquality, '!');
      return Op(tkNot, '!');
    case '|':
      if (next_is('|')) return Op(tkOrOr);
      return next_is('=') ? Op(tkAssignOp, '|') : Op(tkBitOr);
    case '&':
      if (next_is('&')) return Op(tkAndAnd);
      return next_is('=') ? Op(tkAssignOp, '&') : Op(tkBitAnd);
    case '^':
      return next_is('=') ? Op(tkAssignOp, '^') : Op(tkBitXor);
    default:
      return 0;
  }
}

// A '/' already read: a comment, a division or the start of a regular-expression literal.
int TJLex::ReadSlash() {
  char32_t c = ReadChar();
  if (c == '/' || c == '*') {
    SkipComment(c);
    return 0;
  }
  UnreadChar();
  if (!SlashIsDivision()) return ReadRegExp();
  if (ReadChar() == '=') return Op(tkAssignOp, '/');
  UnreadChar();
  return Op(tkMultiplicative, '/');
}

bool TJLex::SlashIsDivision() const {
  switch (PrevToken) {
    case tkRParen: case tkRBracket: case tkRegExp: case tkNaN: case tkNull: case tkTrue:
    case tkFalse: case tkUndefined: case tkInfinity: case tkString: case tkIdentifier:
    case tkInteger: case tkFloat:
      return true;
    default:
      return false;
  }
}

bool TJLex::SkipComment(char32_t kind) {
  char32_t prev = 0;
  for (;;) {
    char32_t c = ReadChar();
    if (c == kEof) return false;
    if (kind == '/' && c == 10) return true;
    if (kind == '*' && prev == '*' && c == '/') return true;
    prev = c;
  }
}

// A bracket set of a regular-expression literal: where it opens, and whether a ']' there
// is a member (right after "[" or "[^") or closes it.
struct SetTracker {
  bool inside = false;
  size_t open = 0;  // pattern length just after the '['
  void See(char32_t c, const std::u32string& pattern) {
    if (!inside) {
      if (c == '[') {
        inside = true;
        open = pattern.size() + 1;
      }
      return;
    }
    const bool first = pattern.size() == open || (pattern.size() == open + 1 && pattern[open] == '^');
    if (c == ']' && !first) inside = false;
  }
};

int TJLex::ReadRegExp() {
  std::u32string pattern;
  SetTracker set;
  for (;;) {
    char32_t c = ReadChar();
    if (c == kEof) return 0;
    if (c == '/') break;
    if (c != '\\') {
      set.See(c, pattern);
      pattern.push_back(c);
      continue;
    }
    c = ReadChar();
    switch (c) {
      case kEof: return 0;
      case 'f': pattern.push_back(12); break;
      case 'n': pattern.append(U"\r\n"); break;
      case 'r': pattern.push_back(13); break;
      case 't': pattern.push_back(9); break;
      // A word boundary for the engine; inside a set the backspace character.
      case 'b':
        if (set.inside) pattern.push_back(8);
        else pattern.append(U"\\b");
        break;
      case '/': pattern.push_back('/'); break;
      case '0': break;
      default:
        pattern.push_back('\\');
        pattern.push_back(c);
    }
  }
  pattern.push_back(0);
  for (;;) {
    char32_t c = ReadChar();
    if (c != 'g' && c != 'i' && c != 'm') {
      UnreadChar();
      break;
    }
    pattern.push_back(c);
  }
  TokenText = EncodeCp932(pattern);
  return tkRegExp;
}

}  // namespace kestrin::script
