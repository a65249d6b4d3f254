// The syntax tree: expression and statement nodes, and the two factories that own them
// (arena-allocated per parser) and fold constant operands while the tree is built.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/core/value.h"

namespace kestrin::script {

// Expression codes.
enum ExprCode : int {
  ecEmpty = 0, ecComma = 1, ecAdd = 2, ecSub = 3, ecDiv = 4, ecMul = 5, ecMod = 6,
  ecIntDiv = 7, ecAssign = 8,
  ecMulAssign = 9, ecDivAssign = 10, ecAddAssign = 11, ecSubAssign = 12, ecModAssign = 13,
  ecShlAssign = 14, ecShrAssign = 15, ecUShrAssign = 16, ecAndAssign = 17, ecXorAssign = 18,
  ecOrAssign = 19,
  ecConstant = 20, ecIdentifier = 21, ecPlus = 22, ecMinus = 23, ecThis = 24, ecMember = 25,
  ecProperty = 26, ecSuperMember = 27, ecNew = 28, ecObject = 29, ecArray = 30, ecCall = 31,
  ecList = 32, ecPreInc = 33, ecPreDec = 34, ecPostInc = 35, ecPostDec = 36, ecDelete = 37,
  ecVoid = 38, ecTypeof = 39, ecNot = 40, ecOr = 41, ecOrAll = 42, ecAnd = 43, ecAndAll = 44,
  ecShl = 45, ecShr = 46, ecUShr = 47, ecLess = 48, ecGreater = 49, ecLessEq = 50,
  ecGreaterEq = 51, ecEq = 52, ecNe = 53, ecStrictEq = 54, ecStrictNe = 55, ecBitAnd = 56,
  ecBitXor = 57, ecBitOr = 58, ecBitNot = 59, ecConditional = 60, ecFunction = 61,
  ecMethodCall = 62, ecVarDecl = 63,
};

// Statement types.
enum StatementType : int {
  stEmpty = 0, stModule = 1, stBlock = 2, stExpr = 3, stIf = 4, stWhile = 5, stDo = 6,
  stFor = 7, stForIn = 8, stForInValues = 9, stFunction = 10, stParam = 11, stClass = 12,
  stDeclItem = 13, stBreak = 14, stContinue = 15, stReturn = 16, stTry = 17, stCatch = 18,
  stFinally = 19, stThrow = 20, stWith = 21, stVar = 22, stCase = 23, stSwitch = 24,
  stStatic = 25, stGlobal = 26,
};

struct TJStatement;

// An expression node: 32 bytes in its factory's arena, never freed one by one. Leaves
// are shared: every use of a name is one identifier node, every equal number, string,
// Boolean or null literal one constant node (a node whose Left is set, a declared name or
// a class name, is made on its own).
struct TJExpr {
  uint8_t Code = ecEmpty;
  // Identifiers (21): the entry index at which a large scope table last held the name;
  // a guess that a look-up checks before it uses it (in the padding after Code).
  mutable uint32_t Hint = 0;
  TJExpr* Left = nullptr;
  TJExpr* Right = nullptr;
  // By code: Third (60, 62), Value (20, owned by the factory), Name (21, the interned
  // name as a counted string), Statement (61); read only for those codes.
  union {
    TJExpr* Third = nullptr;
    script::Value* Value;
    const StrRef* Name;
    TJStatement* Statement;
  };
};
static_assert(sizeof(TJExpr) == 32 || sizeof(void*) != 8, "expression nodes stay 32 bytes");

// The statement types that hold nested statements (Sub1 to Sub3); the others (empty,
// expression, parameter, declaration item, break, continue, return, throw) are made as
// 24-byte records without them.
constexpr bool HasSubStatements(int type) {
  return !(type == stEmpty || type == stExpr || type == stParam || type == stDeclItem ||
           (type >= stBreak && type <= stReturn) || type == stThrow);
}

struct TJStatement {
  uint8_t Type = stEmpty;
  int Line = 0;
  TJExpr* Expr = nullptr;
  TJStatement* Next = nullptr;
  // Nested statements by type; nil for the types that hold none.
  TJStatement* Sub1() const { return Sub(0); }
  TJStatement* Sub2() const { return Sub(1); }
  TJStatement* Sub3() const { return Sub(2); }
  TJStatement* Sub(int i) const;
};

// A statement of a type that holds nested statements.
struct TJNestingStatement : TJStatement {
  TJStatement* subs[3] = {};
};

inline TJStatement* TJStatement::Sub(int i) const {
  return HasSubStatements(Type) ? static_cast<const TJNestingStatement*>(this)->subs[i] : nullptr;
}

// Bump allocator for trivially destructible nodes; everything is released at once.
class NodeArena {
public:
  template <class T>
  T* New() {
    static_assert(std::is_trivially_destructible_v<T>);
    return new (Allocate(sizeof(T), alignof(T))) T();
  }
  void Clear();

private:
  void* Allocate(size_t size, size_t align);
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;
  size_t capacity_ = 0;
};

class TJExprFactory {
public:
  void Clear();

