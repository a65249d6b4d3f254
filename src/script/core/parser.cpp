// The script parser's entry points, error reporting and nesting budget.
#include "script/core/parser.h"

#include "script/core/source_text.h"

namespace kestrin::script {

TJParser::TJParser() = default;
TJParser::~TJParser() { Clear(); }

void TJParser::Clear() {
  Lexer.Reset();
  SubParsers.clear();
  StmtFactory.Clear();
  ExprFactory.Clear();
  Root = nullptr;
  Defines.clear();
  Nesting.clear();
  splices_.clear();
  operands_.clear();
  operators_.clear();
  pending_texts_.clear();
}

bool TJParser::Parse(TJExpr* module_name) {
  Clear();
  if (open_libraries_.empty()) *imports_ = ImportBudget();  // a program, not a library
  // The lexer owns the text while it reads it, or reads the caller's UTF-8 in place until
  // the parse ends.
  if (Utf8Source.empty()) Lexer.SetSource(std::move(Source));
  else Lexer.ViewSource(Utf8Source);
  Source = std::u32string();
  Utf8Source = {};
  struct Forget {
    TJLex& lexer;
    ~Forget() { lexer.ForgetViewedSource(); }
  } forget{Lexer};
  if (!Lexer.Next()) return false;
  StmtFactory.BeginModule(Nesting, module_name);
  TJStatement* first = ParseSourceElements();
  if (!first) {
    Nesting.pop_back();
    return false;
  }
  Root = StmtFactory.EndModule(Nesting, first);
  return true;
}

TJExpr* TJParser::ParseEval(std::string_view text) {
  std::u32string source = U"function(){return ";
  source += DecodeCp932(text);
  source += U" ;}";
  Lexer.SetSource(std::move(source));
  splices_.clear();
  Nesting.push_back(nullptr);
  TJExpr* result = nullptr;
  try {
    if (Lexer.Next() && Is(tkFunction)) result = ParseFunctionExpression();
  } catch (...) {
    Nesting.clear();
    operands_.clear();
    operators_.clear();
    pending_texts_.clear();
    throw;
  }
  Nesting.pop_back();
  return result;
}

void TJParser::SyntaxError() { throw EJSyntaxError(Lexer.Line, "Text( " + Lexer.TokenText + " )"); }

void TJParser::SyntaxError(ScriptError kind, ErrorDetails details) {
  throw EJSyntaxError(Lexer.Line, ErrorText(kind, details) + ": Text( " + Lexer.TokenText + " )");
}

void TJParser::Expect(int token) {
  if (!Is(token)) SyntaxError();
}

void TJParser::ExpectAndNext(int token) {
  Expect(token);
  Lexer.Next();
}

namespace {
// The nesting levels entered by the parses running on this thread: a library's parser runs
// inside its importer's, so their levels add up.
thread_local int t_nesting = 0;
}  // namespace

TJParser::NestingLevel::NestingLevel() { ++t_nesting; }
TJParser::NestingLevel::~NestingLevel() { --t_nesting; }

TJParser::NestingLevel TJParser::EnterNesting() {
  if (t_nesting >= kMaxNesting || StackExhausted()) SyntaxError(ScriptError::TooDeeplyNested);
  return NestingLevel();
}

TJExpr* TJParser::Required(TJExpr* e) {
  if (!e) SyntaxError();
  return e;
}

TJStatement* TJParser::Required(TJStatement* s) {
  if (!s) SyntaxError();
  return s;
}

int32_t TJParser::DefineOr(std::string_view name, int32_t missing) const {
  auto it = Defines.find(name);
  return it == Defines.end() ? missing : it->second;
}

}  // namespace kestrin::script
