// The regular-expression engine of scripts and protocol parsers: TRegex compiles a pattern
// into a program and matches it against a subject, backtracking on a heap stack under step
// and memory budgets. Positions reported to callers are 1-based byte offsets.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::script {

// Error codes of TRegex. Codes below 1000 are compile errors and carry a pattern position.
enum RegexErrorCode : int {
  reeOk = 0,
  reeCompNullArgument = 100,
  reeCompRegexpTooBig = 101,
  reeCompParseRegTooManyBrackets = 102,
  reeCompParseRegUnmatchedBrackets = 103,
  reeCompParseRegUnmatchedBrackets2 = 104,
  reeCompParseRegJunkOnEnd = 105,
  reePlusStarOperandCouldBeEmpty = 106,
  reeNestedSQP = 107,
  reeBadHexDigit = 108,
  reeInvalidRange = 109,
  reeParseAtomTrailingBackSlash = 110,
  reeNoHexCodeAfterBSlashX = 111,
  reeHexCodeAfterBSlashXTooBig = 112,
  reeUnmatchedSqBrackets = 113,
  reeInternalUrp = 114,
  reeQPSBFollowsNothing = 115,
  reeTrailingBackSlash = 116,
  reeRarseAtomInternalDisaster = 119,
  reeBRACESArgTooBig = 122,
  reeBracesMinParamGreaterMax = 124,
  reeUnclosedComment = 125,
  reeComplexBracesNotImplemented = 126,
  reeUrecognizedModifier = 127,
  reeBadLinePairedSeparator = 128,
  reeRegRepeatCalledInappropriately = 1000,
  reeMatchPrimMemoryCorruption = 1001,
  reeMatchPrimCorruptedPointers = 1002,
  reeNoExpression = 1003,
  reeCorruptedProgram = 1004,
  reeNoInputStringSpecified = 1005,
  reeOffsetMustBeGreaterThen0 = 1006,
  reeExecNextWithoutExec = 1007,
  reeGetInputStringWithoutInputString = 1008,
  reeDumpCorruptedOpcode = 1011,
  reeModifierUnsupported = 1013,
  reeLoopStackExceeded = 1014,
  reeLoopWithoutEntry = 1015,
  reeMatchTooComplex = 1016,
  reeBadPCodeImported = 2000,
};

// The message of an error code ("Unknown error" for codes without one).
std::string RegexErrorMessage(int code);

// Raised for every compile and match error. The message is the code's message, with
// " (pos N)" appended for compile errors.
class ERegex : public std::runtime_error {
public:
  ERegex(int code, int compiler_error_pos, const std::string& message)
      : std::runtime_error(message), code_(code), pos_(compiler_error_pos) {}
  int ErrorCode() const { return code_; }
  int CompilerErrorPos() const { return pos_; }

private:
  int code_;
  int pos_;
};

// Swaps the case of a character; the default swaps ASCII letters only.
using CaseInverter = unsigned char (*)(unsigned char);
unsigned char InvertCaseAscii(unsigned char c);

// Modifier bits, addressed by index 1..6 in GetModifier/SetModifier.
enum RegexModifier : int {
  rmIgnoreCase = 1,   // i: literals, sets and back-references ignore case
  rmRussian = 2,      // r: Cyrillic ranges of code page 1251 in sets (byte mode)
  rmSingleLine = 4,   // s: '.' also matches line separators
  rmGreedy = 8,       // g: quantifiers are greedy; off makes all of them lazy
  rmMultiLine = 16,   // m: '^' and '$' match at line starts and ends
  rmExtended = 32,    // x: unescaped blanks are ignored, '#' starts a comment
};

// Everything a compiled program depends on. Two TRegex objects with equal settings can
// share one program.
struct RegexSettings {
  std::string expression;
  int modifiers = rmRussian | rmSingleLine | rmGreedy;
  // Script mode: the pattern and the subject are CP932 text, where a lead byte and the
  // byte after it form one character. Byte mode: every byte is a character.
  bool script_mode = false;
  std::string space_chars{' ', '\t', '\n', '\r', '\f'};
  std::string word_chars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
  std::string line_separators{'\r', '\n'};
  std::string line_paired_separator{'\r', '\n'};  // head and tail, or empty
  CaseInverter invert_case = InvertCaseAscii;

  friend bool operator==(const RegexSettings&, const RegexSettings&) = default;
};

// A compiled pattern: immutable once built, shared between TRegex objects.
struct RegexProgram;

// A small bounded cache of compiled programs, keyed by all of their settings, so that a
// pattern used over and over compiles once. The least recently used program goes first.
class RegexProgramCache {
public:
  explicit RegexProgramCache(size_t capacity = 64) : capacity_(capacity ? capacity : 1) {}
  std::shared_ptr<const RegexProgram> Find(const RegexSettings& settings);
  void Insert(std::shared_ptr<const RegexProgram> program);
  size_t size() const { return entries_.size(); }

private:
  size_t capacity_;
  std::vector<std::shared_ptr<const RegexProgram>> entries_;  // most recent last
};

