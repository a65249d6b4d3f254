// The expression half of the interpreter: operators (right operand first), variables,
// assignment and its compound forms, increments, typeof, literals and function values.
// After every evaluation of an operand the evaluator looks at failing_: an error of the
// operand (a Throw completion) ends the expression before anything else happens.
#include <cmath>

#include "base/wrap_int.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/number_text.h"
#include "script/core/operators.h"
#include "script/core/stack_guard.h"

namespace kestrin::script {
namespace {

bool IsNumber(TJValueType t) { return t == vtInteger || t == vtDouble; }
double NumberOf(const Value& v) { return v.raw_type() == vtInteger ? v.integer() : v.dbl(); }

// The integer that ++ and -- start from: doubles are truncated toward zero.
int32_t IncDecBase(const Value& v) {
  if (v.type() == vtDouble) return RoundToInt32Wrapped(std::trunc(v.dbl()));
  return ValueToInteger(v);
}

// Operators evaluated right operand first, then left: arithmetic, shifts, bitwise.
bool IsStrictBinary(int code) {
  return (code >= ecAdd && code <= ecIntDiv) || (code >= ecShl && code <= ecUShr) ||
         (code >= ecBitAnd && code <= ecBitOr);
}
bool IsShortCircuit(int code) { return code == ecOr || code == ecAnd; }
// The operators whose left-leaning chains EvalChain walks without recursion.
bool IsChainLink(int code) {
  return IsStrictBinary(code) || (code >= ecOr && code <= ecAndAll) || (code >= ecLess && code <= ecStrictNe);
}

// A left spine of more than this many links is evaluated by EvalChain; shorter ones by
// plain recursion, which costs no allocation.
constexpr int kShortChain = 32;
bool IsLongChain(const TJExpr* e) {
  for (int n = 0; n < kShortChain; ++n) {
    e = e->Left;
    if (!IsChainLink(e->Code)) return false;
  }
  return true;
}

// Relational and equality operators on two numbers, the common case of loops.
bool CompareNumbers(int code, double a, double b) {
  switch (code) {
    case ecLess: return a < b;
    case ecGreater: return a > b;
    case ecLessEq: return a <= b;
    case ecGreaterEq: return a >= b;
    case ecEq: return a == b;
    default: return a != b;  // ecNe
  }
}

}  // namespace

// The dispatcher stays small (no locals to destroy) so that the common nodes cost little;
// every other form has its own function, and those that evaluate operands check the
// stack (GuardStack) before they recurse.
Value TJEngine::Evaluate(const TJExpr* e, unsigned flags) {
  if (!e) return Value();
  switch (e->Code) {
    case ecConstant: return *e->Value;
    case ecIdentifier: return ReadVariable(e);
    case ecAdd: case ecSub: case ecDiv: case ecMul: case ecMod: case ecIntDiv:
    case ecShl: case ecShr: case ecUShr: case ecBitAnd: case ecBitXor: case ecBitOr:
      return EvalBinaryNode(e);
    case ecOrAll: case ecAndAll: case ecLess: case ecGreater: case ecLessEq: case ecGreaterEq:
    case ecEq: case ecNe: case ecStrictEq: case ecStrictNe:
      return EvalCompareNode(e);
    case ecCall: return EvalCallNode(e);
    case ecAssign: return EvalAssign(e, flags);
    case ecMethodCall: return CallMethod(e);
    default: return EvalOther(e, flags);
  }
}

Value TJEngine::EvalCallNode(const TJExpr* e) {
  GuardStack();
  Value callee = e->Left && e->Left->Code == ecIdentifier ? ReadVariable(e->Left) : Evaluate(e->Left);
  if (failing_) return callee;
  return CallOrIndex(callee, e->Right);
}

Value TJEngine::EvalOther(const TJExpr* e, unsigned flags) {
  GuardStack();
  int code = e->Code;
  switch (code) {
    case ecComma:
      Evaluate(e->Left, flags);
      if (failing_) return Value();
      return Evaluate(e->Right, flags);
    case ecOr:
    case ecAnd: {
      if (IsChainLink(e->Left->Code) && IsLongChain(e)) return EvalChain(e);
      Value l = Evaluate(e->Left);
      if (failing_ || ValueToBool(l) == (code == ecOr)) return Value::Bool(code == ecOr);
      return Value::Bool(ValueToBool(Evaluate(e->Right)));
    }
    case ecNot: return Value::Bool(!ValueToBool(Evaluate(e->Left)));
    case ecPlus:
    case ecMinus:
    case ecBitNot: {
      Value operand = Evaluate(e->Left);
      if (failing_) return operand;
      Value result;
      EvalUnaryOperator(code, operand, result);
      return result;
    }
    case ecPreInc:
    case ecPreDec:
    case ecPostInc:
    case ecPostDec: return EvalIncDec(e);
    case ecConditional: {
      Value condition = Evaluate(e->Left);
      if (failing_) return condition;
      return Evaluate(ValueToBool(condition) ? e->Right : e->Third);
    }
    case ecFunction: return MakeFunctionValue(e->Statement, ftScript);
    case ecThis: return Value::Object(current_->GetThis());
    case ecMember: {
      Value v = Evaluate(e->Left);
      if (failing_) return v;
      return GetMember(v, *e->Right->Name, flags & evDeleting);
    }
    case ecSuperMember: RaiseError(ScriptError::Super);
    case ecNew: {
      TJValueList args;
      BuildArguments(e->Right, args);
      if (failing_) return Value();
      return MakeObject(*e->Left->Name, &args);
    }
    case ecObject: return EvalObjectLiteral(e);
    case ecArray: return EvalArrayLiteral(e);
    case ecVarDecl: return Evaluate(e->Left, flags | evDeclaring);
    case ecDelete: return Evaluate(e->Left, evDeleting);
    case ecVoid:
      Evaluate(e->Left);
      return Value::Null();
    case ecTypeof: return EvalTypeof(e);
    default:
      if (code >= ecMulAssign && code <= ecOrAssign) return EvalCompound(e);
      return Value();  // empty, property pair, list
  }
}

// Binary, relational and equality operators: the right operand is evaluated first. An
// operand that is a name is read without the dispatcher, and a literal right operand is
// used where it lies (literal nodes are never written), so n - 1 copies no constant.
Value TJEngine::EvalBinaryNode(const TJExpr* e) {
  GuardStack();
  if (IsChainLink(e->Left->Code) && IsLongChain(e)) return EvalChain(e);
  auto operand = [this](const TJExpr* x) { return x && x->Code == ecIdentifier ? ReadVariable(x) : Evaluate(x); };
  if (e->Right && e->Right->Code == ecConstant) {
    Value l = operand(e->Left);
    if (failing_) return l;
    return ApplyBinary(e->Code, l, *e->Right->Value);
  }
  Value r = operand(e->Right);
  if (failing_) return r;
  Value l = operand(e->Left);
  if (failing_) return l;
  return ApplyBinary(e->Code, l, r);
}

// +, -, * and the relational operators on two numbers are computed here; every other
// operator or kind goes to EvalBinary or EvalCompare.
Value TJEngine::ApplyBinary(int code, const Value& l, const Value& r) {
  if (IsNumber(l.raw_type()) && IsNumber(r.raw_type())) {
    double a = NumberOf(l), b = NumberOf(r);
    switch (code) {
      case ecAdd: return Value::Double(a + b);
      case ecSub: return Value::Double(a - b);
      case ecMul: return Value::Double(a * b);
      case ecLess: case ecGreater: case ecLessEq: case ecGreaterEq: case ecEq: case ecNe:
        return Value::Bool(CompareNumbers(code, a, b));
      default: break;
    }
  }
  return IsStrictBinary(code) ? EvalBinary(code, l, r) : EvalCompare(code, l, r);
}

Value TJEngine::EvalCompareNode(const TJExpr* e) { return EvalBinaryNode(e); }

Value TJEngine::EvalCompare(int code, const Value& l, const Value& r) {
  if (code >= ecLess && code <= ecNe && IsNumber(l.raw_type()) && IsNumber(r.raw_type()))
    return Value::Bool(CompareNumbers(code, NumberOf(l), NumberOf(r)));
  Value result;
  EvalCompareOperator(code, l, r, result);
  return result;
}

// A left-leaning chain (a + b + c ..., a || b || c ...) as a loop over its left spine, so
// that its length costs no stack and the order is that of the recursive evaluation: on
// the way down each strict operator's right operand is evaluated (right first, as
// always), then the leftmost operand; on the way up each operator is applied, || and &&
// evaluating their right operand only when it decides the result.
Value TJEngine::EvalChain(const TJExpr* e) {
  std::vector<const TJExpr*> spine;
  std::vector<Value> rights;
  for (; IsChainLink(e->Code); e = e->Left) {
    spine.push_back(e);
    rights.push_back(IsShortCircuit(e->Code) ? Value() : Evaluate(e->Right));
    if (failing_) return Value();
  }
  Value acc = Evaluate(e);
  for (size_t i = spine.size(); i-- > 0;) {
    if (failing_) return Value();
    const TJExpr* link = spine[i];
    switch (link->Code) {
      case ecOr: acc = Value::Bool(ValueToBool(acc) || ValueToBool(Evaluate(link->Right))); break;
      case ecAnd: acc = Value::Bool(ValueToBool(acc) && ValueToBool(Evaluate(link->Right))); break;
      default:
        acc = IsStrictBinary(link->Code) ? EvalBinary(link->Code, acc, rights[i]) : EvalCompare(link->Code, acc, rights[i]);
    }
  }
  return acc;
}

Value TJEngine::EvalBinary(int code, const Value& l, const Value& r) {
  TJValueType lt = l.raw_type(), rt = r.raw_type();
  if (IsNumber(lt) && IsNumber(rt)) {
    double a = NumberOf(l), b = NumberOf(r);
    switch (code) {
      case ecAdd: return Value::Double(a + b);
      case ecSub: return Value::Double(a - b);
      case ecMul: return Value::Double(a * b);
      default: break;
    }
  }
  Value result;
  EvalBinaryOperator(code, l, r, result);
  return result;
}

// The common read stays small (no locals to destroy); a name that no slot holds is read
// by ReadVariableSlow.
Value TJEngine::ReadVariable(const TJExpr* id) {
  bool blocked = false;
  if (Value* slot = current_->LookupSlot(*id->Name, blocked, id->Hint)) return *slot;
  return ReadVariableSlow(id);
}

Value TJEngine::ReadVariableSlow(const TJExpr* id) {
  Value v;
  if (current_->GetVariable(*id->Name, v)) return v;
  return Fail(ScriptError::Undefined, {id->Name->view()});
}

void TJEngine::AssignName(const TJExpr* id, const Value& v, unsigned flags) {
  if (flags & evDeclaring) {
    current_->DefineLocal(*id->Name, v);
    return;
  }
  bool blocked = false;
  if (Value* slot = current_->LookupSlot(*id->Name, blocked, id->Hint)) {
    *slot = v;
    return;
  }
  current_->AssignVariable(*id->Name, v, 0);
}

Value TJEngine::EvalAssign(const TJExpr* e, unsigned flags) {
  GuardStack();
  const TJExpr* target = e->Left;
  const TJExpr* source = e->Right;
  if (target->Code == ecIdentifier && !(flags & evDeclaring) && source->Code == ecAdd &&
      source->Left->Code == ecIdentifier && source->Left->Name == target->Name) {
    Value result;
    if (AppendInPlace(target, source->Right, result)) return result;
  }
  Value v = Evaluate(source);
  if (failing_) return v;
  StoreTo(target, v, flags);
  return v;
}

// name = name + x and name += x on a string variable: the right operand is evaluated
// first, as always; then the text is appended to the variable's own buffer, which is
// copied only when someone else shares it. False (result computed) for other kinds.
bool TJEngine::AppendInPlace(const TJExpr* target, const TJExpr* operand, Value& result) {
  Value r = Evaluate(operand);
  if (failing_) return true;
  bool blocked = false;
  Value* slot = current_->LookupSlot(*target->Name, blocked, target->Hint);
  TJValueType rt = r.raw_type();
  if (slot && slot->raw_type() == vtString && (rt == vtString || rt == vtInteger || rt == vtDouble)) {
    if (rt == vtString) {
      if (slot->text().size() + r.text().size() > kMaxStringBytes) RaiseError(ScriptError::AppendTooLong);
      slot->AppendText(r.text());
    } else {
      std::string text = rt == vtInteger ? std::to_string(r.integer()) : DoubleToScriptText(r.dbl());
      slot->AppendText(text);
    }
    result = *slot;
    return true;
  }
  Value l = ReadVariable(target);
  if (failing_) return true;
  result = EvalBinary(ecAdd, l, r);
  AssignName(target, result, 0);
  return true;
}

void TJEngine::StoreTo(const TJExpr* target, const Value& v, unsigned flags) {
  switch (target->Code) {
    case ecIdentifier: AssignName(target, v, flags); return;
    case ecMember: {
      Value base = Evaluate(target->Left);
      if (failing_) return;
      SetMember(base, *target->Right->Name, v);
      return;
    }
    case ecCall:
    case ecMethodCall: {
      Place place = ResolvePlace(target);
      if (failing_) return;
      WritePlace(place, v);
      return;
    }
    default: {
      const TJExpr* r = target->Right;
      std::string name = r && r->Code == ecIdentifier ? r->Name->str() : std::string();
      RaiseError(ScriptError::CannotAssign, {name});
    }
  }
}

Value TJEngine::EvalCompound(const TJExpr* e) {
  const TJExpr* target = e->Left;
  if (e->Code == ecAddAssign && target->Code == ecIdentifier) {
    Value result;
    if (AppendInPlace(target, e->Right, result)) return result;
  }
  Value r = Evaluate(e->Right);
  if (failing_) return r;
  Value result;
  switch (target->Code) {
    case ecIdentifier: {
      Value old = ReadVariable(target);
      if (failing_) return old;
      EvalAssignOperator(e->Code, old, r, result);
      AssignName(target, result, 0);
      return result;
    }
    case ecMember: {
      Value base = Evaluate(target->Left);
      if (failing_) return base;
      Value old = GetMember(base, *target->Right->Name, false);
      if (failing_) return old;
      EvalAssignOperator(e->Code, old, r, result);
      SetMember(base, *target->Right->Name, result);
      return result;
    }
    case ecCall:
    case ecMethodCall: {
      Place place = ResolvePlace(target);
      if (failing_) return result;
      Value old = ReadPlace(place);
      if (failing_) return old;
      EvalAssignOperator(e->Code, old, r, result);
      WritePlace(place, result);
      return result;
    }
    default: {
      Value old = Evaluate(target);
      if (failing_) return old;
      EvalAssignOperator(e->Code, old, r, result);
      StoreTo(target, result, 0);
      return result;
    }
  }
}

Value TJEngine::EvalIncDec(const TJExpr* e) {
  const TJExpr* target = e->Left;
  bool inc = e->Code == ecPreInc || e->Code == ecPostInc;
  bool prefix = e->Code == ecPreInc || e->Code == ecPreDec;
  auto next = [inc](const Value& v) { return Value::Integer(WrapAdd(IncDecBase(v), inc ? 1 : -1)); };
  if (target->Code == ecIdentifier) {
    bool blocked = false;
    if (Value* slot = current_->LookupSlot(*target->Name, blocked, target->Hint)) {
      Value old = *slot;
      *slot = next(old);
      return prefix ? *slot : old;
    }
    Value old = ReadVariable(target);
    if (failing_) return old;
    Value n = next(old);
    AssignName(target, n, 0);
    return prefix ? n : old;
  }
  Value old;
  Value base;
  if (target->Code == ecMember) {
    base = Evaluate(target->Left);
    if (failing_) return base;
    old = GetMember(base, *target->Right->Name, false);
    if (failing_) return old;
    Value n = next(old);
    SetMember(base, *target->Right->Name, n);
    return prefix ? n : old;
  }
  if (target->Code == ecCall || target->Code == ecMethodCall) {
    Place place = ResolvePlace(target);
    if (failing_) return old;
    old = ReadPlace(place);
    if (failing_) return old;
    Value n = next(old);
    WritePlace(place, n);
    return prefix ? n : old;
  }
  old = Evaluate(target);
  if (failing_) return old;
  Value n = next(old);
  StoreTo(target, n, 0);
  return prefix ? n : old;
}

Value TJEngine::EvalTypeof(const TJExpr* e) {
  Value v;
  try {
    v = Evaluate(e->Left);
  } catch (const EJThrow& err) {
    if (err.error_name != "ENameError" && err.error_name != "EKeyError") throw;
    v = Value();
  }
  if (failing_) {
    std::string_view name = ErrorName(thrown_kind_);
    if (name != "ENameError" && name != "EKeyError") return v;
    TakeCaught();
    v = Value();
  }
  return Value::String(ValueTypeOf(v));
}

Value TJEngine::EvalObjectLiteral(const TJExpr* e) {
  std::vector<const TJExpr*> pairs;
  for (const TJExpr* list = e->Left; list && list->Code == ecList; list = list->Left) pairs.push_back(list->Right);
  auto* obj = new TJObject(this);
  Value result = Value::Object(obj);
  factory_->Register(obj);
  current_->AddTemporary(result);
  for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
    const TJExpr* pair = *it;
    const TJExpr* key = pair->Left;
    StrRef name = key->Code == ecIdentifier ? *key->Name : ValueToString(key->Value ? *key->Value : Value());
    Value v = Evaluate(pair->Right);
    if (failing_) return v;
    obj->SetValue(name, v);
  }
  return result;
}

Value TJEngine::EvalArrayLiteral(const TJExpr* e) {
  TJValueList items;
  BuildArguments(e->Left, items);
  if (failing_) return Value();
  return NewArray(items);
}

}  // namespace kestrin::script
