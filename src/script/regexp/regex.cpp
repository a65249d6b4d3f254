// TRegex as an object: its settings, lazy compilation through the optional program cache,
// the subject, and the error table.
#include "script/regexp/regex.h"

#include "script/regexp/regex_program.h"

namespace kestrin::script {

std::string RegexErrorMessage(int code) {
  switch (code) {
    case reeOk: return "No errors";
    case reeCompNullArgument: return "TRegex(comp): Null Argument";
    case reeCompRegexpTooBig: return "TRegex(comp): Regexp Too Big";
    case reeCompParseRegTooManyBrackets: return "TRegex(comp): ParseReg Too Many ()";
    case reeCompParseRegUnmatchedBrackets:
    case reeCompParseRegUnmatchedBrackets2: return "TRegex(comp): ParseReg Unmatched ()";
    case reeCompParseRegJunkOnEnd: return "TRegex(comp): ParseReg Junk On End";
    case reePlusStarOperandCouldBeEmpty: return "TRegex(comp): *+ Operand Could Be Empty";
    case reeNestedSQP: return "TRegex(comp): Nested *?+";
    case reeBadHexDigit: return "TRegex(comp): Bad Hex Digit";
    case reeInvalidRange: return "TRegex(comp): Invalid [] Range";
    case reeParseAtomTrailingBackSlash: return "TRegex(comp): Parse Atom Trailing \\";
    case reeNoHexCodeAfterBSlashX: return "TRegex(comp): No Hex Code After \\x";
    case reeHexCodeAfterBSlashXTooBig: return "TRegex(comp): Hex Code After \\x Is Too Big";
    case reeUnmatchedSqBrackets: return "TRegex(comp): Unmatched []";
    case reeInternalUrp: return "TRegex(comp): Internal Urp";
    case reeQPSBFollowsNothing: return "TRegex(comp): ?+*{ Follows Nothing";
    case reeTrailingBackSlash: return "TRegex(comp): Trailing \\";
    case reeRarseAtomInternalDisaster: return "TRegex(comp): RarseAtom Internal Disaster";
    case reeBRACESArgTooBig: return "TRegex(comp): BRACES Argument Too Big";
    case reeBracesMinParamGreaterMax: return "TRegex(comp): BRACE Min Param Greater then Max";
    case reeUnclosedComment: return "TRegex(comp): Unclosed (?#Comment)";
    case reeComplexBracesNotImplemented:
      return "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and non-greedy ops "
             "'*?', '+?', '?" "?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}";
    case reeUrecognizedModifier: return "TRegex(comp): Urecognized Modifier";
    case reeBadLinePairedSeparator:
      return "TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all";
    case reeRegRepeatCalledInappropriately: return "TRegex(exec): RegRepeat Called Inappropriately";
    case reeMatchPrimMemoryCorruption: return "TRegex(exec): MatchPrim Memory Corruption";
    case reeMatchPrimCorruptedPointers: return "TRegex(exec): MatchPrim Corrupted Pointers";
    case reeNoExpression: return "TRegex(exec): Not Assigned Expression Property";
    case reeCorruptedProgram: return "TRegex(exec): Corrupted Program";
    case reeNoInputStringSpecified: return "TRegex(exec): No Input String Specified";
    case reeOffsetMustBeGreaterThen0: return "TRegex(exec): Offset Must Be Greater Then 0";
    case reeExecNextWithoutExec: return "TRegex(exec): ExecNext Without Exec[Pos]";
    case reeGetInputStringWithoutInputString: return "TRegex(exec): GetInputString Without InputString";
    case reeDumpCorruptedOpcode: return "TRegex(dump): Corrupted Opcode";
    case reeLoopStackExceeded: return "TRegex(exec): Loop Stack Exceeded";
    case reeLoopWithoutEntry: return "TRegex(exec): Loop Without LoopEntry !";
    case reeMatchTooComplex: return "TRegex(exec): Match Too Complex";
    case reeBadPCodeImported: return "TRegex(misc): Bad p-code imported";
    default: return "Unknown error";
  }
}

unsigned char InvertCaseAscii(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
  return c;
}

TRegex::TRegex() : state_(std::make_unique<RegexMatchState>()) {}
TRegex::~TRegex() = default;
TRegex::TRegex(TRegex&&) noexcept = default;
TRegex& TRegex::operator=(TRegex&&) noexcept = default;

TRegex::TRegex(const TRegex& other)
    : settings_(other.settings_),
      program_(other.program_),
      cache_(other.cache_),
      input_(other.input_),
      has_input_(other.has_input_),
      state_(std::make_unique<RegexMatchState>(*other.state_)),
      last_error_(other.last_error_),
      compiler_error_pos_(other.compiler_error_pos_) {}

TRegex& TRegex::operator=(const TRegex& other) {
  if (this != &other) *this = TRegex(other);
  return *this;
}

void TRegex::SetExpression(std::string_view pattern) {
  if (program_ && pattern == settings_.expression) return;
  settings_.expression.assign(pattern);
  DiscardProgram();
}

bool TRegex::GetModifier(int index) const {
  if (index < 1 || index > 6) Error(reeModifierUnsupported);
  return settings_.modifiers & (1 << (index - 1));
}

void TRegex::SetModifier(int index, bool on) {
  if (index < 1 || index > 6) Error(reeModifierUnsupported);
  const int bit = 1 << (index - 1);
  settings_.modifiers = on ? (settings_.modifiers | bit) : (settings_.modifiers & ~bit);
}

void TRegex::SetScriptMode(bool on) {
  if (on == settings_.script_mode) return;
  settings_.script_mode = on;
  DiscardProgram();
  state_->ForgetSubject();
}

void TRegex::SetSpaceChars(std::string_view chars) {
  settings_.space_chars.assign(chars);
  DiscardProgram();
}

void TRegex::SetWordChars(std::string_view chars) {
  settings_.word_chars.assign(chars);
  DiscardProgram();
}

void TRegex::SetLineSeparators(std::string_view chars) {
  settings_.line_separators.assign(chars);
  DiscardProgram();
}

void TRegex::SetLinePairedSeparator(std::string_view pair) {
  if (!pair.empty() && (pair.size() != 2 || pair[0] == pair[1])) Error(reeBadLinePairedSeparator);
  settings_.line_paired_separator.assign(pair);
  DiscardProgram();
}

void TRegex::SetInvertCase(CaseInverter invert) {
  settings_.invert_case = invert ? invert : InvertCaseAscii;
  DiscardProgram();
}

void TRegex::Compile() {
  if (settings_.expression.empty()) Error(reeNoExpression);
  program_ = cache_ ? cache_->Find(settings_) : nullptr;
  if (program_) return;
  try {
    program_ = CompileRegexProgram(settings_);
  } catch (const RegexCompileError& e) {
    compiler_error_pos_ = e.pos;
    last_error_ = e.code;
    throw ERegex(e.code, e.pos, RegexErrorMessage(e.code) + " (pos " + std::to_string(e.pos) + ")");
  }
  compiler_error_pos_ = 0;
  if (cache_) cache_->Insert(program_);
}

// Before a match: a program compiled with other modifiers is discarded, a missing one compiled.
const RegexProgram& TRegex::EnsureProgram() {
  if (program_ && program_->settings.modifiers != settings_.modifiers) DiscardProgram();
  if (!program_) Compile();
  return *program_;
}

void TRegex::Error(int code) const {
  last_error_ = code;
  std::string message = RegexErrorMessage(code);
  if (code < 1000) message += " (pos 0)";
  throw ERegex(code, 0, message);
}

void TRegex::ClearMatches() { state_->ClearMatches(); }

void TRegex::SetInputString(std::string_view input) {
  input_.assign(input);
  has_input_ = true;
  ClearMatches();
  state_->ForgetSubject();
}

}  // namespace kestrin::script
