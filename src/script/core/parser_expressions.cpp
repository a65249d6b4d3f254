// The script parser: expressions, from the comma operator down to primaries.
#include "script/core/parser.h"

namespace kestrin::script {
namespace {

// A binary operator: its expression code and its level (higher binds tighter).
struct BinaryOperator {
  int code = 0;
  int level = 0;
};

// The binary operator at the current token, levels from || (1) to * / % (10); code 0
// when the token is none.
BinaryOperator BinaryOperatorAt(const TJLex& l) {
  switch (l.Token) {
    case tkOrOr: return {ecOr, 1};
    case tkAndAnd: return {ecAnd, 2};
    case tkBitOr: return {ecBitOr, 3};
    case tkBitXor: return {ecBitXor, 4};
    case tkBitAnd: return {ecBitAnd, 5};
    case tkEquality:
      switch (l.SubCode) {
        case '=': return {ecEq, 6};
        case '!': return {ecNe, 6};
        case '3': return {ecStrictEq, 6};
        default: return {ecStrictNe, 6};
      }
    case tkRelational:
      switch (l.SubCode) {
        case '<': return {ecLess, 7};
        case '>': return {ecGreater, 7};
        case '(': return {ecLessEq, 7};
        default: return {ecGreaterEq, 7};
      }
    case tkShift: return {l.SubCode == '<' ? ecShl : l.SubCode == '>' ? ecShr : ecUShr, 8};
    case tkAdditive: return {l.SubCode == '+' ? ecAdd : ecSub, 9};
    case tkMultiplicative: return {l.SubCode == '*' ? ecMul : l.SubCode == '/' ? ecDiv : ecMod, 10};
    default: return {};
  }
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

// Expression: Assignment { "," Assignment }
TJExpr* TJParser::ParseExpression() {
  TJExpr* left = ParseAssignment();
  if (!left) return nullptr;
  while (Is(tkComma)) {
    Lexer.Next();
    left = ExprFactory.MakeBinary(ecComma, left, Required(ParseAssignment()));
  }
  return left;
}

// Assignment: Conditional [ ( "=" | compound ) Assignment ]
TJExpr* TJParser::ParseAssignment() {
  const NestingLevel level = EnterNesting();
  TJExpr* left = ParseConditional();
  if (!left || !(Is(tkAssign) || Is(tkAssignOp)) || !IsAssignable(left)) return left;
  int code = Is(tkAssign) ? ecAssign : CompoundAssignCode(Lexer.SubCode);
  Lexer.Next();
  return ExprFactory.MakeBinary(code, left, Required(ParseAssignment()));
}

// Conditional: LogicalOr [ "?" Expression ":" Conditional ]
TJExpr* TJParser::ParseConditional() {
  TJExpr* condition = ParseBinary();
  if (!condition || !Is(tkQuestion)) return condition;
  const NestingLevel level = EnterNesting();
  Lexer.Next();
  TJExpr* then_part = Required(ParseExpression());
  ExpectAndNext(tkColon);
  TJExpr* else_part = Required(ParseConditional());
  return ExprFactory.MakeTernary(ecConditional, condition, else_part, then_part);
}

// LogicalOr .. Multiplicative: Unary { op Unary }, every level left-associative:
//   LogicalOr: LogicalAnd { "||" LogicalAnd }    LogicalAnd: BitOr { "&&" BitOr }
//   BitOr, BitXor, BitAnd, Equality, Relational, Shift, Additive, Multiplicative alike.
// Read by operator precedence over two stacks, so that neither the number of levels nor
// the length of a chain costs recursion; the nodes are made in the order (and so with
// the folding) of the level-by-level reading.
TJExpr* TJParser::ParseBinary() {
  TJExpr* first = ParseUnary();
  if (!first) return nullptr;
  const size_t operand_base = operands_.size(), operator_base = operators_.size();
  operands_.push_back(first);
  auto reduce = [&] {
    const int code = operators_.back().first;
    operators_.pop_back();
    const size_t left = operands_.size() - 2;
    if (code == ecAdd && JoinsPendingText(left)) {
      operands_.pop_back();
      return;
    }
    TJExpr* right = SettledOperand(left + 1);
    operands_.pop_back();
    operands_.back() = ExprFactory.MakeBinary(code, SettledOperand(left), right);
  };
  for (;;) {
    BinaryOperator op = BinaryOperatorAt(Lexer);
    if (!op.code) break;
    // || and && keep both sides under @set @SHORT_CIRCUIT = 0.
    if ((op.code == ecOr || op.code == ecAnd) && DefineOr("SHORT_CIRCUIT", 1) == 0)
      op.code = op.code == ecOr ? ecOrAll : ecAndAll;
    while (operators_.size() > operator_base && operators_.back().second >= op.level) reduce();
    operators_.emplace_back(op.code, op.level);
    Lexer.Next();
    operands_.push_back(Required(ParseUnary()));
  }
  while (operators_.size() > operator_base) reduce();
  TJExpr* result = SettledOperand(operand_base);
  operands_.resize(operand_base);
  return result;
}

namespace {
bool IsStringConstant(const TJExpr* e) { return e->Code == ecConstant && e->Value->raw_type() == vtString; }
}  // namespace

// Folding "a" + "b" + "c" ... one sum at a time would keep every partial sum, so a chain
// of n literals would cost the square of its length. Instead the operand at `left` keeps
// a growing text while string literals are added to it, and becomes one constant when
// anything else uses it (SettledOperand). False when the operands at `left` and `left` + 1
// are not a (pending) text and a string literal.
bool TJParser::JoinsPendingText(size_t left) {
  TJExpr* right = operands_[left + 1];
  if (!IsStringConstant(right) || HasPendingText(left + 1)) return false;
  if (!HasPendingText(left)) {
    if (!IsStringConstant(operands_[left])) return false;
    pending_texts_.push_back({left, operands_[left]->Value->str()});
  }
  pending_texts_.back().text.Append(right->Value->text());
  return true;
}

bool TJParser::HasPendingText(size_t slot) const {
  return !pending_texts_.empty() && pending_texts_.back().slot == slot;
}

// The operand at `slot`, a pending text made its constant first. Pending texts sit at
// increasing slots, so the one of an operand still on the stack is the last one.
TJExpr* TJParser::SettledOperand(size_t slot) {
  if (HasPendingText(slot)) {
    operands_[slot] = ExprFactory.MakeConstant(Value::String(std::move(pending_texts_.back().text)));
    pending_texts_.pop_back();
  }
  return operands_[slot];
}

// Unary: Postfix | ( "++" | "--" | "+" | "-" | "!" | "~" ) Unary
TJExpr* TJParser::ParseUnary() {
  if (TJExpr* e = ParsePostfix()) return e;
  int code = 0;
  if (Is(tkIncDec)) code = Lexer.SubCode == '+' ? ecPreInc : ecPreDec;
  else if (Is(tkAdditive)) code = Lexer.SubCode == '+' ? ecPlus : ecMinus;
  else if (Is(tkNot)) code = Lexer.SubCode == '!' ? ecNot : ecBitNot;
  else return nullptr;
  const NestingLevel level = EnterNesting();
  Lexer.Next();
  return ExprFactory.MakeUnary(code, Required(ParseUnary()));
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
      else e = ExprFactory.MakeBinary(ecMember, e, name);
    } else if (Is(tkIncDec)) {
      e = ExprFactory.MakeUnary(Lexer.SubCode == '+' ? ecPostInc : ecPostDec, e);
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
  if (member) return ExprFactory.MakeTernary(ecMethodCall, callee, args, member);
  return ExprFactory.MakeBinary(ecCall, callee, args);
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
      return ExprFactory.MakeUnary(ecDelete, Required(ParseExpression()));
    case tkLBrace: return ParseObjectLiteral();
    case tkLBracket: {
      Lexer.Next();
      TJExpr* elements = ParseArguments();
      ExpectAndNext(tkRBracket);
      return ExprFactory.MakeUnary(ecArray, elements);
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
  return ExprFactory.MakeUnary(code, operand);
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
  return ExprFactory.MakeUnary(ecObject, list);
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
  return ExprFactory.MakeBinary(ecNew, name, args);
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
  return ExprFactory.MakeBinary(ecAssign, ExprFactory.MakeIdentifier(name->Name->view()), function);
}

// function [ Name ] "(" Parameters ")" Block, the current token being "function".
TJStatement* TJParser::ParseFunction(TJExpr** name) {
  const NestingLevel level = EnterNesting();
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
  StatementChain chain;
  for (;;) {
    Expect(tkIdentifier);
    chain.Append(StmtFactory.Make(stParam, Line(), ExprFactory.MakeIdentifier(Lexer.TokenText)));
    Lexer.Next();
    if (!Is(tkComma)) return chain.first;
    Lexer.Next();
  }
}

}  // namespace kestrin::script
