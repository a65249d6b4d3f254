// Syntax tree factories: arena allocation, leaf makers and constant folding.
#include "script/core/ast.h"

#include <cstring>

#include <algorithm>

#include "script/core/operators.h"

namespace kestrin::script {
namespace {

constexpr size_t kBlockSize = 16 * 1024;

bool FoldsAsBinary(int code) {
  return (code >= ecAdd && code <= ecIntDiv) || (code >= ecShl && code <= ecUShr) ||
         (code >= ecBitAnd && code <= ecBitOr);
}
bool FoldsAsComparison(int code) {
  return (code >= ecOr && code <= ecAndAll) || (code >= ecLess && code <= ecStrictNe);
}
bool FoldsAsUnary(int code) { return code == ecPlus || code == ecMinus || code == ecBitNot; }

}  // namespace

void NodeArena::Clear() {
  blocks_.clear();
  used_ = capacity_ = 0;
}

void* NodeArena::Allocate(size_t size, size_t align) {
  size_t start = (used_ + align - 1) & ~(align - 1);
  if (blocks_.empty() || start + size > capacity_) {
    capacity_ = std::max(kBlockSize, size);
    blocks_.push_back(std::make_unique<char[]>(capacity_));
    start = 0;
  }
  used_ = start + size;
  return blocks_.back().get() + start;
}

void TJExprFactory::Clear() {
  arena_.Clear();
  numbers_.clear();
  strings_.clear();
  true_ = false_ = null_ = nullptr;
  values_.clear();
  atoms_.clear();
  atom_store_.clear();
}

TJExpr* TJExprFactory::NewNode(int code, TJExpr* left, TJExpr* right) {
  TJExpr* e = arena_.New<TJExpr>();
  e->Code = static_cast<uint8_t>(code);
  e->Left = left;
  e->Right = right;
  return e;
}

TJExpr* TJExprFactory::MakeUnary(int code, TJExpr* operand) {
  if (FoldsAsUnary(code) && operand && operand->Code == ecConstant) {
    script::Value result;
    EvalUnaryOperator(code, *operand->Value, result);
    return MakeConstant(result);
  }
  return NewNode(code, operand);
}

TJExpr* TJExprFactory::MakeBinary(int code, TJExpr* left, TJExpr* right) {
  if (left && right && left->Code == ecConstant && right->Code == ecConstant) {
    script::Value result;
    if (FoldsAsBinary(code)) {
      EvalBinaryOperator(code, *left->Value, *right->Value, result);
      return MakeConstant(result);
    }
    if (FoldsAsComparison(code)) {
      EvalCompareOperator(code, *left->Value, *right->Value, result);
      return MakeConstant(result);
    }
  }
  return NewNode(code, left, right);
}

TJExpr* TJExprFactory::MakeTernary(int code, TJExpr* a, TJExpr* b, TJExpr* c) {
  TJExpr* e = NewNode(code, a, c);
  e->Third = b;
  return e;
}

TJExpr* TJExprFactory::NewConstant(const script::Value& value) {
  TJExpr* e = NewNode(ecConstant);
  values_.push_back(value);
  e->Value = &values_.back();
  return e;
}

// Constants are values that the interpreter copies out and never changes in place, so
// equal literals share one node.
TJExpr* TJExprFactory::MakeConstant(const script::Value& value) {
  auto shared = [&](TJExpr*& slot) -> TJExpr* {
    if (!slot) slot = NewConstant(value);
    return slot;
  };
  switch (value.raw_type()) {
    case vtInteger: return shared(numbers_[static_cast<uint32_t>(value.integer())]);
    case vtDouble: {
      uint64_t bits;
      double d = value.dbl();
      std::memcpy(&bits, &d, sizeof bits);
      // Doubles whose bits look like a small integer key would collide: keep them apart.
      if (bits <= 0xFFFFFFFFu) return NewConstant(value);
      return shared(numbers_[bits]);
    }
    case vtString: {
      auto it = strings_.find(value.text());
      if (it != strings_.end()) return it->second;
      TJExpr* e = NewConstant(value);
      strings_.emplace(e->Value->text(), e);
      return e;
    }
    case vtBool: return shared(value.boolean() ? true_ : false_);
    case vtNull: return shared(null_);
    default: return NewConstant(value);
  }
}

TJExpr* TJExprFactory::MakeInteger(int32_t i) { return MakeConstant(script::Value::Integer(i)); }
TJExpr* TJExprFactory::MakeDouble(double d) { return MakeConstant(script::Value::Double(d)); }
TJExpr* TJExprFactory::MakeString(std::string_view s) { return MakeConstant(script::Value::String(StrRef(s))); }
TJExpr* TJExprFactory::MakeBool(bool b) { return MakeConstant(script::Value::Bool(b)); }
TJExpr* TJExprFactory::MakeNull() { return MakeConstant(script::Value::Null()); }
TJExpr* TJExprFactory::MakeNaN() { return MakeConstant(script::Value::NaN()); }

TJExpr* TJExprFactory::MakeRegExp(std::string_view text) {
  size_t nul = text.find('\0');
  std::string_view pattern = text.substr(0, nul);
  std::string_view flags = nul == std::string_view::npos ? std::string_view() : text.substr(nul + 1);
  return MakeConstant(script::Value::RegExp(StrRef(pattern), flags.substr(0, 7)));
}

TJExpr* TJExprFactory::MakeIdentifier(std::string_view name) {
  auto it = atoms_.find(name);
  if (it == atoms_.end()) {
    const StrRef& atom = atom_store_.emplace_back(name);
    atom.Hash();  // computed once, cached in the string
    TJExpr* e = NewNode(ecIdentifier);
    e->Name = &atom;
    it = atoms_.emplace(atom.view(), Atom{&atom, e}).first;
  }
  return it->second.node;
}

TJExpr* TJExprFactory::MakeNamed(const TJExpr* identifier, TJExpr* left) {
  TJExpr* e = NewNode(ecIdentifier, left);
  e->Name = identifier->Name;
  return e;
}

TJExpr* TJExprFactory::MakeThis() { return NewNode(ecThis); }
TJExpr* TJExprFactory::MakeSuperMember(TJExpr* name) { return NewNode(ecSuperMember, nullptr, name); }
TJExpr* TJExprFactory::MakePair(TJExpr* key, TJExpr* value) { return NewNode(ecProperty, key, value); }
TJExpr* TJExprFactory::MakeEmpty() { return NewNode(ecEmpty); }

// A list grows to the left: the parent points at the last link.
TJExpr* TJExprFactory::MakeList(TJExpr* prev, TJExpr* item) { return NewNode(ecList, prev, item); }

TJExpr* TJExprFactory::MakeFunction(TJStatement* statement) {
  TJExpr* e = NewNode(ecFunction);
  e->Statement = statement;
  return e;
}

TJStatement* TJStatementFactory::Make(int type, int line, TJExpr* expr, TJStatement* sub1,
                                      TJStatement* sub2, TJStatement* sub3) {
  TJStatement* s = HasSubStatements(type) ? arena_.New<TJNestingStatement>() : arena_.New<TJStatement>();
  s->Type = static_cast<uint8_t>(type);
  s->Line = line;
  s->Expr = expr;
  if (HasSubStatements(type)) {
    SetSub(s, 0, sub1);
    SetSub(s, 1, sub2);
    SetSub(s, 2, sub3);
  }
  return s;
}

void TJStatementFactory::SetSub(TJStatement* s, int i, TJStatement* sub) {
  static_cast<TJNestingStatement*>(s)->subs[i] = sub;
}

TJStatement* TJStatementFactory::MakeFor(int line, TJExpr* init, TJExpr* condition, TJExpr* step,
                                         TJStatement* body) {
  TJStatement* cond_holder = Make(stEmpty, line, condition);
  Link(cond_holder, Make(stEmpty, line, step));
  return Make(stFor, line, init, body, cond_holder);
}

TJStatement* TJStatementFactory::MakeForIn(int line, int type, TJExpr* variable,
                                           TJExpr* collection, TJStatement* body) {
  return Make(type, line, variable, body, Make(stEmpty, line, collection));
}

TJStatement* TJStatementFactory::MakeDeclaration(int line, int kind, TJStatement* first_item) {
  static constexpr int kTypes[] = {stGlobal, stVar, stStatic};
  return Make(kTypes[kind], line, nullptr, first_item);
}

void TJStatementFactory::Link(TJStatement* a, TJStatement* b) {
  if (a) a->Next = b;
}

TJStatement* TJStatementFactory::LastOf(TJStatement* s) {
  while (s && s->Next) s = s->Next;
  return s;
}

TJStatement* TJStatementFactory::BeginModule(NestingStack& stack, TJExpr* name) {
  TJStatement* s = Make(stModule, 1, name);
  stack.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::EndModule(NestingStack& stack, TJStatement* first) {
  TJStatement* s = stack.back();
  stack.pop_back();
  SetSub(s, 0, first);
  return s;
}

TJStatement* TJStatementFactory::BeginFunction(NestingStack& stack, int line) {
  TJStatement* s = Make(stFunction, line, nullptr, nullptr, nullptr, stack.empty() ? nullptr : stack.back());
  stack.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::EndFunction(NestingStack& stack, TJExpr* name, TJStatement* body,
                                             TJStatement* params) {
  TJStatement* s = stack.back();
  stack.pop_back();
  s->Expr = name;
  SetSub(s, 0, params);
  SetSub(s, 1, body);
  TJStatement* implicit_return = Make(stReturn, -1, exprs_.MakeEmpty());
  if (body) {
    Link(LastOf(body), implicit_return);
  } else {
    SetSub(s, 1, implicit_return);
  }
  return s;
}

TJStatement* TJStatementFactory::BeginClass(NestingStack& stack, int line) {
  TJStatement* s = Make(stClass, line, nullptr, nullptr, nullptr, stack.empty() ? nullptr : stack.back());
  stack.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::EndClass(NestingStack& stack, TJExpr* name, TJStatement* members,
                                          TJExpr* base) {
  TJStatement* s = stack.back();
  stack.pop_back();
  s->Expr = name && base ? exprs_.MakeNamed(name, base) : name;
  SetSub(s, 0, members);
  return s;
}

}  // namespace kestrin::script
