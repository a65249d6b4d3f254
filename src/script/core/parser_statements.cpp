// The script parser: statements. A statement's line is the lexer's line when it is
// completed, which for a statement holding others is the line of the token after it.
#include "script/core/parser.h"

namespace kestrin::script {

// Tries the statement forms in order; nil when no statement starts at the current token.
TJStatement* TJParser::ParseStatement() {
  const NestingLevel level = EnterNesting();
  switch (Lexer.Token) {
    case tkFunction: return ParseFunctionStatement();
    case tkLBrace: return ParseBlock();
    case tkSemicolon: {
      TJStatement* s = StmtFactory.Make(stEmpty, Line());
      Lexer.Next();
      return s;
    }
    case tkIf: return ParseIf();
    case tkWhile: return ParseWhileOrWith(stWhile);
    case tkWith: return ParseWhileOrWith(stWith);
    case tkFor: return ParseFor();
    case tkContinue: return ParseJump(stContinue);
    case tkBreak: return ParseJump(stBreak);
    case tkReturn: return ParseReturnOrThrow(stReturn);
    case tkThrow: return ParseReturnOrThrow(stThrow);
    case tkSwitch: return ParseSwitch();
    case tkVar: return ParseDeclaration(1);
    case tkStatic: return ParseDeclaration(2);
    case tkGlobal: return ParseDeclaration(0);
    case tkTry: return ParseTry();
    case tkDo: return ParseDo();
    case tkAt: return ParseSetDirective();
    default: return ParseExpressionStatement();
  }
}

// { Statement }: the chain of statements up to the first token that starts none.
TJStatement* TJParser::ParseStatementList() {
  StatementChain chain;
  while (TJStatement* s = ParseStatement()) chain.Append(s);
  return chain.first;
}

// "{" { Statement } "}"
TJStatement* TJParser::ParseBlock() {
  Lexer.Next();
  TJStatement* first = ParseStatementList();
  ExpectAndNext(tkRBrace);
  return StmtFactory.Make(stBlock, Line(), nullptr, first);
}

TJStatement* TJParser::ParseFunctionStatement() {
  TJExpr* name = nullptr;
  return ParseFunction(&name);
}

// Expression ";"
TJStatement* TJParser::ParseExpressionStatement() {
  TJExpr* e = ParseExpression();
  if (!e) return nullptr;
  Expect(tkSemicolon);
  TJStatement* s = StmtFactory.Make(stExpr, Line(), e);
  Lexer.Next();
  return s;
}

// if "(" Expression ")" Statement [ else Statement ]
//
// An else-if chain is read in a loop, not by recursion per link, so that its length is
// bounded only by memory; the statements made are those of the recursive reading (each
// if holds the next in its else part, and all complete at the same token).
TJStatement* TJParser::ParseIf() {
  struct Branch {
    TJExpr* condition;
    TJStatement* then_part;
  };
  std::vector<Branch> chain;
  TJStatement* else_part = nullptr;
  for (;;) {
    Lexer.Next();
    ExpectAndNext(tkLParen);
    TJExpr* condition = Required(ParseExpression());
    ExpectAndNext(tkRParen);
    chain.push_back({condition, Required(ParseStatement())});
    if (!Is(tkElse)) break;
    Lexer.Next();
    if (!Is(tkIf)) {
      else_part = Required(ParseStatement());
      break;
    }
  }
  for (auto b = chain.rbegin(); b != chain.rend(); ++b)
    else_part = StmtFactory.Make(stIf, Line(), b->condition, b->then_part, else_part);
  return else_part;
}

// while|with "(" Expression ")" Statement
TJStatement* TJParser::ParseWhileOrWith(int type) {
  Lexer.Next();
  ExpectAndNext(tkLParen);
  TJExpr* e = Required(ParseExpression());
  ExpectAndNext(tkRParen);
  TJStatement* body = Required(ParseStatement());
  return StmtFactory.Make(type, Line(), e, body);
}

// for "(" Init ";" [ Expression ] ";" [ Expression ] ")" Statement
// for "(" Init in Postfix ")" Statement, Init = [ var ] Expression
TJStatement* TJParser::ParseFor() {
  Lexer.Next();
  ExpectAndNext(tkLParen);
  TJExpr* init = nullptr;
  if (Is(tkVar)) {
    Lexer.Next();
    init = ExprFactory.MakeUnary(ecVarDecl, Required(ParseExpression()));
  } else {
    init = ParseExpression();
  }
  if (Is(tkIn)) {
    if (!init) SyntaxError();
    Lexer.Next();
    TJExpr* collection = Required(ParsePostfix());
    ExpectAndNext(tkRParen);
    TJStatement* body = Required(ParseStatement());
    int type = DefineOr("VERSION7", 0) != 0 ? stForInValues : stForIn;
    return StmtFactory.MakeForIn(Line(), type, init, collection, body);
  }
  ExpectAndNext(tkSemicolon);
  TJExpr* condition = ParseExpression();
  ExpectAndNext(tkSemicolon);
  TJExpr* step = ParseExpression();
  ExpectAndNext(tkRParen);
  TJStatement* body = Required(ParseStatement());
  return StmtFactory.MakeFor(Line(), init, condition, step, body);
}

// break|continue: the ";" must follow and is then read as an empty statement.
TJStatement* TJParser::ParseJump(int type) {
  Lexer.Next();
  Expect(tkSemicolon);
  return StmtFactory.Make(type, Line());
}

// return|throw [ Expression ] ";"
TJStatement* TJParser::ParseReturnOrThrow(int type) {
  Lexer.Next();
  TJExpr* e = ParseExpression();
  Expect(tkSemicolon);
  TJStatement* s = StmtFactory.Make(type, Line(), e);
  Lexer.Next();
  return s;
}

// switch "(" Expression ")" "{" Clause { Clause } "}"
TJStatement* TJParser::ParseSwitch() {
  Lexer.Next();
  ExpectAndNext(tkLParen);
  TJExpr* e = Required(ParseExpression());
  ExpectAndNext(tkRParen);
  ExpectAndNext(tkLBrace);
  bool seen_default = false;
  StatementChain clauses;
  clauses.Append(Required(ParseCaseClause(seen_default)));
  while (TJStatement* clause = ParseCaseClause(seen_default)) clauses.Append(clause);
  ExpectAndNext(tkRBrace);
  return StmtFactory.Make(stSwitch, Line(), e, clauses.first);
}

// case Expression ":" { Statement } | default ":" { Statement }; a second default is an error.
TJStatement* TJParser::ParseCaseClause(bool& seen_default) {
  TJExpr* value = nullptr;
  if (Is(tkCase)) {
    Lexer.Next();
    value = Required(ParseExpression());
  } else if (Is(tkDefault)) {
    if (seen_default) SyntaxError();
    seen_default = true;
    Lexer.Next();
  } else {
    return nullptr;
  }
  ExpectAndNext(tkColon);
  TJStatement* first = ParseStatementList();
  return StmtFactory.Make(stCase, Line(), value, first);
}

// var|static|global Declaration { "," Declaration } ";"
TJStatement* TJParser::ParseDeclaration(int kind) {
  Lexer.Next();
  TJStatement* first = ParseDeclarationItems();
  Expect(tkSemicolon);
  TJStatement* s = StmtFactory.MakeDeclaration(Line(), kind, first);
  Lexer.Next();
  return s;
}

// Declaration { "," Declaration }, Declaration = Name [ "=" Assignment ]
TJStatement* TJParser::ParseDeclarationItems() {
  StatementChain chain;
  for (;;) {
    Expect(tkIdentifier);
    TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
    Lexer.Next();
    if (Is(tkAssign)) {
      Lexer.Next();
      name = ExprFactory.MakeNamed(name, Required(ParseAssignment()));
    }
    chain.Append(StmtFactory.Make(stDeclItem, Line(), name));
    if (!Is(tkComma)) return chain.first;
    Lexer.Next();
  }
}

// try Statement [ catch [ "(" [ Name ] ")" ] Statement ] [ finally Statement ]
TJStatement* TJParser::ParseTry() {
  Lexer.Next();
  TJStatement* guarded = Required(ParseStatement());
  TJStatement* catch_clause = nullptr;
  TJStatement* finally_clause = nullptr;
  if (Is(tkCatch)) {
    Lexer.Next();
    TJExpr* variable = nullptr;
    if (Is(tkLParen)) {
      Lexer.Next();
      if (Is(tkIdentifier)) {
        variable = ExprFactory.MakeIdentifier(Lexer.TokenText);
        Lexer.Next();
      }
      ExpectAndNext(tkRParen);
    }
    TJStatement* handler = Required(ParseStatement());
    catch_clause = StmtFactory.Make(stCatch, Line(), variable, handler);
  }
  if (Is(tkFinally)) {
    Lexer.Next();
    finally_clause = StmtFactory.Make(stFinally, Line(), nullptr, Required(ParseStatement()));
  }
  if (!catch_clause && !finally_clause) SyntaxError(ScriptError::CatchMissing);
  return StmtFactory.Make(stTry, Line(), nullptr, guarded, catch_clause, finally_clause);
}

// do Statement while "(" Expression ")": the ";" must follow and is then read as an
// empty statement.
TJStatement* TJParser::ParseDo() {
  Lexer.Next();
  TJStatement* body = Required(ParseStatement());
  ExpectAndNext(tkWhile);
  ExpectAndNext(tkLParen);
  TJExpr* condition = Required(ParseExpression());
  ExpectAndNext(tkRParen);
  Expect(tkSemicolon);
  return StmtFactory.Make(stDo, Line(), condition, body);
}

// "@" set "@" Name "=" Expression: the expression must fold to an integer or boolean
// constant, which becomes the define's value from here on. Leaves an empty statement.
TJStatement* TJParser::ParseSetDirective() {
  Lexer.Next();
  if (!Is(tkIdentifier) || Lexer.TokenText != "set") SyntaxError();
  Lexer.Next();
  ExpectAndNext(tkAt);
  Expect(tkIdentifier);
  std::string name = Lexer.TokenText;
  Lexer.Next();
  ExpectAndNext(tkAssign);
  TJExpr* e = Required(ParseExpression());
  if (e->Code != ecConstant) SyntaxError();
  const Value& v = *e->Value;
  if (v.type() == vtInteger) Defines[name] = v.integer();
  else if (v.type() == vtBool) Defines[name] = v.boolean() ? 1 : 0;
  else SyntaxError();
  return StmtFactory.Make(stEmpty, Line());
}

}  // namespace kestrin::script