  // Operator nodes; constant operands are folded (may raise the operators' script errors).
  TJExpr* MakeUnary(int code, TJExpr* operand);
  TJExpr* MakeBinary(int code, TJExpr* left, TJExpr* right);
  // Stores a in Left, b in Third and c in Right.
  TJExpr* MakeTernary(int code, TJExpr* a, TJExpr* b, TJExpr* c);

  TJExpr* MakeConstant(const script::Value& value);
  TJExpr* MakeInteger(int32_t i);
  TJExpr* MakeDouble(double d);
  TJExpr* MakeString(std::string_view s);
  TJExpr* MakeBool(bool b);
  TJExpr* MakeNull();
  TJExpr* MakeNaN();
  // Text: the pattern, a NUL character and the flags (at most seven are kept).
  TJExpr* MakeRegExp(std::string_view text);
  // The shared node of a name.
  TJExpr* MakeIdentifier(std::string_view name);
  // A node of its own for a name that carries a Left operand (declarations, class names).
  TJExpr* MakeNamed(const TJExpr* identifier, TJExpr* left);
  TJExpr* MakeThis();
  TJExpr* MakeSuperMember(TJExpr* name);
  TJExpr* MakePair(TJExpr* key, TJExpr* value);
  TJExpr* MakeList(TJExpr* prev, TJExpr* item);
  TJExpr* MakeFunction(TJStatement* statement);
  TJExpr* MakeEmpty();

private:
  TJExpr* NewNode(int code, TJExpr* left = nullptr, TJExpr* right = nullptr);
  // A constant node of its own (folding results replace their operands by one).
  TJExpr* NewConstant(const script::Value& value);
  NodeArena arena_;
  std::deque<script::Value> values_;
  std::deque<StrRef> atom_store_;
  struct Atom {
    const StrRef* name;
    TJExpr* node;  // the shared identifier node
  };
  std::unordered_map<std::string_view, Atom> atoms_;
  // Shared constant nodes: integers and doubles by bits, strings by their bytes.
  std::unordered_map<uint64_t, TJExpr*> numbers_;
  std::unordered_map<std::string_view, TJExpr*> strings_;
  TJExpr* true_ = nullptr;
  TJExpr* false_ = nullptr;
  TJExpr* null_ = nullptr;
};

// A statement sequence as it is read: Append links a statement (or a chain of them)
// after the last one.
struct StatementChain {
  TJStatement* first = nullptr;
  TJStatement* last = nullptr;
  void Append(TJStatement* s) {
    if (!s) return;
    if (last) last->Next = s;
    else first = s;
    for (last = s; last->Next;) last = last->Next;
  }
};

// The stack of open module, function and class statements kept by the parser.
using NestingStack = std::vector<TJStatement*>;

class TJStatementFactory {
public:
  explicit TJStatementFactory(TJExprFactory& exprs) : exprs_(exprs) {}
  void Clear() { arena_.Clear(); }

  TJStatement* Make(int type, int line, TJExpr* expr = nullptr, TJStatement* sub1 = nullptr,
                    TJStatement* sub2 = nullptr, TJStatement* sub3 = nullptr);
  // for (init; condition; step): Sub2 holds the condition, Sub2.Next the step.
  TJStatement* MakeFor(int line, TJExpr* init, TJExpr* condition, TJExpr* step, TJStatement* body);
  // for (variable in collection): Sub2 holds the collection; type 8 or 9.
  TJStatement* MakeForIn(int line, int type, TJExpr* variable, TJExpr* collection, TJStatement* body);
  // Kind 0 global (26), 1 var (22), 2 static (25).
  TJStatement* MakeDeclaration(int line, int kind, TJStatement* first_item);

  static void Link(TJStatement* a, TJStatement* b);
  // Sets nested statement i (0 to 2) of a statement whose type holds them.
  static void SetSub(TJStatement* s, int i, TJStatement* sub);
  static TJStatement* LastOf(TJStatement* s);

  TJStatement* BeginModule(NestingStack& stack, TJExpr* name);
  TJStatement* EndModule(NestingStack& stack, TJStatement* first);
  TJStatement* BeginFunction(NestingStack& stack, int line);
  // Adds the implicit return (line -1, empty expression) after the body.
  TJStatement* EndFunction(NestingStack& stack, TJExpr* name, TJStatement* body, TJStatement* params);
  TJStatement* BeginClass(NestingStack& stack, int line);
  TJStatement* EndClass(NestingStack& stack, TJExpr* name, TJStatement* members, TJExpr* base);

private:
  TJExprFactory& exprs_;
  NodeArena arena_;
};

}  // namespace kestrin::script
