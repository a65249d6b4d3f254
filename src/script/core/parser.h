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
#include "script/core/stack_guard.h"

namespace kestrin::script {

// Deepest chain of libraries importing libraries by name.
inline constexpr int kMaxImportDepth = 256;
// Deepest nesting of expressions, statements, functions and imports in one parse (its
// libraries included). A count, so that a source gives the same "too deeply nested" in
// every build whatever its frame sizes, and small enough that the interpreter runs any
// tree it admits on the main thread's stack, sanitizers included. A thread whose stack is
// smaller stops earlier, at the stack check.
inline constexpr int kMaxNesting = 6000;

class TJParser {
public:
  TJParser();
  ~TJParser();
  TJParser(const TJParser&) = delete;
  TJParser& operator=(const TJParser&) = delete;

  // Frees every node of the last parse and the libraries' parsers.
  void Clear();
  // Parses `Utf8Source` when set, else `Source`. False, with Root nil, when it holds no
  // source element. Raises EJSyntaxError (or the script error of a constant fold).
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
  // Valid UTF-8 program text (see IsStrictUtf8) that Parse reads in place instead of
  // Source, so that a long program is not held twice; it must outlive the parse.
  std::string_view Utf8Source;
  std::map<std::string, int32_t, std::less<>> Defines;
  NestingStack Nesting;

private:
  // "kind text: Text( token )", or "Text( token )" alone when no kind is given.
  [[noreturn]] void SyntaxError();
  [[noreturn]] void SyntaxError(ScriptError kind, ErrorDetails details = {});
  void Expect(int token);
  void ExpectAndNext(int token);
  bool Is(int token) const { return Lexer.Token == token; }
  bool IsOp(int token, char sub) const { return Lexer.Token == token && Lexer.SubCode == sub; }
  int Line() const { return Lexer.Line; }
  // One level of recursion, left when the level ends: input nested deeper than kMaxNesting
  // or this thread's stack allows is a syntax error ("too deeply nested"), never a stack
  // overflow.
  class NestingLevel {
  public:
    NestingLevel();
    ~NestingLevel();
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
  };
  [[nodiscard]] NestingLevel EnterNesting();
  TJExpr* Required(TJExpr* e);
  TJStatement* Required(TJStatement* s);

  // Expressions, lowest precedence first (parser_expressions.cpp).
  TJExpr* ParseExpression();
  TJExpr* ParseAssignment();
  TJExpr* ParseConditional();
  TJExpr* ParseBinary();
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
  // The stacks of ParseBinary, shared by its nested calls (each works above its base).
  std::vector<TJExpr*> operands_;
  std::vector<std::pair<int, int>> operators_;  // code, level
  // String literals joined by "+" whose sum is not made yet: the operand slot and its text.
  struct PendingText {
    size_t slot;
    StrRef text;
  };
  std::vector<PendingText> pending_texts_;
  bool JoinsPendingText(size_t left);
  bool HasPendingText(size_t slot) const;
  TJExpr* SettledOperand(size_t slot);
  // How many imports by name lead to this parser.
  int import_depth_ = 0;
};

}  // namespace kestrin::script