// The sub-match positions and the backtracking stack of one matcher.
struct RegexMatchState;

class TRegex {
public:
  static constexpr int kSubMatches = 15;  // index 0 the whole match, 1..14 the groups

  TRegex();
  ~TRegex();
  TRegex(const TRegex& other);
  TRegex& operator=(const TRegex& other);
  TRegex(TRegex&&) noexcept;
  TRegex& operator=(TRegex&&) noexcept;

  // The pattern. Setting a different text discards the compiled program; compilation
  // happens at the first match or at Compile.
  const std::string& Expression() const { return settings_.expression; }
  void SetExpression(std::string_view pattern);

  // Modifiers by index: 1 i, 2 r, 3 s, 4 g, 5 m, 6 x; other indices raise 1013. A change
  // takes effect at the next match, which compiles again.
  bool GetModifier(int index) const;
  void SetModifier(int index, bool on);

  bool ScriptMode() const { return settings_.script_mode; }
  void SetScriptMode(bool on);

  // Character classes and line ends. Setting one discards the compiled program.
  const std::string& SpaceChars() const { return settings_.space_chars; }
  void SetSpaceChars(std::string_view chars);
  const std::string& WordChars() const { return settings_.word_chars; }
  void SetWordChars(std::string_view chars);
  const std::string& LineSeparators() const { return settings_.line_separators; }
  void SetLineSeparators(std::string_view chars);
  const std::string& LinePairedSeparator() const { return settings_.line_paired_separator; }
  // Two different characters, or none; anything else raises 128.
  void SetLinePairedSeparator(std::string_view pair);
  CaseInverter InvertCase() const { return settings_.invert_case; }
  void SetInvertCase(CaseInverter invert);

  // Compiles Expression now (1003 without one; compile errors as ERegex).
  void Compile();
  // Compiled programs are looked up in and added to this cache (none by default).
  void SetProgramCache(std::shared_ptr<RegexProgramCache> cache) { cache_ = std::move(cache); }

  // The subject. Setting it clears the sub-matches.
  const std::string& InputString() const { return input_; }
  void SetInputString(std::string_view input);

  // Sets the input and finds the first match.
  bool Exec(std::string_view input);
  // The first match starting at 1-based byte `offset` or later (in script mode at the
  // first character start from there). 0 or less raises 1006; beyond length + 1 is false.
  bool ExecPos(int offset = 1);
  // The next match after the current one: from its end, one character further when it was
  // empty. Without a current match raises 1007.
  bool ExecNext();

  // The highest group number that took part in the match, 0 when none, -1 without input.
  int SubExprMatchCount() const;
  // The number of groups of the pattern (compiling it when needed).
  int GroupCount();
  // 1-based start and length of sub-match n (0 the whole match); -1 when n is outside
  // 0..14, there is no input, or the sub-match did not take part.
  int MatchPos(int n) const;
  int MatchLen(int n) const;
  // The text of sub-match n, empty in those cases.
  std::string Match(int n) const { return std::string(MatchView(n)); }
  // The same without a copy; valid until the input changes.
  std::string_view MatchView(int n) const;

  // The replacement text for the current match: "$&", "$n", "${n}", "${&}" and "${}"
  // insert sub-match texts; a backslash copies the next character.
  std::string Substitute(std::string_view tmpl);
  // Appends the pieces of `input` between matches to `pieces`.
  void Split(std::string_view input, std::vector<std::string>& pieces);

  // Error handling: Error stores LastError and raises ERegex with ErrorMsg(code).
  std::string ErrorMsg(int code) const { return RegexErrorMessage(code); }
  [[noreturn]] void Error(int code) const;
  int LastError() const { return last_error_; }
  // Position of the last compile error in the pattern, 0 when there was none.
  int CompilerErrorPos() const { return compiler_error_pos_; }

private:
  void DiscardProgram() { program_.reset(); }
  const RegexProgram& EnsureProgram();
  void ClearMatches();

  RegexSettings settings_;
  std::shared_ptr<const RegexProgram> program_;
  std::shared_ptr<RegexProgramCache> cache_;
  std::string input_;
  bool has_input_ = false;
  std::unique_ptr<RegexMatchState> state_;
  mutable int last_error_ = 0;
  int compiler_error_pos_ = 0;
};

// One match of `pattern` in `input` (byte mode, default modifiers).
bool ExecRegex(std::string_view pattern, std::string_view input);
// Clears `pieces` and fills it with the pieces of `input` between matches of `pattern`.
void SplitRegex(std::string_view pattern, std::string_view input, std::vector<std::string>& pieces);

}  // namespace kestrin::script
