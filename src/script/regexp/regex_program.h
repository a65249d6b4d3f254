// Compiled regular-expression programs: the node graph that the compiler builds and the
// matcher walks, with its character sets and the accelerators that skip hopeless starts.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/cp932.h"
#include "script/regexp/regex.h"

namespace kestrin::script {

// Largest repeat count; a quantifier without an upper bound uses it.
inline constexpr int32_t kRegexInfinite = 2147483646;
// Nested counted loops allowed while matching; entering one more raises 1014.
inline constexpr uint32_t kRegexLoopDepth = 10;

struct ByteSet {
  std::array<uint64_t, 4> w{};
  bool Has(unsigned char c) const { return (w[c >> 6] >> (c & 63)) & 1; }
  void Add(unsigned char c) { w[c >> 6] |= uint64_t{1} << (c & 63); }
  void AddRange(unsigned lo, unsigned hi) {
    for (unsigned c = lo; c <= hi && c < 256; ++c) Add(static_cast<unsigned char>(c));
  }
  void AddAll() { w.fill(~uint64_t{0}); }
  void Invert() {
    for (uint64_t& x : w) x = ~x;
  }
  void Merge(const ByteSet& o) {
    for (size_t i = 0; i < w.size(); ++i) w[i] |= o.w[i];
  }
  static ByteSet Of(std::string_view chars) {
    ByteSet s;
    for (unsigned char c : chars) s.Add(c);
    return s;
  }
};

// A bracket set or a class. Single bytes are looked up in `bytes`, complemented already when
// the set is negated. In script mode a double-byte character is looked up in `wide`, sorted
// and merged ranges of lead * 256 + trail codes.
struct CharSet {
  ByteSet bytes;
  std::vector<std::pair<uint16_t, uint16_t>> wide;
  bool negated = false;
  bool HasWide(uint16_t code) const {
    // The last range starting at or below code is the only one that can hold it.
    auto it = std::upper_bound(wide.begin(), wide.end(), code,
                               [](uint16_t c, const std::pair<uint16_t, uint16_t>& r) { return c < r.first; });
    const bool in = it != wide.begin() && code <= std::prev(it)->second;
    return in != negated;
  }
};

// The bytes a match can begin with from some node, and whether it can begin at the end of
// the subject. Used to skip start positions and alternatives that cannot succeed.
struct FirstSet {
  ByteSet bytes;
  bool at_end = false;
  bool Accepts(const unsigned char* s, size_t pos, size_t len) const {
    return pos < len ? bytes.Has(s[pos]) : at_end;
  }
  void SetAll() {
    bytes.AddAll();
    at_end = true;
  }
};

enum class Op : uint8_t {
  End,                                 // success
  Bol, Eol, BolMl, EolMl,              // start and end of input, of a line (m)
  Bound, NotBound,                     // word boundary and its negation
  Any, AnyMl, Digit, NotDigit, Set,    // one character; AnyMl excludes line separators
  Lit, LitCi,                          // a literal, a literal ignoring case
  Ref, RefCi,                          // back-reference to group a
  Open, Close,                         // group a starts or ends here
  Split,                               // try next, then alternative a
  Repeat,                              // repeat the one-character node a: repeats[b]
  LoopEntry, Loop,                     // counted loop around a complex body: loops[a]
  Mark, Guard,                         // loop progress: slot a records where an iteration began
};

// One node. `next` is the node that follows; the operands depend on the op:
//   Set: a = set index.  Lit/LitCi: a = offset into literals (and folded), b = length;
//   flag = the literal ends in a lone lead byte (script mode checks for a character start).
//   Ref/RefCi, Open/Close: a = group.  Split: a = alternative, b/c = first sets of next/a.
//   Repeat: a = operand node, b = repeat index.  Loop: a = loop index.
//   Mark: a = slot.  Guard: a = the loop's exit, b = slot (no progress: leave the loop).
struct Node {
  Op op = Op::End;
  bool flag = false;
  int32_t next = -1;
  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;
};

struct RepeatInfo {
  int32_t min = 0;
  int32_t max = kRegexInfinite;
  bool greedy = true;
  int32_t follow = -1;  // first set of what comes after the repeat
};

struct LoopInfo {
  int32_t min = 0;
  int32_t max = kRegexInfinite;
  int32_t body = -1;
  bool greedy = true;
  // The body holds a back-reference and so might match empty: an empty iteration ends the loop.
  bool guarded = false;
};

// A literal searched for with memchr on its rarest byte.
struct RegexLiteral {
  std::string text;
  size_t rare = 0;  // index of the byte least likely to occur in text
  size_t Find(const unsigned char* s, size_t len, size_t from) const;
  static RegexLiteral Of(std::string text);
};

struct RegexProgram {
  RegexSettings settings;
  std::vector<Node> nodes;
  int32_t entry = 0;
  std::string literals;  // bytes of the Lit and LitCi nodes
  std::string folded;    // LitCi: the case-inverted byte at the same offset
  std::vector<CharSet> sets;
  std::vector<FirstSet> firsts;
  std::vector<RepeatInfo> repeats;
  std::vector<LoopInfo> loops;
  int32_t guard_slots = 0;

