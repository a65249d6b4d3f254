// The script parser: expressions, from the comma operator down to primaries.
#include "script/core/parser.h"

namespace kestrin::script {
namespace {

// Expression codes of the operators at each binary level; 0 when the token is none.
int BitOrCode(const TJLex& l) { return l.Token == tkBitOr ? ecBitOr : 0; }
int BitXorCode(const TJLex& l) { return l.Token == tkBitXor ? ecBitXor : 0; }
int BitAndCode(const TJLex& l) { return l.Token == tkBitAnd ? ecBitAnd : 0; }

int EqualityCode(const TJLex& l) {
  if (l.Token != tkEquality) return 0;
  switch (l.SubCode) {
    case '=': return ecEq;
    case '!': return ecNe;
    case '3': return ecStrictEq;
    default: return ecStrictNe;
  }
}

int RelationalCode(const TJLex& l) {
  if (l.Token != tkRelational) return 0;
  switch (l.SubCode) {
    case '<': return ecLess;
    case '>': return ecGreater;
    case '(': return ecLessEq;
    default: return ecGreaterEq;
  }
}

int ShiftCode(const TJLex& l) {
  if (l.Token != tkShift) return 0;
  return l.SubCode == '<' ? ecShl : l.SubCode == '>' ? ecShr : ecUShr;
}

int AdditiveCode(const TJLex& l) {
  if (l.Token != tkAdditive) return 0;
  return l.SubCode == '+' ? ecAdd : ecSub;
}

int MultiplicativeCode(const TJLex& l) {
  if (l.Token != tkMultiplicative) return 0;
  return l.SubCode == '*' ? ecMul : l.SubCode == '/' ? ecDiv : ecMod;
}

int CompoundAssignCode(char sub) {
  switch (sub) {
    case '*': return ecMulAssign;
    case '/': return ecDivAssign;
    case '+': return ecAddAssign;
    case '-': return ecSubAssign;
    case '%': return ecModAssign;
    case '<': return ecShlAssign;
    case '>': return ecShrAssign;
    case '3': return ecUShrAssign;
    case '&': return ecAndAssign;
    case '^': return ecXorAssign;
    default: return ecOrAssign;
  }
}

// Only a name, a member access or a call can be assigned to; for anything else the
// assignment operator is left unread and the enclosing construct fails on it.
bool IsAssignable(const TJExpr* e) {
  return e->Code == ecIdentifier || e->Code == ecMember || e->Code == ecSuperMember ||
         e->Code == ecCall || e->Code == ecMethodCall;
}

}  // namespace

// Level { op Level }, left-associative.
TJExpr* TJParser::ParseLeftAssoc(OperandFn operand, OperatorFn code_of) {
  TJExpr* left = (this->*operand)();
  if (!left) return nullptr;
  while (int code = code_of(Lexer)) {
    Lexer.Next();
    TJExpr* right = Required((this->*operand)());
    left = Checked(ExprFactory.MakeBinary(code, left, right));
  }
  return left;
}

// Expression: Assignment { "," Assignment }
TJExpr* TJParser::ParseExpression() {
  TJExpr* left = ParseAssignment();
  if (!left) return nullptr;
  while (Is(tkComma)) {
    Lexer.Next();
    left = Checked(ExprFactory.MakeBinary(ecComma, left, Required(ParseAssignment())));
  }
  return left;
}

// Assignment: Conditional [ ( "=" | compound ) Assignment ]
TJExpr* TJParser::ParseAssignment() {
  NestingGuard guard(*this);
  TJExpr* left = ParseConditional();
  if (!left || !(Is(tkAssign) || Is(tkAssignOp)) || !IsAssignable(left)) return left;
  int code = Is(tkAssign) ? ecAssign : CompoundAssignCode(Lexer.SubCode);
  Lexer.Next();
  return Checked(ExprFactory.MakeBinary(code, left, Required(ParseAssignment())));
}

// Conditional: LogicalOr [ "?" Expression ":" Conditional ]
TJExpr* TJParser::ParseConditional() {
  TJExpr* condition = ParseLogicalOr();
  if (!condition || !Is(tkQuestion)) return condition;
  NestingGuard guard(*this);
  Lexer.Next();
  TJExpr* then_part = Required(ParseExpression());
  ExpectAndNext(tkColon);
  TJExpr* else_part = Required(ParseConditional());
  return Checked(ExprFactory.MakeTernary(ecConditional, condition, else_part, then_part));
}

// LogicalOr: LogicalAnd { "||" LogicalAnd }; both sides always evaluated under
// @set @SHORT_CIRCUIT = 0.
TJExpr* TJParser::ParseLogicalOr() {
  TJExpr* left = ParseLogicalAnd();
  if (!left) return nullptr;
  while (Is(tkOrOr)) {
    int code = DefineOr("SHORT_CIRCUIT", 1) == 0 ? ecOrAll : ecOr;
    Lexer.Next();
    left = Checked(ExprFactory.MakeBinary(code, left, Required(ParseLogicalAnd())));
  }
  return left;
}

// LogicalAnd: BitOr { "&&" BitOr }
TJExpr* TJParser::ParseLogicalAnd() {
  TJExpr* left = ParseBitOr();
  if (!left) return nullptr;
  while (Is(tkAndAnd)) {
    int code = DefineOr("SHORT_CIRCUIT", 1) == 0 ? ecAndAll : ecAnd;
    Lexer.Next();
    left = Checked(ExprFactory.MakeBinary(code, left, Required(ParseBitOr())));
  }
  return left;
}

TJExpr* TJParser::ParseBitOr() { return ParseLeftAssoc(&TJParser::ParseBitXor, BitOrCode); }
TJExpr* TJParser::ParseBitXor() { return ParseLeftAssoc(&TJParser::ParseBitAnd, BitXorCode); }
TJExpr* TJParser::ParseBitAnd() { return ParseLeftAssoc(&TJParser::ParseEquality, BitAndCode); }
TJExpr* TJParser::ParseEquality() { return ParseLeftAssoc(&TJParser::ParseRelational, EqualityCode); }
TJExpr* TJParser::ParseRelational() { return ParseLeftAssoc(&TJParser::ParseShift, RelationalCode); }
TJExpr* TJParser::ParseShift() { return ParseLeftAssoc(&TJParser::ParseAdditive, ShiftCode); }
TJExpr* TJParser::ParseAdditive() { return ParseLeftAssoc(&TJParser::ParseMultiplicative, AdditiveCode); }
TJExpr* TJParser::ParseMultiplicative() { return ParseLeftAssoc(&TJParser::ParseUnary, MultiplicativeCode); }

// Unary: Postfix | ( "++" | "--" | "+" | "-" | "!" | "~" ) Unary
TJExpr* TJParser::ParseUnary() {
  if (TJExpr* e = ParsePostfix()) return e;
  int code = 0;
  if (Is(tkIncDec)) code = Lexer.SubCode == '+' ? ecPreInc : ecPreDec;
  else if (Is(tkAdditive)) code = Lexer.SubCode == '+' ? ecPlus : ecMinus;
  else if (Is(tkNot)) code = Lexer.SubCode == '!' ? ecNot : ecBitNot;
  else return nullptr;
  NestingGuard guard(*this);
  Lexer.Next();
  return Checked(ExprFactory.MakeUnary(code, Required(ParseUnary())));
}

// Postfix: Primary { ( "(" | "[" ) Arguments ( ")" | "]" ) | "." Name [ call ] | "++" | "--" }
TJExpr* TJParser::ParsePostfix() {
  TJExpr* e = ParsePrimary();
  if (!e) return nullptr;
  for (;;) {
    if (Is(tkLParen) || Is(tkLBracket)) {
      e = ParseCallTail(e, nullptr);
    } else if (Is(tkDot)) {
      Lexer.Next();
      Expect(tkIdentifier);
      TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
      Lexer.Next();
      if (Is(tkLParen) || Is(tkLBracket)) e = ParseCallTail(e, name);
      else e = Checked(ExprFactory.MakeBinary(ecMember, e, name));
    } else if (Is(tkIncDec)) {
      e = Checked(ExprFactory.MakeUnary(Lexer.SubCode == '+' ? ecPostInc : ecPostDec, e));
      Lexer.Next();
    } else {
      return e;
    }
  }
}

// "(" or "[" Arguments, closed by either ")" or "]": a call or index (31), or a method
// call or indexed member (62) when a member name is given.
TJExpr* TJParser::ParseCallTail(TJExpr* callee, TJExpr* member) {
  Lexer.Next();
  TJExpr* args = ParseArguments();
  if (!Is(tkRParen) && !Is(tkRBracket)) SyntaxError();
  Lexer.Next();
  if (member) return Checked(ExprFactory.MakeTernary(ecMethodCall, callee, args, member));
  return Checked(ExprFactory.MakeBinary(ecCall, callee, args));
}

// Arguments: empty | Assignment { "," Assignment }
TJExpr* TJParser::ParseArguments() {
  TJExpr* first = ParseAssignment();
  if (!first) return nullptr;
  TJExpr* list = ExprFactory.MakeList(nullptr, first);
  while (Is(tkComma)) {
    Lexer.Next();
    list = ExprFactory.MakeList(list, Required(ParseAssignment()));
  }
  return list;
}

TJExpr* TJParser::ParsePrimary() {
  switch (Lexer.Token) {
    case tkLParen: {
      Lexer.Next();
      TJExpr* e = Required(ParseExpression());
      ExpectAndNext(tkRParen);
      return e;
    }
    case tkTypeof: return ParseTypeofOrVoid(ecTypeof);
    case tkVoid: return ParseTypeofOrVoid(ecVoid);
    case tkDelete:
      Lexer.Next();
      return Checked(ExprFactory.MakeUnary(ecDelete, Required(ParseExpression())));
    case tkLBrace: return ParseObjectLiteral();
    case tkLBracket: {
      Lexer.Next();
      TJExpr* elements = ParseArguments();
      ExpectAndNext(tkRBracket);
      return Checked(ExprFactory.MakeUnary(ecArray, elements));
    }
    case tkIdentifier: {
      TJExpr* e = ExprFactory.MakeIdentifier(Lexer.TokenText);
      Lexer.Next();
      return e;
    }
    case tkFunction: return ParseFunctionExpression();
    case tkNew: return ParseNew();
    case tkThis:
      Lexer.Next();
      return ExprFactory.MakeThis();
    case tkSuper: return ParseSuper();
    default: return ParseLiteral();
  }
}

// Integer, float, string, regular expression, true, false, null or NaN.
TJExpr* TJParser::ParseLiteral() {
  TJExpr* e = nullptr;
  switch (Lexer.Token) {
    case tkInteger: e = ExprFactory.MakeInteger(Lexer.IntValue); break;
    case tkFloat: e = ExprFactory.MakeDouble(Lexer.FloatValue); break;
    case tkString: e = ExprFactory.MakeString(Lexer.TokenText); break;
    case tkRegExp: e = ExprFactory.MakeRegExp(Lexer.TokenText); break;
    case tkTrue: e = ExprFactory.MakeBool(true); break;
    case tkFalse: e = ExprFactory.MakeBool(false); break;
    case tkNull: e = ExprFactory.MakeNull(); break;
    case tkNaN: e = ExprFactory.MakeNaN(); break;
    default: return nullptr;
  }
  Lexer.Next();
  return e;
}

// typeof and void take a parenthesised expression, or else the whole comma expression
// that follows (typeof a == b is typeof (a == b)).
TJExpr* TJParser::ParseTypeofOrVoid(int code) {
  Lexer.Next();
  TJExpr* operand;
  if (Is(tkLParen)) {
    Lexer.Next();
    operand = Required(ParseExpression());
    ExpectAndNext(tkRParen);
  } else {
    operand = Required(ParseExpression());
  }
  return Checked(ExprFactory.MakeUnary(code, operand));
}

// "{" [ Property { "," Property } ] "}", Property = ( Name | string | number ) [ ":" Assignment ]
TJExpr* TJParser::ParseObjectLiteral() {
  Lexer.Next();
  TJExpr* list = nullptr;
  if (!Is(tkRBrace)) {
    for (;;) {
      TJExpr* key = nullptr;
      if (Is(tkIdentifier)) key = ExprFactory.MakeIdentifier(Lexer.TokenText);
      else if (Is(tkString)) key = ExprFactory.MakeString(Lexer.TokenText);
      else if (Is(tkInteger)) key = ExprFactory.MakeInteger(Lexer.IntValue);
      else if (Is(tkFloat)) key = ExprFactory.MakeDouble(Lexer.FloatValue);
      else SyntaxError();
      Lexer.Next();
      TJExpr* value = nullptr;
      if (Is(tkColon)) {
        Lexer.Next();
        value = Required(ParseAssignment());
      }
      list = ExprFactory.MakeList(list, ExprFactory.MakePair(key, value));
      if (!Is(tkComma)) break;
      Lexer.Next();
    }
  }
  ExpectAndNext(tkRBrace);
  return Checked(ExprFactory.MakeUnary(ecObject, list));
}

// new Name [ "(" Arguments ")" ]: the class is a plain name.
TJExpr* TJParser::ParseNew() {
  Lexer.Next();
  Expect(tkIdentifier);
  TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
  Lexer.Next();
  TJExpr* args = nullptr;
  if (Is(tkLParen)) {
    Lexer.Next();
    args = ParseArguments();
    ExpectAndNext(tkRParen);
  }
  return Checked(ExprFactory.MakeBinary(ecNew, name, args));
}

// super "." Name, or a bare super, which is this.
TJExpr* TJParser::ParseSuper() {
  Lexer.Next();
  if (!Is(tkDot)) return ExprFactory.MakeThis();
  Lexer.Next();
  Expect(tkIdentifier);
  TJExpr* name = ExprFactory.MakeIdentifier(Lexer.TokenText);
  Lexer.Next();
  return ExprFactory.MakeSuperMember(name);
}

// function [ Name ] "(" Parameters ")" Block; a named one is the assignment Name = function.
TJExpr* TJParser::ParseFunctionExpression() {
  TJExpr* name = nullptr;
  TJExpr* function = ExprFactory.MakeFunction(ParseFunction(&name));
  if (!name) return function;
  return ExprFactory.MakeBinary(ecAssign, ExprFactory.MakeIdentifier(name->Symbol), function);
}

// function [ Name ] "(" Parameters ")" Block, the current token being "function".
TJStatement* TJParser::ParseFunction(TJExpr** name) {
  NestingGuard guard(*this);
  Lexer.Next();
  StmtFactory.BeginFunction(Nesting, Line());
  *name = nullptr;
  if (Is(tkIdentifier)) {
    *name = ExprFactory.MakeIdentifier(Lexer.TokenText);
    Lexer.Next();
  }
  ExpectAndNext(tkLParen);
  TJStatement* params = ParseParameters();
  ExpectAndNext(tkRParen);
  Expect(tkLBrace);
  TJStatement* body = ParseBlock();
  return StmtFactory.EndFunction(Nesting, *name, body, params);
}

// [ Name { "," Name } ]: one parameter statement each, or one without a name.
TJStatement* TJParser::ParseParameters() {
  if (!Is(tkIdentifier)) return StmtFactory.Make(stParam, Line());
  TJStatement* last = nullptr;
  for (;;) {
    Expect(tkIdentifier);
    TJStatement* param = StmtFactory.Make(stParam, Line(), ExprFactory.MakeIdentifier(Lexer.TokenText));
    StmtFactory.Link(last, param);
    last = param;
    Lexer.Next();
    if (!Is(tkComma)) return StmtFactory.FirstOf(last);
    Lexer.Next();
  }
}

}  // namespace kestrin::script
