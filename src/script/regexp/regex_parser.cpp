// The pattern parser: recursive descent over the pattern bytes into a syntax tree. Group
// nesting is bounded by the 14 groups a pattern may have, and so is the recursion.
#include <algorithm>
#include <cstring>
#include <string>

#include "script/regexp/regex_syntax.h"

namespace kestrin::script {
namespace {

constexpr int kMaxGroups = 14;
constexpr size_t kMaxBoundDigits = 8;

// Metacharacters that end a literal run: ']' and '}' are literal.
bool EndsRun(unsigned char c) {
  switch (c) {
    case '^': case '$': case '.': case '[': case '(': case ')': case '|':
    case '?': case '+': case '*': case '\\': case '{':
      return true;
    default:
      return false;
  }
}

bool IsQuantifier(unsigned char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Applies one letter of an inline modifier group; false for a letter that is none.
bool ApplyModifierLetter(unsigned char c, bool& clearing, int& mods) {
  int bit = 0;
  switch (c | 0x20) {
    case 'i': bit = rmIgnoreCase; break;
    case 'r': bit = rmRussian; break;
    case 's': bit = rmSingleLine; break;
    case 'g': bit = rmGreedy; break;
    case 'm': bit = rmMultiLine; break;
    case 'x': bit = rmExtended; break;
    default:
      if (c != '-') return false;
      clearing = true;
      return true;
  }
  mods = clearing ? (mods & ~bit) : (mods | bit);
  return true;
}

// The digits of a {min,max} quantifier, found before any of it is checked.
struct BraceText {
  size_t min_begin = 0, min_end = 0;
  bool comma = false;
  size_t max_begin = 0, max_end = 0;
  size_t close = 0;  // index of '}'
};

class Parser {
public:
  Parser(const RegexSettings& s, RegexProgram& program)
      : p_(s.expression), settings_(s), program_(program), mods_(s.modifiers) {}

  SyntaxTree Run() {
    int flags = 0;
    tree_.root = ParseReg(false, 0, &flags);
    return std::move(tree_);
  }

private:
  [[noreturn]] void Fail(int code, size_t index) const {
    throw RegexCompileError{code, static_cast<int>(std::min(index + 1, p_.size()))};
  }
  bool AtEnd() const { return i_ >= p_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(p_[i_]); }
  unsigned char At(size_t k) const { return static_cast<unsigned char>(p_[k]); }
  bool Script() const { return settings_.script_mode; }
  bool Extended() const { return mods_ & rmExtended; }
  // Bytes of the pattern character at `k`: 2 for a double-byte character in script mode.
  size_t CharLen(size_t k) const {
    return Script() && is_cp932_lead(At(k)) && k + 1 < p_.size() ? 2 : 1;
  }
  int32_t Add(SyntaxNode n) {
    tree_.nodes.push_back(std::move(n));
    return static_cast<int32_t>(tree_.nodes.size() - 1);
  }
  int32_t AddAtom(Op op, int flags, int32_t a = 0) {
    SyntaxNode n;
    n.kind = SyntaxKind::Atom;
    n.op = op;
    n.flags = flags;
    n.a = a;
    return Add(std::move(n));
  }
  int32_t AddEmpty() { return Add(SyntaxNode{}); }

  // reg: branch ('|' branch)*, parenthesised or the whole pattern. Inline modifiers end
  // with the group that holds them.
  int32_t ParseReg(bool paren, size_t open_index, int* flags) {
    const int saved_mods = mods_;
    int group = 0;
    if (paren) {
      if (groups_ >= kMaxGroups) Fail(reeCompParseRegTooManyBrackets, open_index);
      group = ++groups_;
    }
    std::vector<int32_t> alternatives;
    int width = sfHasWidth;
    int refs = 0;
    for (;;) {
      int f = 0;
      alternatives.push_back(ParseBranch(&f));
      width &= f;
      refs |= f & sfHasRef;
      if (AtEnd() || Peek() != '|') break;
      ++i_;
    }
    mods_ = saved_mods;
    int32_t body = alternatives[0];
    if (alternatives.size() > 1) {
      SyntaxNode alt;
      alt.kind = SyntaxKind::Alt;
      alt.kids = std::move(alternatives);
      alt.flags = width | refs;
      body = Add(std::move(alt));
    }
    *flags = width | refs;
    if (!paren) {
      if (!AtEnd()) Fail(Peek() == ')' ? reeCompParseRegUnmatchedBrackets2 : reeCompParseRegJunkOnEnd, i_);
      return body;
    }
    if (AtEnd() || Peek() != ')') Fail(reeCompParseRegUnmatchedBrackets, p_.size());
    ++i_;
    SyntaxNode g;
    g.kind = SyntaxKind::Group;
    g.a = group;
    g.kids = {body};
    g.flags = *flags;
    return Add(std::move(g));
  }

  // branch: piece*, up to '|', ')' or the end; empty matches empty.
  int32_t ParseBranch(int* flags) {
    std::vector<int32_t> pieces;
    int f = 0;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      int pf = 0;
      pieces.push_back(ParsePiece(&pf));
      f |= pf & (sfHasWidth | sfHasRef);
    }
    *flags = f;
    if (pieces.empty()) return AddEmpty();
    if (pieces.size() == 1) return pieces[0];
    SyntaxNode c;
    c.kind = SyntaxKind::Concat;
    c.kids = std::move(pieces);
    c.flags = f;
    return Add(std::move(c));
  }

  // piece: atom, optionally followed by '*', '+', '?' or '{min,max}', then '?' for lazy.
  int32_t ParsePiece(int* flags) {
    int af = 0;
    const int32_t atom = ParseAtom(&af);
    *flags = af;
    if (AtEnd() || !IsQuantifier(Peek())) return atom;
    const size_t qpos = i_;
    const unsigned char op = Peek();
    BraceText braces;
    if (op == '{' && !ScanBraces(i_, &braces)) return atom;  // a literal '{'
    if (op != '?' && !(af & sfHasWidth)) Fail(reePlusStarOperandCouldBeEmpty, qpos);
    int32_t min = 0, max = kRegexInfinite;
    switch (op) {
      case '+': min = 1; ++i_; break;
      case '?': max = 1; ++i_; break;
      case '{': ReadBraces(braces, &min, &max); i_ = braces.close + 1; break;
      default: ++i_; break;
    }
    bool greedy = mods_ & rmGreedy;
    if (!AtEnd() && Peek() == '?') {
      greedy = false;
      ++i_;
    }
    if (!AtEnd() && IsQuantifier(Peek()) && (Peek() != '{' || ScanBraces(i_, &braces)))
      Fail(reeNestedSQP, i_);
    SyntaxNode r;
    r.kind = SyntaxKind::Repeat;
    r.kids = {atom};
    r.min = min;
    r.max = max;
    r.greedy = greedy;
    r.quant = static_cast<char>(op);
    r.flags = (af & sfHasRef) | ((op == '+' || (op == '{' && min > 0)) ? sfHasWidth : 0);
    *flags = r.flags;
    return Add(std::move(r));
  }

  // Whether '{' at `k` starts a quantifier: digits, then '}' or ',' digits* '}'.
  bool ScanBraces(size_t k, BraceText* b) const {
    size_t j = k + 1;
    b->min_begin = j;
    while (j < p_.size() && IsDigit(At(j))) ++j;
    b->min_end = j;
    if (b->min_end == b->min_begin || j >= p_.size()) return false;
    b->comma = At(j) == ',';
    if (b->comma) {
      b->max_begin = ++j;
      while (j < p_.size() && IsDigit(At(j))) ++j;
      b->max_end = j;
      if (j >= p_.size()) return false;
    }
    if (At(j) != '}') return false;
    b->close = j;
    return true;
  }

  int32_t BoundValue(size_t begin, size_t end) const {
    if (end - begin > kMaxBoundDigits) Fail(reeBRACESArgTooBig, begin + kMaxBoundDigits);
    int32_t v = 0;
    for (size_t k = begin; k < end; ++k) v = v * 10 + (At(k) - '0');
    return v;
  }

  void ReadBraces(const BraceText& b, int32_t* min, int32_t* max) const {
    *min = BoundValue(b.min_begin, b.min_end);
    *max = *min;
    if (b.comma) *max = b.max_end > b.max_begin ? BoundValue(b.max_begin, b.max_end) : kRegexInfinite;
    if (*max < *min) Fail(reeBracesMinParamGreaterMax, b.close);
  }

  // atom: one character, class, set, group, anchor, escape or literal run. A flat dispatch
  // on the first character.
  int32_t ParseAtom(int* flags) {
    *flags = 0;
    const size_t at = i_;
    const unsigned char c = Peek();
    if (CharLen(at) == 2) return ParseLiteralRun(flags);
    if (Extended() && (IsBlank(c) || c == '#')) {
      SkipExtendedComment();
      return AddEmpty();
    }
    const bool lines = (mods_ & rmMultiLine) &&
                       !(settings_.line_separators.empty() && settings_.line_paired_separator.empty());
    switch (c) {
      case '^':
        ++i_;
        return AddAtom(lines ? Op::BolMl : Op::Bol, 0);
      case '$':
        ++i_;
        return AddAtom(lines ? Op::EolMl : Op::Eol, 0);
      case '.':
        ++i_;
        *flags = sfHasWidth | sfSimple;
        return AddAtom((mods_ & rmSingleLine) ? Op::Any : Op::AnyMl, *flags);
      case '[':
        return ParseSet(flags);
      case '(':
        return ParseParen(flags);
      case '|': case ')':
        Fail(reeInternalUrp, at);
      case '?': case '+': case '*':
        Fail(reeQPSBFollowsNothing, at);
      case '\\':
        return ParseEscape(flags);
      default:
        return ParseLiteralRun(flags);
    }
  }

  // x mode: blanks up to the next non-blank, or '#' up to and with the line break.
  void SkipExtendedComment() {
    if (Peek() != '#') {
      while (!AtEnd() && IsBlank(Peek())) ++i_;
      return;
    }
    while (!AtEnd() && Peek() != '\n' && Peek() != '\r') i_ += CharLen(i_);
    if (!AtEnd() && Peek() == '\r') ++i_;
    if (!AtEnd() && Peek() == '\n') ++i_;
  }

  // '(' starts a group, a "(?#...)" comment or a "(?imsx-imsx)" modifier group.
  int32_t ParseParen(int* flags) {
    const size_t open = i_++;
    if (AtEnd() || Peek() != '?') return ParseReg(true, open, flags);
    if (i_ + 1 < p_.size() && At(i_ + 1) == '#') {
      const size_t close = p_.find(')', i_ + 2);
      if (close == std::string::npos) Fail(reeUnclosedComment, p_.size());
      i_ = close + 1;
      return AddEmpty();
    }
    bool clearing = false;
    size_t j = i_ + 1;
    for (; j < p_.size() && At(j) != ')'; ++j)
      if (!ApplyModifierLetter(At(j), clearing, mods_)) Fail(reeUrecognizedModifier, j);
    if (j >= p_.size()) Fail(reeUrecognizedModifier, p_.size());
    i_ = j + 1;
    return AddEmpty();
  }

  int32_t ParseEscape(int* flags) {
    ++i_;
    if (AtEnd()) Fail(reeTrailingBackSlash, p_.size());
    const unsigned char c = Peek();
    const int one = sfHasWidth | sfSimple;
    if (CharLen(i_) == 1) {
      switch (c) {
        case 'd': ++i_; *flags = one; return AddAtom(Op::Digit, one);
        case 'D': ++i_; *flags = one; return AddAtom(Op::NotDigit, one);
        case 'w': ++i_; *flags = one; return AddClass(settings_.word_chars, false);
        case 'W': ++i_; *flags = one; return AddClass(settings_.word_chars, true);
        case 's': ++i_; *flags = one; return AddClass(settings_.space_chars, false);
        case 'S': ++i_; *flags = one; return AddClass(settings_.space_chars, true);
        case 'b': ++i_; return AddAtom(Op::Bound, 0);
        case 'B': ++i_; return AddAtom(Op::NotBound, 0);
        case 'A': ++i_; return AddAtom(Op::Bol, 0);
        case 'Z': ++i_; return AddAtom(Op::Eol, 0);
        default:
          break;
      }
      if (c >= '1' && c <= '9') {
        ++i_;
        *flags = one | sfHasRef;
        return AddAtom((mods_ & rmIgnoreCase) ? Op::RefCi : Op::Ref, *flags, c - '0');
      }
    }
    const uint32_t code = UnQuote();
    std::string bytes;
    if (code > 0xFF) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    *flags = one;
    return AddLiteral(bytes, 1, code <= 0xFF && Script() && is_cp932_lead(static_cast<unsigned char>(code)));
  }

  int32_t AddClass(const std::string& chars, bool negated) {
    CharSet set;
    set.bytes = ByteSet::Of(chars);
    if (negated) set.bytes.Invert();
    set.negated = negated;
    program_.sets.push_back(std::move(set));
    return AddAtom(Op::Set, sfHasWidth | sfSimple, static_cast<int32_t>(program_.sets.size() - 1));
  }

  // The character after a backslash: t n r f a e, \xhh or \x{h..}, else itself (in script
  // mode a double-byte character). Returns a byte, or lead * 256 + trail.
  uint32_t UnQuote() {
    const size_t at = i_;
    if (CharLen(at) == 2) {
      i_ += 2;
      return uint32_t{At(at)} << 8 | At(at + 1);
    }
    ++i_;
    switch (At(at)) {
      case 't': return 9;
      case 'n': return 10;
      case 'r': return 13;
      case 'f': return 12;
      case 'a': return 7;
      case 'e': return 27;
      case 'x': return HexEscape();
      default: return At(at);
    }
  }

  uint32_t HexEscape() {
    if (AtEnd()) Fail(reeNoHexCodeAfterBSlashX, p_.size());
    uint32_t v = 0;
    if (Peek() != '{') {
      for (int k = 0; k < 2; ++k, ++i_) {
        if (AtEnd()) Fail(reeNoHexCodeAfterBSlashX, p_.size());
        const int h = HexValue(Peek());
        if (h < 0) Fail(reeBadHexDigit, i_);
        v = v * 16 + static_cast<uint32_t>(h);
      }
      return v;
    }
    ++i_;
    for (int digits = 0;; ++digits, ++i_) {
      if (AtEnd()) Fail(reeNoHexCodeAfterBSlashX, p_.size());
      if (Peek() == '}') {
        if (digits == 0) Fail(reeNoHexCodeAfterBSlashX, i_);
        ++i_;
        return v;
      }
      const int h = HexValue(Peek());
      if (h < 0) Fail(reeBadHexDigit, i_);
      if (digits == 2) Fail(reeHexCodeAfterBSlashXTooBig, i_);
      v = v * 16 + static_cast<uint32_t>(h);
    }
  }

  // A run of literal characters up to the next metacharacter. Followed by a quantifier, a
  // run of several characters leaves its last one to the next atom, which the quantifier
  // then repeats. In x mode blanks inside the run are dropped and '#' ends it.
  int32_t ParseLiteralRun(int* flags) {
    std::string bytes;
    size_t last = i_;
    int chars = 0;
    while (!AtEnd()) {
      const size_t len = CharLen(i_);
      if (len == 1 && chars > 0 && EndsRun(Peek())) break;
      if (len == 1 && Extended() && IsBlank(Peek())) {
        ++i_;
        continue;
      }
      if (len == 1 && Extended() && Peek() == '#') break;
      last = i_;
      bytes.append(p_, i_, len);
      ++chars;
      i_ += len;
    }
    if (chars > 1 && !AtEnd() && IsQuantifier(Peek())) {
      bytes.resize(bytes.size() - CharLen(last));
      i_ = last;
      --chars;
    }
    *flags = sfHasWidth | (chars == 1 ? sfSimple : 0);
    const bool lone_lead = Script() && CharLen(last) == 1 && is_cp932_lead(At(last));
    return AddLiteral(bytes, chars, lone_lead && chars > 0);
  }

  // A literal node; with modifier i its single-byte characters match either case.
  int32_t AddLiteral(const std::string& bytes, int chars, bool lone_lead) {
    SyntaxNode n;
    n.kind = SyntaxKind::Lit;
    n.op = (mods_ & rmIgnoreCase) ? Op::LitCi : Op::Lit;
    n.flags = sfHasWidth | (chars == 1 ? sfSimple : 0);
    n.a = static_cast<int32_t>(program_.literals.size());
    n.b = static_cast<int32_t>(bytes.size());
    n.lone_lead = lone_lead;
    program_.literals += bytes;
    for (size_t k = 0; k < bytes.size();) {
      const unsigned char c = static_cast<unsigned char>(bytes[k]);
      if (Script() && is_cp932_lead(c) && k + 1 < bytes.size()) {
        program_.folded.append(bytes, k, 2);
        k += 2;
        continue;
      }
      program_.folded += static_cast<char>(n.op == Op::LitCi ? settings_.invert_case(c) : c);
      ++k;
    }
    return Add(std::move(n));
  }

  int32_t ParseSet(int* flags);

  std::string_view p_;
  size_t i_ = 0;
  const RegexSettings& settings_;
  RegexProgram& program_;
  SyntaxTree tree_;
  int mods_;
  int groups_ = 0;
};

// Collects the members of a bracket set: with modifier i every single byte also adds its
// case-inverted form; double-byte characters (script mode) are kept as code ranges.
class SetBuilder {
public:
  SetBuilder(bool fold, CaseInverter invert) : fold_(fold), invert_(invert) {}
  void AddByte(unsigned char c) {
    set_.bytes.Add(c);
    if (fold_) set_.bytes.Add(invert_(c));
  }
  void AddRange(uint32_t lo, uint32_t hi) {
    for (uint32_t c = lo; c <= hi && c <= 0xFF; ++c) AddByte(static_cast<unsigned char>(c));
    if (hi > 0xFF) set_.wide.emplace_back(static_cast<uint16_t>(std::max<uint32_t>(lo, 0x100)), static_cast<uint16_t>(hi));
  }
  void AddChars(std::string_view chars) {
    for (unsigned char c : chars) AddByte(c);
  }
  CharSet Finish(bool negated) {
    auto& w = set_.wide;
    std::sort(w.begin(), w.end());
    std::vector<std::pair<uint16_t, uint16_t>> merged;
    for (const auto& r : w) {
      if (!merged.empty() && r.first <= merged.back().second + 1)
        merged.back().second = std::max(merged.back().second, r.second);
      else
        merged.push_back(r);
    }
    w = std::move(merged);
    if (negated) set_.bytes.Invert();
    set_.negated = negated;
    return std::move(set_);
  }

private:
  CharSet set_;
  bool fold_;
  CaseInverter invert_;
};

// set: '[' '^'? ']'? (char | char '-' char | '\' class)* ']'. A '-' is literal first, last,
// after a range or class, and right before a class escape.
int32_t Parser::ParseSet(int* flags) {
  ++i_;
  SetBuilder set((mods_ & rmIgnoreCase) != 0, settings_.invert_case);
  const bool russian = (mods_ & rmRussian) && !Script();
  bool negated = false;
  if (!AtEnd() && Peek() == '^') {
    negated = true;
    ++i_;
  }
  const auto class_escape = [&](size_t k, const char* letters) {
    return k + 1 < p_.size() && At(k) == '\\' && std::strchr(letters, At(k + 1)) && At(k + 1) != 0;
  };
  const auto read_char = [&]() -> uint32_t {
    if (Peek() != '\\') {
      const size_t at = i_, len = CharLen(at);
      i_ += len;
      return len == 2 ? (uint32_t{At(at)} << 8 | At(at + 1)) : At(at);
    }
    if (i_ + 1 >= p_.size()) Fail(reeParseAtomTrailingBackSlash, p_.size());
    ++i_;
    return UnQuote();
  };
  int64_t prev = -1;          // the last single member: it may start a range
  bool dash_is_literal = true;
  if (!AtEnd() && Peek() == ']') {
    set.AddByte(']');
    prev = ']';
    dash_is_literal = false;
    ++i_;
  }
  for (;;) {
    if (AtEnd()) Fail(reeUnmatchedSqBrackets, p_.size());
    const unsigned char c = Peek();
    if (c == ']') {
      ++i_;
      break;
    }
    const size_t after = i_ + 1;
    if (c == '-' && !dash_is_literal && prev >= 0 && after < p_.size() && At(after) != ']' &&
        !class_escape(after, "dDsSwW")) {
      ++i_;
      const uint32_t lo = static_cast<uint32_t>(prev), hi = read_char();
      if (russian && lo == 0xE0 && hi == 0xDF) {
        set.AddRange(0xC0, 0xFF);
        set.AddByte(0xA8);
        set.AddByte(0xB8);
      } else if (hi < lo) {
        Fail(reeInvalidRange, i_ - 1);
      } else {
        set.AddRange(lo, hi);
        if (russian && lo == 0xE0 && hi == 0xFF) set.AddByte(0xB8);
        if (russian && lo == 0xC0 && hi == 0xDF) set.AddByte(0xA8);
      }
      prev = -1;
      dash_is_literal = true;
      continue;
    }
    if (class_escape(i_, "dsw")) {
      const unsigned char k = At(i_ + 1);
      set.AddChars(k == 'd' ? std::string_view("0123456789")
                            : k == 's' ? std::string_view(settings_.space_chars) : std::string_view(settings_.word_chars));
      i_ += 2;
      prev = -1;
      dash_is_literal = true;
      continue;
    }
    const uint32_t code = read_char();
    set.AddRange(code, code);
    prev = code;
    dash_is_literal = false;
  }
  program_.sets.push_back(set.Finish(negated));
  *flags = sfHasWidth | sfSimple;
  return AddAtom(Op::Set, *flags, static_cast<int32_t>(program_.sets.size() - 1));
}

}  // namespace

SyntaxTree ParseRegex(const RegexSettings& settings, RegexProgram& program) {
  return Parser(settings, program).Run();
}

}  // namespace kestrin::script