  // Character classes of the matcher, from the settings.
  ByteSet word;
  ByteSet separators;
  int pair_head = -1;  // LinePairedSeparator, -1 when none
  int pair_tail = -1;

  // Accelerators; each skips a start position only when no match can start there.
  bool anchored = false;     // every match starts at the input start
  RegexLiteral prefix;       // every match starts with this text
  RegexLiteral required;     // every match contains this text
  FirstSet first;            // a match can start only at these bytes
  // The program starts with an unbounded repeat and has no back-reference: when an attempt
  // fails, no attempt inside the run of the repeat's operand can succeed either.
  int32_t leading_repeat = -1;
};

// A compile error: its code and the 1-based pattern position where it was found (the
// pattern length when the pattern ended early).
struct RegexCompileError {
  int code;
  int pos;
};

// Compiles settings.expression; throws RegexCompileError.
std::shared_ptr<const RegexProgram> CompileRegexProgram(const RegexSettings& settings);

// An unset sub-match position.
inline constexpr uint32_t kRegexNone = 0xFFFFFFFF;
// Longest subject a search accepts; positions must fit the 1-based int interface.
inline constexpr size_t kRegexMaxSubject = 0x7FFFFFF0;

// One entry of the backtracking stack: an undo record or a point to resume from.
struct RegexFrame {
  uint8_t kind;
  uint8_t small;  // group or loop level
  uint16_t spare;
  uint32_t node;
  uint32_t pos;
  uint32_t aux;
};

struct RegexMatchState {
  std::array<uint32_t, TRegex::kSubMatches> start;
  std::array<uint32_t, TRegex::kSubMatches> end;
  uint32_t depth = 0;  // counted loops entered and not left
  std::array<uint32_t, kRegexLoopDepth + 1> level_count{};
  std::array<uint32_t, kRegexLoopDepth + 1> level_start{};
  std::vector<uint32_t> guards;
  std::vector<RegexFrame> stack;
  // Facts about the subject for script mode, worked out at the first search that needs them.
  bool subject_scanned = false;
  bool subject_has_lead = false;
  std::vector<uint64_t> char_starts;

  RegexMatchState() { ClearMatches(); }
  void ClearMatches() {
    start.fill(kRegexNone);
    end.fill(kRegexNone);
  }
  void ForgetSubject() {
    subject_scanned = false;
    char_starts.clear();
  }
};

enum class SearchOutcome { NoMatch, Match, TooComplex, LoopStackExceeded, LoopWithoutEntry };

// The first match at byte `start` or later; on Match, sub-match 0 and the groups are in
// `state`. Steps and stack frames are budgeted by the length of the subject.
SearchOutcome RegexSearch(const RegexProgram& program, std::string_view subject, size_t start,
                          RegexMatchState& state);

}  // namespace kestrin::script
