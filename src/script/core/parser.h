// The script parser: recursive descent over the lexer into the syntax tree, with imports
// of ".dms" libraries, @set defines and the wrapper through which eval text is compiled.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/ast.h"
#include "script/core/error_table.h"
#include "script/core/errors.h"
#include "script/core/lex.h"

namespace kestrin::script {

// Deepest nesting of expressions and statements, and tallest expression tree, that a
// source may have; deeper input is a syntax error instead of a stack overflow.
inline constexpr int kMaxParseNesting = 256;
inline constexpr uint32_t kMaxExprHeight = 1024;

class TJParser {
public:
  TJParser();
  ~TJParser();
  TJParser(const TJParser&) = delete;
  TJParser& operator=(const TJParser&) = delete;

  // Frees every node of the last parse and the libraries' parsers.
  void Clear();
  // Parses `Source`. False, with Root nil, when it holds no source element. Raises
  // EJSyntaxError (or the script error of a constant fold).
  bool Parse(TJExpr* module_name = nullptr);
  // Compiles eval text (CP932) as "function(){return " + text + " ;}"; nil when there is
  // no function. Keeps the nodes of earlier parses.
  TJExpr* ParseEval(std::string_view text);
  // The file that `import` opens for `file_name`: the name itself, else each folder of
  // LibraryPath in order; in each place the exact name first, then a unique match that
  // ignores case.
  bool FindLibrary(const std::string& file_name, std::string& path) const;

  TJExprFactory ExprFactory;
  TJStatementFactory StmtFactory{ExprFactory};
  TJLex Lexer;
  TJStatement* Root = nullptr;
  std::vector<std::string> LibraryPath;
  std::vector<std::unique_ptr<TJParser>> SubParsers;
  std::u32string Source;
  std::map<std::string, int32_t, std::less<>> Defines;
  NestingStack Nesting;

private:
  friend class NestingGuard;
  // "kind text: Text( token )", or "Text( token )" alone when no kind is given.
  [[noreturn]] void SyntaxError();
  [[noreturn]] void SyntaxError(ScriptError kind, ErrorDetails details = {});
  void Expect(int token);
  void ExpectAndNext(int token);
  bool Is(int token) const { return Lexer.Token == token; }
  bool IsOp(int token, char sub) const { return Lexer.Token == token && Lexer.SubCode == sub; }
  int Line() const { return Lexer.Line; }
  TJExpr* Checked(TJExpr* e);
  TJExpr* Required(TJExpr* e);
  TJStatement* Required(TJStatement* s);

  // Expressions, lowest precedence first (parser_expressions.cpp).
  using OperandFn = TJExpr* (TJParser::*)();
  using OperatorFn = int (*)(const TJLex&);
  TJExpr* ParseLeftAssoc(OperandFn operand, OperatorFn code_of);
  TJExpr* ParseExpression();
  TJExpr* ParseAssignment();
  TJExpr* ParseConditional();
  TJExpr* ParseLogicalOr();
  TJExpr* ParseLogicalAnd();
  TJExpr* ParseBitOr();
  TJExpr* ParseBitXor();
  TJExpr* ParseBitAnd();
  TJExpr* ParseEquality();
  TJExpr* ParseRelational();
  TJExpr* ParseShift();
  TJExpr* ParseAdditive();
  TJExpr* ParseMultiplicative();
  TJExpr* ParseUnary();
  TJExpr* ParsePostfix();
  TJExpr* ParsePrimary();
  TJExpr* ParseLiteral();
  TJExpr* ParseTypeofOrVoid(int code);
  TJExpr* ParseObjectLiteral();
  TJExpr* ParseNew();
  TJExpr* ParseSuper();
  TJExpr* ParseArguments();
  TJExpr* ParseCallTail(TJExpr* callee, TJExpr* member);
  TJExpr* ParseFunctionExpression();
  TJStatement* ParseFunction(TJExpr** name);
  TJStatement* ParseParameters();

  // Statements (parser_statements.cpp).
  TJStatement* ParseStatement();
  TJStatement* ParseStatementList();
  TJStatement* ParseBlock();
  TJStatement* ParseExpressionStatement();
  TJStatement* ParseIf();
  TJStatement* ParseWhileOrWith(int type);
  TJStatement* ParseFor();
  TJStatement* ParseJump(int type);
  TJStatement* ParseReturnOrThrow(int type);
  TJStatement* ParseSwitch();
  TJStatement* ParseCaseClause(bool& seen_default);
  TJStatement* ParseDeclaration(int kind);
  TJStatement* ParseDeclarationItems();
  TJStatement* ParseTry();
  TJStatement* ParseDo();
  TJStatement* ParseSetDirective();
  TJStatement* ParseFunctionStatement();

  // Source elements, classes and imports (parser_modules.cpp).
  TJStatement* ParseSourceElements();
  TJStatement* ParseClass();
  TJStatement* ParseClassMembers();
  TJStatement* ParseImport();
  bool LoadLibrary(const std::string& file_name, std::u32string& text, std::string& path);
  bool IsOpenLibrary(const std::string& path);
  int32_t DefineOr(std::string_view name, int32_t missing) const;

  int nesting_depth_ = 0;
  // Libraries being parsed by this parser's ancestors (imports by name).
  std::vector<std::string> open_libraries_;
  // Libraries spliced into this parser's source, with the position where each one ends.
  struct Splice {
    std::string path;
    size_t end;
  };
  std::vector<Splice> splices_;
  // Imports made by this compilation and the characters they brought in, shared with the
  // libraries' parsers.
  struct ImportBudget {
    int count = 0;
    size_t chars = 0;
  };
  std::shared_ptr<ImportBudget> imports_ = std::make_shared<ImportBudget>();
  // Nesting that a library's parser inherits from the import that made it.
  int base_depth_ = 0;
};

// Counts one level of parser recursion; too many is a syntax error, not a stack overflow.
class NestingGuard {
public:
  explicit NestingGuard(TJParser& parser) : parser_(parser) {
    if (parser_.nesting_depth_ >= kMaxParseNesting) parser_.SyntaxError(ScriptError::TooDeeplyNested);
    ++parser_.nesting_depth_;
  }
  ~NestingGuard() { --parser_.nesting_depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

private:
  TJParser& parser_;
};

}  // namespace kestrin::script
